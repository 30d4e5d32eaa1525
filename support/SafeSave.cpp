// SafeSave: temporary file, fsync, rename; in place for hard links.
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

bool WriteAll(int fd, const char* data, size_t length) {
  while (length > 0) {
    ssize_t n = ::write(fd, data, length);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (n == 0) return false;
    data += n;
    length -= size_t(n);
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

bool RewriteInPlace(const std::string& target, const char* data, size_t length) {
  int fd = ::open(target.c_str(), O_WRONLY | O_CLOEXEC);
  if (fd < 0) return false;
  bool ok = WriteAll(fd, data, length) && ::ftruncate(fd, off_t(length)) == 0 && ::fsync(fd) == 0;
  if (::close(fd) != 0) ok = false;
  return ok;
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

void SafeWriteWholeFile(const char* path, const char* data, size_t length, int& status) {
  status = 1;
  if (!path || !*path || (!data && length > 0)) {
    status = 0;
    return;
  }
  std::string target = ResolveLinks(path);
  if (target.empty()) {
    status = 0;
    return;
  }
  struct stat old;
  bool exists = ::stat(target.c_str(), &old) == 0;
  if (exists && !S_ISREG(old.st_mode)) {
    status = 0;
    return;
  }
  // A rename needs only the folder's permission; a file the user may not
  // write stays protected, as an ordinary open for writing would keep it.
  if (exists && ::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0) {
    status = 0;
    return;
  }
  std::string dir = DirOf(target);
  // The temporary name adds 8 bytes; a name already near the system's
  // limit takes a short one instead, or the save could never succeed.
  std::string base = BaseOf(target);
  std::string temp = dir + "/." + (base.size() > 200 ? std::string("xkest") : base) + ".XXXXXX";
  int fd = ::mkostemp(temp.data(), O_CLOEXEC);
  if (fd < 0) {
    status = 0;
    return;
  }
  bool ok = WriteAll(fd, data, length);
  if (ok) {
    if (exists) {
      ::fchmod(fd, old.st_mode & 07777);
      // Only root may give a file away; for others this keeps the group
      // where allowed and is otherwise a harmless failure.
      if (old.st_uid != ::geteuid() || old.st_gid != ::getegid())
        if (::fchown(fd, old.st_uid, old.st_gid) != 0) (void)::fchown(fd, uid_t(-1), old.st_gid);
    } else {
      ::fchmod(fd, NewFileMode());
    }
    ok = ::fsync(fd) == 0;
  }
  if (::close(fd) != 0) ok = false;
  if (!ok) {
    ::unlink(temp.c_str());
    status = 0;
    return;
  }
  if (exists && old.st_nlink > 1) {
    // Renaming would split the links; the synced temporary copy guards
    // the content while the shared file is overwritten.
    if (RewriteInPlace(target, data, length)) {
      ::unlink(temp.c_str());
    } else {
      status = 0;
    }
    return;
  }
  if (::rename(temp.c_str(), target.c_str()) != 0) {
    ::unlink(temp.c_str());
    status = 0;
    return;
  }
  SyncDir(dir);
}
