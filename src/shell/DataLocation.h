#pragma once

#include <QString>
#include <QStringList>

namespace tessaro {

// The files the game ships and reads from its working directory.
QStringList ShippedFileNames();

// Where shipped files may lie, in the order they are looked for.
QStringList ShippedDataCandidates();

// Where the shipped files are found: the first candidate that holds them.
QString ShippedDataDirectory();

// Makes the working directory one that holds the puzzle files: the current one when it has them,
// otherwise the per-user data folder, created and seeded with the shipped files that are missing
// there. Returns the directory chosen.
QString EnterWorkingDirectory();

}  // namespace tessaro
