// Output: backup naming and the temporary-file-and-rename writer.
#include "kestb/Output.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <set>

namespace kestb {
namespace {

std::string StripDot(std::string w) {
  if (!w.empty() && w[0] == '.') w.erase(0, 1);
  return w;
}

// Position of the extension's dot in the last path component, or npos.
size_t ExtensionDot(const std::string& name) {
  size_t slash = name.rfind('/');
  size_t base = slash == std::string::npos ? 0 : slash + 1;
  size_t dot = name.rfind('.');
  if (dot == std::string::npos || dot <= base) return std::string::npos;
  return dot;
}

std::string Errno(const char* what) {
  return std::string(what) + ": " + std::strerror(errno);
}

std::string_view BaseOf(const std::string& path) {
  size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string_view(path)
                                    : std::string_view(path).substr(slash + 1);
}

std::string FolderOf(const std::string& path) {
  size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

size_t NameMax(const std::string& path) {
  long n = ::pathconf(FolderOf(path).c_str(), _PC_NAME_MAX);
  return n > 0 ? static_cast<size_t>(n) : 255;
}

// SIGPIPE too: the reader of the report may go away while files are written.
constexpr int kCleanupSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGPIPE};

// Blocks the cleanup signals while the list of temporaries changes, so the
// handler never reads it half-changed.
class SignalBlock {
 public:
  SignalBlock() {
    sigset_t set;
    sigemptyset(&set);
    for (int sig : kCleanupSignals) sigaddset(&set, sig);
    ::sigprocmask(SIG_BLOCK, &set, &old_);
  }
  ~SignalBlock() { ::sigprocmask(SIG_SETMASK, &old_, nullptr); }
  SignalBlock(const SignalBlock&) = delete;
  SignalBlock& operator=(const SignalBlock&) = delete;

 private:
  sigset_t old_;
};

// The temporary files that exist right now. Changed only inside a
// SignalBlock; the handler only reads the names. A set, since a run of
// many files removes each one as it commits.
class TemporaryList {
 public:
  void Add(const std::string& path) { paths_.insert(path); }
  void Remove(const std::string& path) { paths_.erase(path); }
  void UnlinkAll() const {  // async-signal-safe
    for (const std::string& p : paths_) ::unlink(p.c_str());
  }

 private:
  std::set<std::string> paths_;
};

CommitHook g_commitHook = nullptr;

// rename, unless the test hook fails this step.
int Rename(CommitStep step, const std::string& from, const std::string& to) {
  if (int e = g_commitHook ? g_commitHook(step) : 0) {
    errno = e;
    return -1;
  }
  return ::rename(from.c_str(), to.c_str());
}

TemporaryList& Temporaries() {
  static TemporaryList list;
  return list;
}

void RemoveTemporariesAndDie(int sig) {
  Temporaries().UnlinkAll();
  ::signal(sig, SIG_DFL);
  ::raise(sig);
}

// Creates the temporary file for path and lists it: "NAME.kestb-XXXXXX"
// beside it, or ".kestb-XXXXXX" when the longer name would pass the
// folder's limit. Returns the descriptor, or -1 with errno set.
int CreateTemporary(const std::string& path, size_t nameMax, std::string& tmp) {
  constexpr std::string_view kSuffix = ".kestb-XXXXXX";
  tmp = BaseOf(path).size() + kSuffix.size() <= nameMax
            ? path + std::string(kSuffix)
            : path.substr(0, path.size() - BaseOf(path).size()) + std::string(kSuffix);
  SignalBlock block;
  int fd = ::mkostemp(tmp.data(), O_CLOEXEC);
  if (fd < 0) {
    int saved = errno;
    tmp.clear();
    errno = saved;
    return -1;
  }
  Temporaries().Add(tmp);
  return fd;
}

}  // namespace

BackupRules ParseBackupExts(std::string_view list) {
  std::vector<std::string> words;
  std::string w;
  for (char c : list) {
    if (c == ' ' || c == '\t' || c == '\n' || c == ',') {
      if (!w.empty()) words.push_back(StripDot(std::move(w)));
      w.clear();
    } else {
      w += c;
    }
  }
  if (!w.empty()) words.push_back(StripDot(std::move(w)));
  BackupRules r;
  size_t i = 0;
  for (; i + 1 < words.size(); i += 2) {
    if (!words[i].empty() && !words[i + 1].empty()) {
      r.pairs.emplace_back(words[i], words[i + 1]);
    }
  }
  if (i < words.size() && !words[i].empty()) r.fallback = words[i];
  return r;
}

std::string LongBackupName(const std::string& fileName,
                           const BackupRules& rules) {
  size_t dot = ExtensionDot(fileName);
  if (dot != std::string::npos) {
    std::string ext = fileName.substr(dot + 1);
    for (const auto& [from, to] : rules.pairs) {
      if (from == ext && to != ext) return fileName + "." + to;
    }
  }
  return fileName + "." + rules.fallback;
}

std::string BackupName(const std::string& fileName, const BackupRules& rules) {
  size_t dot = ExtensionDot(fileName);
  if (dot != std::string::npos) {
    std::string ext = fileName.substr(dot + 1);
    for (const auto& [from, to] : rules.pairs) {
      if (from == ext && to != ext) return fileName.substr(0, dot + 1) + to;
    }
  }
  return fileName + "." + rules.fallback;
}

std::string BackupExtsProblem(const BackupRules& rules) {
  std::vector<const std::string*> exts{&rules.fallback};
  for (const auto& pair : rules.pairs) exts.push_back(&pair.second);
  for (const std::string* e : exts) {
    for (char c : *e) {
      if (c == '/' || std::iscntrl(static_cast<unsigned char>(c))) {
        return "backup extension '" + *e + "' must not contain " +
               (c == '/' ? "'/'" : "control characters");
      }
    }
  }
  return {};
}

PendingFile::PendingFile(PendingFile&& other) noexcept
    : path_(std::move(other.path_)), tmp_(std::move(other.tmp_)),
      backupPath_(std::move(other.backupPath_)), exists_(other.exists_),
      unchanged_(other.unchanged_), fd_(other.fd_), writeErrno_(other.writeErrno_),
      nameMax_(other.nameMax_), size_(other.size_), buffer_(std::move(other.buffer_)) {
  other.tmp_.clear();
  other.fd_ = -1;
}

PendingFile::~PendingFile() { Discard(); }

void PendingFile::Discard() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  if (tmp_.empty()) return;
  {
    SignalBlock block;
    ::unlink(tmp_.c_str());
    Temporaries().Remove(tmp_);
  }
  tmp_.clear();
}

