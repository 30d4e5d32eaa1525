// Output: backup naming and the temporary-file-and-rename writer.
#include "kestb/Output.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

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

// The report puts "cannot write: " before a write error; the reason alone
// is what is left to say.
std::string WriteErrno() { return std::strerror(errno); }

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

WriteResult WriteWhole(const std::string& path, std::string_view content,
                       const std::string& backupPath) {
  WriteResult res;
  struct stat old {};
  bool exists = ::stat(path.c_str(), &old) == 0;
  if (exists && !S_ISREG(old.st_mode)) {
    res.error = "exists and is not a regular file";
    return res;
  }
  std::string tmp = path + ".kestb-XXXXXX";
  int fd = ::mkstemp(tmp.data());
  if (fd < 0) {
    res.error = Errno("cannot create a temporary file");
    return res;
  }
  // mkstemp makes the file private; give it the old file's mode or the
  // mode a new file would get under the umask.
  mode_t mask = ::umask(0);
  ::umask(mask);
  ::fchmod(fd, exists ? (old.st_mode & 07777) : (0666 & ~mask));

  size_t done = 0;
  while (done < content.size()) {
    ssize_t n = ::write(fd, content.data() + done, content.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      if (n == 0) errno = EIO;
      res.error = WriteErrno();
      ::close(fd);
      ::unlink(tmp.c_str());
      return res;
    }
    done += static_cast<size_t>(n);
  }
  if (::fsync(fd) != 0 || ::close(fd) != 0) {
    res.error = WriteErrno();
    ::unlink(tmp.c_str());
    return res;
  }
  if (exists && !backupPath.empty()) {
    if (::rename(path.c_str(), backupPath.c_str()) != 0) {
      res.error = Errno(("cannot keep the old version as " + backupPath).c_str());
      ::unlink(tmp.c_str());
      return res;
    }
    res.backedUp = true;
  }
  if (::rename(tmp.c_str(), path.c_str()) != 0) {
    res.error = Errno("cannot replace the file");
    if (res.backedUp) ::rename(backupPath.c_str(), path.c_str());
    res.backedUp = false;
    ::unlink(tmp.c_str());
    return res;
  }
  res.ok = true;
  return res;
}

}  // namespace kestb
