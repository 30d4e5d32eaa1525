// FileStamp: stat-based stamps of files on disk.
#include "support/FileStamp.h"

#include <sys/stat.h>

FileStamp StampOf(const char* path) {
  struct stat st;
  if (!path || ::stat(path, &st) != 0) return FileStamp();
  return StampOfStat(st);
}

FileStamp StampOfStat(const struct stat& st) {
  FileStamp s;
  s.exists = true;
  s.dev = st.st_dev;
  s.ino = st.st_ino;
  s.size = st.st_size;
  s.mtime = st.st_mtim;
  return s;
}

DiskState CompareWithDisk(const FileStamp& stamp, const char* path) {
  if (!stamp.exists) return DiskState::kSame;
  FileStamp now = StampOf(path);
  if (!now.exists) return DiskState::kRemoved;
  // A safe save elsewhere renames a new file into place (new inode, maybe
  // the same size and second); a rewrite in place keeps the inode but not
  // the nanoseconds.
  bool same = now.dev == stamp.dev && now.ino == stamp.ino && now.size == stamp.size &&
              now.mtime.tv_sec == stamp.mtime.tv_sec && now.mtime.tv_nsec == stamp.mtime.tv_nsec;
  return same ? DiskState::kSame : DiskState::kChanged;
}

bool SameFile(const char* a, const char* b) {
  FileStamp sa = StampOf(a), sb = StampOf(b);
  return sa.exists && sb.exists && sa.dev == sb.dev && sa.ino == sb.ino;
}