WriteResult PendingFile::Open(const std::string& path) {
  Discard();
  WriteResult res;
  path_ = path;
  backupPath_.clear();
  unchanged_ = false;
  writeErrno_ = 0;
  size_ = 0;
  buffer_.clear();
  struct stat old {};
  exists_ = ::stat(path.c_str(), &old) == 0;
  if (exists_ && !S_ISREG(old.st_mode)) {
    res.error = "exists and is not a regular file";
    return res;
  }
  nameMax_ = NameMax(path);
  if (BaseOf(path).size() > nameMax_) {
    res.error = "file name '" + std::string(BaseOf(path)) + "' is longer than " +
                std::to_string(nameMax_) + " bytes";
    return res;
  }
  fd_ = CreateTemporary(path, nameMax_, tmp_);
  if (fd_ < 0) {
    res.error = Errno("cannot create a temporary file");
    return res;
  }
  // mkstemp makes the file private; give it the old file's mode or the
  // mode a new file would get under the umask.
  mode_t mask = ::umask(0);
  ::umask(mask);
  ::fchmod(fd_, exists_ ? (old.st_mode & 07777) : (0666 & ~mask));
  res.ok = true;
  return res;
}

namespace {

constexpr size_t kBufferBytes = 64u << 10;

// Writes all of data; false with errno set when it cannot.
bool WriteAll(int fd, std::string_view data) {
  while (!data.empty()) {
    ssize_t n = ::write(fd, data.data(), data.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      if (n == 0) errno = EIO;
      return false;
    }
    data.remove_prefix(static_cast<size_t>(n));
  }
  return true;
}

// Reads up to size bytes at offset; the count read, or -1 with errno set.
ssize_t ReadAt(int fd, char* buf, size_t size, off_t offset) {
  size_t done = 0;
  while (done < size) {
    ssize_t n = ::pread(fd, buf + done, size - done, offset + static_cast<off_t>(done));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return -1;
    if (n == 0) break;
    done += static_cast<size_t>(n);
  }
  return static_cast<ssize_t>(done);
}

}  // namespace

bool PendingFile::Flush() {
  if (writeErrno_ == 0 && !WriteAll(fd_, buffer_)) writeErrno_ = errno;
  buffer_.clear();
  return writeErrno_ == 0;
}

void PendingFile::Append(std::string_view text) {
  if (fd_ < 0 || writeErrno_ != 0) return;
  size_ += text.size();
  if (buffer_.size() + text.size() <= kBufferBytes) {
    buffer_ += text;
    return;
  }
  if (Flush() && !WriteAll(fd_, text)) writeErrno_ = errno;
}

