// SafeSave: temporary file, fsync, rename; a guarded rewrite in place for
// hard links and for files in folders the user may not write. Every file
// operation after the check goes through a descriptor of the folder taken
// at the check, so a name swapped meanwhile cannot redirect the write.
#include "support/SafeSave.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <random>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "support/FileUtil.h"
#include "support/SaveCopy.h"
#include "support/UniqueFd.h"

namespace {

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

SaveHook g_hook = nullptr;

int RunHook(SaveStep step, const std::string& target) { return g_hook ? g_hook(step, target.c_str()) : 0; }

// Mark a failure as a replaced target, or as a link planted by another
// user, rather than a system error.
constexpr int kReplaced = -1;
constexpr int kForeignLink = -2;

// Makes the rename itself durable; a failure here loses nothing already
// written, so it is not reported.
void SyncDir(int dirFd) {
  UniqueFd fd(::openat(dirFd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (fd.Get() >= 0) ::fsync(fd.Get());
}

mode_t NewFileMode() {
  mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

// The file a save replaces, as found before a byte is written.
struct Target {
  std::string path;  // after following symbolic links
  std::string base;  // its last component
  UniqueFd dir;           // its folder, held from the check to the end
  bool exists = false;
  struct stat old {};
};

// True when the file open now is the one the check found, with the link
// count and owner that chose how it is saved.
bool StillChecked(const struct stat& now, const struct stat& old) {
  return now.st_dev == old.st_dev && now.st_ino == old.st_ino && now.st_nlink == old.st_nlink &&
         now.st_uid == old.st_uid;
}

struct InPlace {
  int error = 0;         // 0 on success, else errno or kReplaced
  bool damaged = false;  // the old content could not be put back
  bool noRoom = false;   // the new length could not be reserved
  FileStamp stamp;
};

// Opens the checked file itself for the rewrite; -1 with r.error set.
int OpenChecked(const Target& t, bool& readable, InPlace& r) {
  if (int e = RunHook(SaveStep::kBeforeInPlaceOpen, t.path)) {
    r.error = e;
    return -1;
  }
  const int flags = O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK;
  int fd = ::openat(t.dir.Get(), t.base.c_str(), O_RDWR | flags);
  readable = fd >= 0;
  if (fd < 0 && errno == EACCES) fd = ::openat(t.dir.Get(), t.base.c_str(), O_WRONLY | flags);
  if (fd < 0) {
    // A link now in its place, or the file gone from the name.
    r.error = errno == ELOOP || errno == ENOENT ? kReplaced : errno;
    return -1;
  }
  struct stat now;
  bool same = ::fstat(fd, &now) == 0 && StillChecked(now, t.old);
  if (!same) {
    r.error = kReplaced;
    ::close(fd);
    return -1;
  }
  return fd;
}

// The new text over the file, a chunk at a time (a test may step in
// between chunks); false with errno set when a write fails.
bool WriteInChunks(int fd, const Target& t, const char* data, size_t length) {
  constexpr size_t kChunk = size_t(1) << 20;
  for (size_t done = 0; done < length || done == 0; done += kChunk) {
    if (done > 0) {
      if (int e = RunHook(SaveStep::kInPlaceWrite, t.path)) {
        errno = e;
        return false;
      }
    }
    size_t n = length - done < kChunk ? length - done : kChunk;
    if (!WriteAllAt(fd, data + done, n, off_t(done))) return false;
    if (length == 0) break;
  }
  return true;
}

// Rewrites the file itself, so every hard link keeps seeing it. The old
// bytes are kept in memory until the new ones are on disk. Without a
// guarding copy (mustHoldOld) a file whose old bytes cannot be read is
// not touched: a failure could then not be undone.
InPlace RewriteInPlace(const Target& t, const char* data, size_t length, bool mustHoldOld = false) {
  InPlace r;
  bool readable = false;
  UniqueFd fd(OpenChecked(t, readable, r));
  if (fd.Get() < 0) return r;
  const struct stat& st = t.old;
  std::string old;
  bool haveOld = readable && ReadAllAt(fd.Get(), old, size_t(st.st_size));
  if (mustHoldOld && !haveOld) {
    r.error = readable ? errno : EACCES;
    return r;
  }
  // Reserving the new length first makes a full disk or a size limit fail
  // here, before a byte of the file has changed.
  if (length > 0) {
    int e = ::posix_fallocate(fd.Get(), 0, off_t(length));
    if (e != 0) {
      struct stat now;
      if (::fstat(fd.Get(), &now) == 0 && now.st_size != st.st_size) (void)::ftruncate(fd.Get(), st.st_size);
      r.error = e;
      r.noRoom = e == ENOSPC || e == EDQUOT;
      return r;
    }
  }
  if (WriteInChunks(fd.Get(), t, data, length) && ::ftruncate(fd.Get(), off_t(length)) == 0 &&
      ::fsync(fd.Get()) == 0) {
    struct stat now;
    if (::fstat(fd.Get(), &now) == 0) r.stamp = StampOfStat(now);
    if (!fd.Close()) {
      r.error = errno;
      r.damaged = true;  // what reached the disk is not known
    }
    return r;
  }
  r.error = errno;
  bool restored = haveOld && WriteAllAt(fd.Get(), old.data(), old.size(), 0);
  // The old length comes back even when its bytes could not.
  restored = ::ftruncate(fd.Get(), st.st_size) == 0 && restored;
  r.damaged = !(restored && ::fsync(fd.Get()) == 0);
  return r;
}

SaveResult Failed(int error) {
  SaveResult r;
  r.replaced = error == kReplaced;
  r.foreignLink = error == kForeignLink;
  r.error = r.replaced ? ESTALE : r.foreignLink ? EPERM : error;
  return r;
}

SaveResult FromInPlace(const InPlace& p) {
  SaveResult r = Failed(p.error);
  r.ok = p.error == 0;
  r.stamp = p.stamp;
  return r;
}

// Finds the target of path and opens its folder; 0, or the errno value
// (or kReplaced) that refuses the save.
int CheckTarget(const char* path, Target& t) {
  bool foreign = false;
  t.path = ResolveOwnLinks(path, foreign);
  if (foreign) return kForeignLink;
  if (t.path.empty()) return ELOOP;
  t.base = LeafOf(t.path);
  if (t.base.empty() || t.base == "." || t.base == "..") return EISDIR;
  // O_PATH: a folder the user may search but not read still holds files.
  t.dir.Reset(::open(FolderOf(t.path).c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
  if (t.dir.Get() < 0) return errno;
  t.exists = ::fstatat(t.dir.Get(), t.base.c_str(), &t.old, AT_SYMLINK_NOFOLLOW) == 0;
  if (!t.exists && errno != ENOENT) return errno;
  // The links were followed a moment ago: a link here now was put there.
  if (t.exists && S_ISLNK(t.old.st_mode)) return kReplaced;
  if (t.exists && S_ISDIR(t.old.st_mode)) return EISDIR;
  if (t.exists && !S_ISREG(t.old.st_mode)) return EINVAL;
  // A rename needs only the folder's permission; a file the user may not
  // write stays protected, as an ordinary open for writing would keep it.
  if (t.exists && ::faccessat(t.dir.Get(), t.base.c_str(), W_OK, AT_EACCESS) != 0) return errno;
  return 0;
}

// Creates the temporary file beside the target (exclusively, never through
// a link) and names it in temp; -1 with errno set when the folder refuses
// one.
int MakeTemporary(const Target& t, std::string& temp) {
  static const char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
  static std::mt19937_64 random{std::random_device{}()};
  std::string stem = SaveCopyStem(t.base);
  for (int attempt = 0; attempt < 100; ++attempt) {
    temp = stem;
    for (int i = 0; i < 6; ++i) temp += kLetters[random() % (sizeof kLetters - 1)];
    int fd = ::openat(t.dir.Get(), temp.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  errno = EEXIST;
  return -1;
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
// stopped it. guard tells whether the file must be rewritten in place
// instead (hard links, an owner the copy could not be given back to):
// the temporary is then only a private guarding copy, and it gets the
// trailer that lets a later load find it complete. The stamp of the
// flushed file goes to stamp.
int FillTemporary(int fd, const Target& t, const char* data, size_t length, bool& guard, FileStamp& stamp) {
  UniqueFd file(fd);
  // A guarding copy of a hard-linked file stays the user's own, given to
  // no one.
  guard = t.exists && (t.old.st_nlink > 1 || KeepModeAndOwner(fd, t.old));
  if (!t.exists) ::fchmod(fd, NewFileMode());
  if (guard) ::fchmod(fd, 0600);
  bool ok = WriteAllAt(fd, data, length, 0);
  if (int e = ok ? RunHook(SaveStep::kTemporaryWrite, t.path) : 0) {
    errno = e;
    ok = false;
  }
  if (ok && guard) {
    std::string trailer = SaveCopyTrailer({data, length}, t.old.st_dev, t.old.st_ino);
    ok = WriteAllAt(fd, trailer.data(), trailer.size(), off_t(length));
  }
  ok = ok && ::fsync(fd) == 0;
  int e = errno;
  struct stat st;
  if (ok && ::fstat(fd, &st) == 0) stamp = StampOfStat(st);
  if (!file.Close() && ok) {
    ok = false;
    e = errno;
  }
  return ok ? 0 : e;
}

// Renaming would split the links (or give the file away); the synced
// temporary copy guards the content while the file is rewritten, and
// stays only when the file could not be brought back.
SaveResult RewriteGuarded(const Target& t, const std::string& temp, const char* data, size_t length) {
  InPlace p = RewriteInPlace(t, data, length);
  if (p.damaged) {
    SaveResult r = FromInPlace(p);
    r.keptCopy = FolderOf(t.path) + "/" + temp;
    return r;
  }
  ::unlinkat(t.dir.Get(), temp.c_str(), 0);
  // The copy may hold the very room the growth needs: without it, the old
  // bytes in memory guard the file alone.
  if (p.noRoom) p = RewriteInPlace(t, data, length, true);
  return FromInPlace(p);
}

// Puts the complete temporary file in the target's place.
SaveResult RenameOver(const Target& t, const std::string& temp, const FileStamp& stamp) {
  if (::renameat(t.dir.Get(), temp.c_str(), t.dir.Get(), t.base.c_str()) != 0) {
    int e = errno;
    ::unlinkat(t.dir.Get(), temp.c_str(), 0);
    return Failed(e);
  }
  SyncDir(t.dir.Get());
  SaveResult r;
  r.ok = true;
  r.stamp = stamp;
  return r;
}

}  // namespace

std::string ResolveOwnLinks(const std::string& path, bool& foreign) {
  foreign = false;
  std::string current = path;
  for (int hops = 0; hops < 40; ++hops) {
    // The link itself is held, so its owner and its text are read from
    // the same link even when the name is swapped in between.
    UniqueFd link(::open(current.c_str(), O_PATH | O_NOFOLLOW | O_CLOEXEC));
    struct stat st;
    if (link.Get() < 0 || ::fstat(link.Get(), &st) != 0 || !S_ISLNK(st.st_mode)) return current;
    // As the kernel's protected links do in sticky folders: someone who
    // may rename a link into a shared folder must not steer our writes.
    if (st.st_uid != ::geteuid() && st.st_uid != 0) {
      foreign = true;
      return {};
    }
    std::vector<char> buf(size_t(st.st_size > 0 ? st.st_size : 255) + 1);
    ssize_t n = ::readlinkat(link.Get(), "", buf.data(), buf.size());
    if (n <= 0 || size_t(n) >= buf.size()) return {};
    std::string target(buf.data(), size_t(n));
    current = target[0] == '/' ? target : FolderOf(current) + "/" + target;
  }
  return {};
}

std::string ResolveLinks(const std::string& path) {
  bool foreign = false;
  return ResolveOwnLinks(path, foreign);
}

SaveResult SafeSave(const char* path, const char* data, size_t length) {
  if (!path || !*path || (!data && length > 0)) return Failed(EINVAL);
  Target t;
  if (int e = CheckTarget(path, t)) return Failed(e);
  std::string temp;
  int fd = MakeTemporary(t, temp);
  if (fd < 0) {
    int e = errno;
    // A folder the user may not write can still hold a file the user may.
    if (t.exists && (e == EACCES || e == EPERM)) return FromInPlace(RewriteInPlace(t, data, length));
    if (t.exists && t.old.st_nlink > 1 && (e == ENOSPC || e == EDQUOT))
      return FromInPlace(RewriteInPlace(t, data, length, true));
    return Failed(e);
  }
  bool guard = false;
  FileStamp stamp;
  if (int e = FillTemporary(fd, t, data, length, guard, stamp)) {
    ::unlinkat(t.dir.Get(), temp.c_str(), 0);
    // Rewriting in place needs room only for the growth; the old bytes,
    // held in memory, then guard the file alone.
    if (guard && (e == ENOSPC || e == EDQUOT)) return FromInPlace(RewriteInPlace(t, data, length, true));
    return Failed(e);
  }
  if (guard) return RewriteGuarded(t, temp, data, length);
  return RenameOver(t, temp, stamp);
}

std::string SaveFailureText(const SaveResult& r) {
  if (r.replaced) return "the file was replaced while it was being saved";
  if (r.foreignLink) return "it is a link that belongs to another user";
  return std::strerror(r.error);
}

void SafeWriteWholeFile(const char* path, const char* data, size_t length, int& status) {
  status = SafeSave(path, data, length).ok ? 1 : 0;
}

SaveHook SetSaveHookForTests(SaveHook hook) {
  SaveHook old = g_hook;
  g_hook = hook;
  return old;
}
