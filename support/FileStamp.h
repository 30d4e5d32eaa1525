// FileStamp.h: what a file looked like on disk when it was last read or
// written (device, inode, size, modification time to the nanosecond), so a
// later look can tell whether something else changed or removed it since.
//
//   FileStamp loaded = StampOf("model.dsm");
//   ...
//   switch (CompareWithDisk(loaded, "model.dsm")) {
//     case DiskState::kChanged: ask the user; break;
//     case DiskState::kRemoved: the text is the only copy now; break;
//     case DiskState::kSame: break;
//   }
//
// A stamp that must describe the bytes that were read or written is taken
// from the open descriptor (StampOfStat on its fstat), never by name again:
// the name may meanwhile name another file.
#pragma once

#include <sys/stat.h>
#include <sys/types.h>

#include <ctime>

struct FileStamp {
  bool exists = false;
  dev_t dev = 0;
  ino_t ino = 0;
  off_t size = 0;
  timespec mtime{};
};

enum class DiskState { kSame, kChanged, kRemoved };

// The stamp of the file path names (links followed); exists is false when
// there is none.
FileStamp StampOf(const char* path);

// The stamp of the file st describes (from fstat of an open descriptor).
FileStamp StampOfStat(const struct stat& st);

// kSame when stamp does not exist (nothing is known to compare with) or
// when path still shows it; kRemoved when path names no file now.
DiskState CompareWithDisk(const FileStamp& stamp, const char* path);

// True when a and b name the same file (same device and inode).
bool SameFile(const char* a, const char* b);
