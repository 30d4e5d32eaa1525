// SafeSave: temporary file, fsync, rename; a guarded rewrite in place for
// hard links and for files in folders the user may not write.
#include "support/SafeSave.h"

#include <cerrno>
#include <cstdlib>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string DirOf(const std::string& path) {
  size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

std::string BaseOf(const std::string& path) {
  size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Writes all bytes at offset; false with errno set when it cannot.
bool WriteAllAt(int fd, const char* data, size_t length, off_t offset) {
  while (length > 0) {
    ssize_t n = ::pwrite(fd, data, length, offset);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      if (n == 0) errno = EIO;
      return false;
    }
    data += n;
    length -= size_t(n);
    offset += n;
  }
  return true;
}

bool ReadAllAt(int fd, std::string& out, size_t length) {
  out.resize(length);
  size_t got = 0;
  while (got < length) {
    ssize_t n = ::pread(fd, out.data() + got, length - got, off_t(got));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    got += size_t(n);
  }
  return true;
}

// Makes the rename itself durable; a failure here loses nothing already
// written, so it is not reported.
void SyncDir(const std::string& dir) {
  int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

mode_t NewFileMode() {
  mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

struct InPlace {
  bool ok = false;
  int error = 0;
  bool damaged = false;  // the old content could not be put back
};

// Rewrites the file itself, so every hard link keeps seeing it. The old
// bytes are kept in memory until the new ones are on disk.
InPlace RewriteInPlace(const std::string& target, const char* data, size_t length) {
  InPlace r;
  int fd = ::open(target.c_str(), O_RDWR | O_CLOEXEC);
  bool readable = fd >= 0;
  if (fd < 0 && errno == EACCES) fd = ::open(target.c_str(), O_WRONLY | O_CLOEXEC);
  struct stat st;
  if (fd < 0 || ::fstat(fd, &st) != 0) {
    r.error = errno;
    if (fd >= 0) ::close(fd);
    return r;
  }
  std::string old;
  bool haveOld = readable && ReadAllAt(fd, old, size_t(st.st_size));
  // Reserving the new length first makes a full disk or a size limit fail
  // here, before a byte of the file has changed.
  if (length > 0) {
    int e = ::posix_fallocate(fd, 0, off_t(length));
    if (e != 0) {
      struct stat now;
      if (::fstat(fd, &now) == 0 && now.st_size != st.st_size) (void)::ftruncate(fd, st.st_size);
      ::close(fd);
      r.error = e;
      return r;
    }
  }
  if (WriteAllAt(fd, data, length, 0) && ::ftruncate(fd, off_t(length)) == 0 && ::fsync(fd) == 0) {
    r.ok = ::close(fd) == 0;
    if (!r.ok) {
      r.error = errno;
      r.damaged = true;  // what reached the disk is not known
    }
    return r;
  }
  r.error = errno;
  bool restored = haveOld && WriteAllAt(fd, old.data(), old.size(), 0);
  // The old length comes back even when its bytes could not.
  restored = ::ftruncate(fd, st.st_size) == 0 && restored;
  r.damaged = !(restored && ::fsync(fd) == 0);
  ::close(fd);
  return r;
}

SaveResult Failed(int error) {
  SaveResult r;
  r.error = error;
  return r;
}

}  // namespace

std::string ResolveLinks(const std::string& path) {
  std::string current = path;
  for (int hops = 0; hops < 40; ++hops) {
    struct stat st;
    if (::lstat(current.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return current;
    std::vector<char> buf(size_t(st.st_size > 0 ? st.st_size : 255) + 1);
    ssize_t n = ::readlink(current.c_str(), buf.data(), buf.size());
    if (n < 0 || size_t(n) >= buf.size()) return {};
    std::string target(buf.data(), size_t(n));
    current = target[0] == '/' ? target : DirOf(current) + "/" + target;
  }
  return {};
}

SaveResult SafeSave(const char* path, const char* data, size_t length) {
  if (!path || !*path || (!data && length > 0)) return Failed(EINVAL);
  std::string target = ResolveLinks(path);
  if (target.empty()) return Failed(ELOOP);
  struct stat old;
  bool exists = ::stat(target.c_str(), &old) == 0;
  if (!exists && errno != ENOENT) return Failed(errno);
  if (exists && S_ISDIR(old.st_mode)) return Failed(EISDIR);
  if (exists && !S_ISREG(old.st_mode)) return Failed(EINVAL);
  // A rename needs only the folder's permission; a file the user may not
  // write stays protected, as an ordinary open for writing would keep it.
  if (exists && ::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0) return Failed(errno);
  std::string dir = DirOf(target);
  // The temporary name adds 8 bytes; a name already near the system's
  // limit takes a short one instead, or the save could never succeed.
  std::string base = BaseOf(target);
  std::string temp = dir + "/." + (base.size() > 200 ? std::string("xkest") : base) + ".XXXXXX";
  int fd = ::mkostemp(temp.data(), O_CLOEXEC);
  if (fd < 0) {
    int e = errno;
    // A folder the user may not write can still hold a file the user may.
    if (exists && (e == EACCES || e == EPERM)) {
      InPlace p = RewriteInPlace(target, data, length);
      SaveResult r;
      r.ok = p.ok;
      r.error = p.error;
      return r;
    }
    return Failed(e);
  }
  bool ok = WriteAllAt(fd, data, length, 0);
  // Another user's writable file keeps its owner: only root may give the
  // new copy away, so anyone else rewrites it in place (in a sticky folder
  // such as /tmp the rename would be refused anyway).
  bool ownerLost = false;
  if (ok) {
    if (exists) {
      ::fchmod(fd, old.st_mode & 07777);
      if (old.st_uid != ::geteuid() || old.st_gid != ::getegid())
        if (::fchown(fd, old.st_uid, old.st_gid) != 0) {
          ownerLost = old.st_uid != ::geteuid();
          (void)::fchown(fd, uid_t(-1), old.st_gid);
        }
    } else {
      ::fchmod(fd, NewFileMode());
    }
    ok = ::fsync(fd) == 0;
  }
  int e = errno;
  if (::close(fd) != 0 && ok) {
    ok = false;
    e = errno;
  }
  if (!ok) {
    ::unlink(temp.c_str());
    return Failed(e);
  }
  if (exists && (old.st_nlink > 1 || ownerLost)) {
    // Renaming would split the links (or give the file away); the synced
    // temporary copy guards the content while the file is rewritten, and
    // stays only when the file could not be brought back.
    InPlace p = RewriteInPlace(target, data, length);
    SaveResult r;
    r.ok = p.ok;
    r.error = p.error;
    if (p.damaged) r.keptCopy = temp;
    else ::unlink(temp.c_str());
    return r;
  }
  if (::rename(temp.c_str(), target.c_str()) != 0) {
    e = errno;
    ::unlink(temp.c_str());
    return Failed(e);
  }
  SyncDir(dir);
  SaveResult r;
  r.ok = true;
  return r;
}

void SafeWriteWholeFile(const char* path, const char* data, size_t length, int& status) {
  status = SafeSave(path, data, length).ok ? 1 : 0;
}