// Compares the temporary with the file it would replace, a piece at a time.
bool PendingFile::SameAsOld() {
  if (!exists_) return false;
  int old = ::open(path_.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (old < 0) return false;
  struct stat st {};
  bool same = ::fstat(old, &st) == 0 && S_ISREG(st.st_mode) &&
              static_cast<unsigned long long>(st.st_size) == size_;
  std::string a(kBufferBytes, '\0'), b(kBufferBytes, '\0');
  for (off_t at = 0; same;) {
    ssize_t n = ReadAt(fd_, a.data(), a.size(), at);
    ssize_t m = ReadAt(old, b.data(), b.size(), at);
    same = n >= 0 && n == m && a.compare(0, size_t(n), b, 0, size_t(m)) == 0;
    if (n <= 0) break;
    at += n;
  }
  ::close(old);
  return same;
}

WriteResult PendingFile::Close() {
  WriteResult res;
  if (fd_ < 0) {
    res.error = "nothing written";
    return res;
  }
  bool flushed = Flush();
  std::string().swap(buffer_);  // a run keeps every file until it commits
  if (flushed) {
    if (SameAsOld()) {
      Discard();
      unchanged_ = true;
      res.ok = res.unchanged = true;
      return res;
    }
    if (::fsync(fd_) != 0) writeErrno_ = errno;
  }
  if (::close(fd_) != 0 && writeErrno_ == 0) writeErrno_ = errno;
  fd_ = -1;
  if (writeErrno_ != 0) {
    res.error = std::strerror(writeErrno_);
    Discard();
    return res;
  }
  res.ok = true;
  return res;
}

WriteResult PendingFile::SetBackup(const std::string& backupPath) {
  WriteResult res;
  backupPath_ = backupPath;
  if (unchanged_) {  // no backup is made of a file left alone
    res.ok = true;
    return res;
  }
  // A folder under the backup name would stop the commit half-way through
  // a run, after other files were replaced.
  struct stat bak {};
  if (!backupPath.empty() && exists_ && ::lstat(backupPath.c_str(), &bak) == 0 &&
      S_ISDIR(bak.st_mode)) {
    res.error = "backup " + backupPath + " is a folder";
    return res;
  }
  if (BaseOf(backupPath).size() > nameMax_) {
    res.error = "file name '" + std::string(BaseOf(backupPath)) + "' is longer than " +
                std::to_string(nameMax_) + " bytes";
    return res;
  }
  res.ok = true;
  return res;
}

WriteResult PendingFile::Write(const std::string& path,
                               std::string_view content,
                               const std::string& backupPath) {
  WriteResult res = Open(path);
  if (res.ok) res = SetBackup(backupPath);
  if (!res.ok) {
    Discard();
    return res;
  }
  Append(content);
  return Close();
}

WriteResult PendingFile::Commit() {
  WriteResult res;
  if (unchanged_) {
    res.ok = res.unchanged = true;
    return res;
  }
  if (tmp_.empty() || fd_ >= 0) {
    res.error = "nothing written";
    return res;
  }
  if (exists_ && !backupPath_.empty()) {
    if (Rename(CommitStep::kKeepOld, path_, backupPath_) != 0) {
      res.error = Errno(("cannot keep the old version as " + backupPath_).c_str());
      Discard();
      return res;
    }
    res.backedUp = true;
  }
  SignalBlock block;
  if (Rename(CommitStep::kReplace, tmp_, path_) != 0) {
    res.error = Errno("cannot replace the file");
    // The old version goes back to its name; should that fail too, the
    // report says where it is rather than leave the file seemingly lost.
    if (res.backedUp && Rename(CommitStep::kPutBack, backupPath_, path_) != 0) {
      res.error += "; the old version is left as " + backupPath_;
    }
    res.backedUp = false;
    Discard();
    return res;
  }
  Temporaries().Remove(tmp_);
  tmp_.clear();
  res.ok = true;
  return res;
}

std::vector<WriteResult> CommitAll(std::vector<PendingFile>& files) {
  std::vector<WriteResult> results;
  results.reserve(files.size());
  SignalBlock block;
  for (PendingFile& f : files) results.push_back(f.Commit());
  return results;
}

WriteResult WriteWhole(const std::string& path, std::string_view content,
                       const std::string& backupPath) {
  PendingFile f;
  WriteResult w = f.Write(path, content, backupPath);
  return w.ok ? f.Commit() : w;
}

CommitHook SetCommitHookForTests(CommitHook hook) {
  CommitHook old = g_commitHook;
  g_commitHook = hook;
  return old;
}

void HandleFatalSignals() {
  struct sigaction sa {};
  sa.sa_handler = RemoveTemporariesAndDie;
  sigemptyset(&sa.sa_mask);
  for (int sig : kCleanupSignals) sigaddset(&sa.sa_mask, sig);
  for (int sig : kCleanupSignals) {
    struct sigaction old {};
    // A signal the caller ignores (nohup) stays ignored.
    if (::sigaction(sig, nullptr, &old) == 0 && old.sa_handler == SIG_IGN) continue;
    ::sigaction(sig, &sa, nullptr);
  }
  ::signal(SIGXFSZ, SIG_IGN);
}

}  // namespace kestb
