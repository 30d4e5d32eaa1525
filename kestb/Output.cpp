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
      backupPath_(std::move(other.backupPath_)), exists_(other.exists_) {
  other.tmp_.clear();
}

PendingFile::~PendingFile() { Discard(); }

void PendingFile::Discard() {
  if (tmp_.empty()) return;
  {
    SignalBlock block;
    ::unlink(tmp_.c_str());
    Temporaries().Remove(tmp_);
  }
  tmp_.clear();
}

WriteResult PendingFile::Write(const std::string& path,
                               std::string_view content,
                               const std::string& backupPath) {
  Discard();
  WriteResult res;
  path_ = path;
  backupPath_ = backupPath;
  struct stat old {};
  exists_ = ::stat(path.c_str(), &old) == 0;
  if (exists_ && !S_ISREG(old.st_mode)) {
    res.error = "exists and is not a regular file";
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
  const size_t nameMax = NameMax(path);
  for (const std::string* p : {&path, &backupPath}) {
    if (BaseOf(*p).size() > nameMax) {
      res.error = "file name '" + std::string(BaseOf(*p)) + "' is longer than " +
                  std::to_string(nameMax) + " bytes";
      return res;
    }
  }
  int fd = CreateTemporary(path, nameMax, tmp_);
  if (fd < 0) {
    res.error = Errno("cannot create a temporary file");
    return res;
  }
  // mkstemp makes the file private; give it the old file's mode or the
  // mode a new file would get under the umask.
  mode_t mask = ::umask(0);
  ::umask(mask);
  ::fchmod(fd, exists_ ? (old.st_mode & 07777) : (0666 & ~mask));

  size_t done = 0;
  while (done < content.size()) {
    ssize_t n = ::write(fd, content.data() + done, content.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      if (n == 0) errno = EIO;
      res.error = std::strerror(errno);
      ::close(fd);
      Discard();
      return res;
    }
    done += static_cast<size_t>(n);
  }
  if (::fsync(fd) != 0) {
    res.error = std::strerror(errno);
    ::close(fd);
    Discard();
    return res;
  }
  if (::close(fd) != 0) {
    res.error = std::strerror(errno);
    Discard();
    return res;
  }
  res.ok = true;
  return res;
}

WriteResult PendingFile::Commit() {
  WriteResult res;
  if (tmp_.empty()) {
    res.error = "nothing written";
    return res;
  }
  if (exists_ && !backupPath_.empty()) {
    if (::rename(path_.c_str(), backupPath_.c_str()) != 0) {
      res.error = Errno(("cannot keep the old version as " + backupPath_).c_str());
      Discard();
      return res;
    }
    res.backedUp = true;
  }
  SignalBlock block;
  if (::rename(tmp_.c_str(), path_.c_str()) != 0) {
    res.error = Errno("cannot replace the file");
    if (res.backedUp) ::rename(backupPath_.c_str(), path_.c_str());
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
