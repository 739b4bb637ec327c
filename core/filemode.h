#pragma once
// Whether a file's permission bits let the user write it. Root is treated as any user here:
// a file its owner made read-only stays read-only for root too, as every saver promises.

#include <sys/stat.h>

// Permission bits in the "other" position: write, and write and search (a folder).
constexpr mode_t MayWrite = 2, MayWriteAndSearch = 3;

// Whether the bits of st grant the user what, as its owner, in its group or as anyone.
bool ModeAllows(const struct stat& st, mode_t what);
