#pragma once

#include <QString>
#include <QStringList>

namespace tessaro {

// Names the application; the name picks the per-user data folder. No display name is set: the
// platform would append it to every window title.
void NameApplication();

// The files the game ships and reads from its working directory.
QStringList ShippedFileNames();

// Where shipped files may lie, in the order they are looked for.
QStringList ShippedDataCandidates();

// Where the shipped files are found: the first candidate that holds them.
QString ShippedDataDirectory();

// Makes the working directory one that holds the puzzle files: the current one when it has them,
// otherwise the per-user data folder ($XDG_DATA_HOME when it is absolute, else ~/.local/share),
// created and seeded with the shipped files that are missing there. When there is no usable
// folder the current one stays and `problem` gets a German text saying where the game cannot
// write. Returns the directory chosen.
QString EnterWorkingDirectory(QString* problem = nullptr);

}  // namespace tessaro
