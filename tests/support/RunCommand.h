#pragma once

// Runs a command line through the shell and keeps what it wrote.

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace tessaro {

struct CommandResult {
    int status = -1;  // the exit status, -1 when a signal ended it
    std::string out;
    std::string err;
};

// Standard output and error go to files in folder (which must exist).
inline CommandResult RunCommand(const std::string& command, const std::filesystem::path& folder) {
    const std::filesystem::path out = folder / "stdout.txt";
    const std::filesystem::path err = folder / "stderr.txt";
    const int status = std::system((command + " >'" + out.string() + "' 2>'" + err.string() + "'").c_str());
    const auto read = [](const std::filesystem::path& path) {
        std::ifstream in(path);
        return std::string{std::istreambuf_iterator<char>(in), {}};
    };
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, read(out), read(err)};
}

}  // namespace tessaro
