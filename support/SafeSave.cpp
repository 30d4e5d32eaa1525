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

SaveResult FromInPlace(const InPlace& p) {
  SaveResult r;
  r.ok = p.ok;
  r.error = p.error;
  return r;
}

// The file a save replaces, as found before a byte is written.
struct Target {
  std::string path;  // after following symbolic links
  bool exists = false;
  struct stat old {};
};

// Finds the target of path; 0, or the errno value that refuses the save.
int CheckTarget(const char* path, Target& t) {
  t.path = ResolveLinks(path);
  if (t.path.empty()) return ELOOP;
  t.exists = ::stat(t.path.c_str(), &t.old) == 0;
  if (!t.exists && errno != ENOENT) return errno;
  if (t.exists && S_ISDIR(t.old.st_mode)) return EISDIR;
  if (t.exists && !S_ISREG(t.old.st_mode)) return EINVAL;
  // A rename needs only the folder's permission; a file the user may not
  // write stays protected, as an ordinary open for writing would keep it.
  if (t.exists && ::faccessat(AT_FDCWD, t.path.c_str(), W_OK, AT_EACCESS) != 0) return errno;
  return 0;
}

// Creates the temporary file beside target and names it in temp; -1 with
// errno set when the folder refuses one.
int MakeTemporary(const std::string& target, std::string& temp) {
  // The temporary name adds 8 bytes; a name already near the system's
  // limit takes a short one instead, or the save could never succeed.
  std::string base = BaseOf(target);
  temp = DirOf(target) + "/." + (base.size() > 200 ? std::string("xkest") : base) + ".XXXXXX";
  return ::mkostemp(temp.data(), O_CLOEXEC);
}

// Gives the new copy the old file's permission bits and owner. True when
// the file is another user's and could not be given back: only root may
// give a file away, so anyone else must rewrite it in place (in a sticky
// folder such as /tmp the rename would be refused anyway).
bool KeepModeAndOwner(int fd, const struct stat& old) {
  ::fchmod(fd, old.st_mode & 07777);
  if (old.st_uid == ::geteuid() && old.st_gid == ::getegid()) return false;
  if (::fchown(fd, old.st_uid, old.st_gid) == 0) return false;
  (void)::fchown(fd, uid_t(-1), old.st_gid);
  return old.st_uid != ::geteuid();
}

// Writes the new content into the temporary file, gives it the target's
// mode and owner, flushes and closes it; 0, or the errno value that
// stopped it.
int FillTemporary(int fd, const Target& t, const char* data, size_t length, bool& ownerLost) {
  bool ok = WriteAllAt(fd, data, length, 0);
  if (ok) {
    if (t.exists) {
      ownerLost = KeepModeAndOwner(fd, t.old);
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
  return ok ? 0 : e;
}

// Renaming would split the links (or give the file away); the synced
// temporary copy guards the content while the file is rewritten, and
// stays only when the file could not be brought back.
SaveResult RewriteGuarded(const std::string& target, const std::string& temp, const char* data,
                          size_t length) {
  InPlace p = RewriteInPlace(target, data, length);
  SaveResult r = FromInPlace(p);
  if (p.damaged) r.keptCopy = temp;
  else ::unlink(temp.c_str());
  return r;
}

// Puts the complete temporary file in the target's place.
SaveResult RenameOver(const std::string& temp, const std::string& target) {
  if (::rename(temp.c_str(), target.c_str()) != 0) {
    int e = errno;
    ::unlink(temp.c_str());
    return Failed(e);
  }
  SyncDir(DirOf(target));
  SaveResult r;
  r.ok = true;
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
  Target t;
  if (int e = CheckTarget(path, t)) return Failed(e);
  std::string temp;
  int fd = MakeTemporary(t.path, temp);
  if (fd < 0) {
    int e = errno;
    // A folder the user may not write can still hold a file the user may.
    if (t.exists && (e == EACCES || e == EPERM)) return FromInPlace(RewriteInPlace(t.path, data, length));
    return Failed(e);
  }
  bool ownerLost = false;
  if (int e = FillTemporary(fd, t, data, length, ownerLost)) {
    ::unlink(temp.c_str());
    return Failed(e);
  }
  if (t.exists && (t.old.st_nlink > 1 || ownerLost)) return RewriteGuarded(t.path, temp, data, length);
  return RenameOver(temp, t.path);
}

void SafeWriteWholeFile(const char* path, const char* data, size_t length, int& status) {
  status = SafeSave(path, data, length).ok ? 1 : 0;
}
