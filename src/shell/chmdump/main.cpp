// tessaro-chm: writes every page and image of a help archive to stdout.
//
// chmlib crashes or loops on damaged archives, so the game never opens one itself: it runs this
// program with a time limit and reads the result. Output, per file: name length (4 bytes, little
// endian), name, data length (8 bytes, little endian), data. Exit status 0 only when complete.
#include <chm_lib.h>

// No C++ library: the game starts this program each time the help opens, and every library
// loaded adds to that.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sys/resource.h>
#include <sys/stat.h>

namespace {

constexpr std::uint64_t kMaxObject = 16u << 20;
constexpr std::uint64_t kMaxTotal = 64u << 20;

struct Dump {
    chmFile* file = nullptr;
    std::uint64_t total = 0;
    bool failed = false;
};

void Put(std::uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) std::putchar(static_cast<int>((value >> (8 * i)) & 0xFF));
}

int Emit(chmFile* file, chmUnitInfo* info, void* context) {
    auto& dump = *static_cast<Dump*>(context);
    if (info->length > kMaxObject || dump.total + info->length > kMaxTotal) {
        dump.failed = true;
        return CHM_ENUMERATOR_FAILURE;
    }
    const auto size = static_cast<std::size_t>(info->length);
    auto* data = static_cast<unsigned char*>(std::malloc(size + 1));
    if (data == nullptr) {
        dump.failed = true;
        return CHM_ENUMERATOR_FAILURE;
    }
    // An unreadable file is left out.
    if (size == 0 || chm_retrieve_object(file, info, data, 0, static_cast<LONGINT64>(size)) == static_cast<LONGINT64>(size)) {
        const std::size_t nameLength = std::strlen(info->path);
        dump.total += size;
        Put(nameLength, 4);
        std::fwrite(info->path, 1, nameLength, stdout);
        Put(size, 8);
        std::fwrite(data, 1, size, stdout);
    }
    std::free(data);
    return CHM_ENUMERATOR_CONTINUE;
}

void Limit(int resource, rlim_t value) {
    const rlimit limit{value, value};
    setrlimit(resource, &limit);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    // Only a regular file: a FIFO would block chm_open.
    struct stat st {};
    if (stat(argv[1], &st) != 0 || !S_ISREG(st.st_mode)) return 3;
    // A damaged archive can claim huge sizes or loop; the game waits only briefly anyway.
    Limit(RLIMIT_AS, rlim_t{1} << 30);
    Limit(RLIMIT_CPU, 2);
    Dump dump;
    dump.file = chm_open(argv[1]);
    if (dump.file == nullptr) return 4;
    const int ok = chm_enumerate(dump.file, CHM_ENUMERATE_NORMAL | CHM_ENUMERATE_FILES, Emit, &dump);
    chm_close(dump.file);
    if (ok == 0 || dump.failed || std::fflush(stdout) != 0 || std::ferror(stdout)) return 5;
    return 0;
}
