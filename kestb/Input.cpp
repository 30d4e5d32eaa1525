// Input: reading input files within a limit, and finding included templates.
#include "kestb/Input.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <vector>

namespace kestb {
namespace {

std::string DirName(const std::string& path) {
  size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::string Join(const std::string& dir, const std::string& name) {
  if (dir.empty()) return name;
  return dir.back() == '/' ? dir + name : dir + "/" + name;
}

std::string TooLarge(size_t maxBytes, unsigned long long size) {
  std::string limit = maxBytes % (1u << 20) == 0
                          ? std::to_string(maxBytes >> 20) + " MB"
                          : std::to_string(maxBytes) + " bytes";
  return "larger than " + limit +
         (size > maxBytes ? " (" + std::to_string(size) + " bytes)" : "");
}

class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

}  // namespace

InputFile ReadInput(const std::string& path, size_t maxBytes) {
  InputFile in;
  Descriptor fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
  if (fd.get() < 0) {
    in.error = std::strerror(errno);
    struct stat st {};
    in.missing = ::stat(path.c_str(), &st) != 0;
    return in;
  }
  struct stat st {};
  if (::fstat(fd.get(), &st) != 0) {
    in.error = std::strerror(errno);
    return in;
  }
  if (!S_ISREG(st.st_mode)) {
    in.error = "not a regular file";
    return in;
  }
  if (st.st_size > 0 && static_cast<unsigned long long>(st.st_size) > maxBytes) {
    in.tooLarge = true;
    in.error = TooLarge(maxBytes, static_cast<unsigned long long>(st.st_size));
    return in;
  }
  // The size may be wrong (a file still growing, /proc): read one byte past
  // the limit at most, to tell a file at the limit from a larger one.
  in.text.reserve(static_cast<size_t>(st.st_size));
  char buf[65536];
  while (in.text.size() <= maxBytes) {
    size_t want = std::min(sizeof buf, maxBytes + 1 - in.text.size());
    ssize_t n = ::read(fd.get(), buf, want);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      in.error = std::strerror(errno);
      in.text.clear();
      return in;
    }
    if (n == 0) break;
    in.text.append(buf, static_cast<size_t>(n));
  }
  if (in.text.size() > maxBytes) {
    in.tooLarge = true;
    in.error = TooLarge(maxBytes, 0);
    std::string().swap(in.text);
    return in;
  }
  in.ok = true;
  return in;
}

IncludeResolver MakeResolver(const std::string& homeDir) {
  return [homeDir](const std::string& name, const std::string& from)
             -> std::optional<TemplateSource> {
    std::vector<std::string> candidates;
    if (!name.empty() && name[0] == '/') {
      candidates.push_back(name);
    } else {
      candidates.push_back(Join(DirName(from), name));
      if (!homeDir.empty()) {
        candidates.push_back(Join(homeDir, name));
        candidates.push_back(Join(Join(homeDir, "templates"), name));
      }
    }
    for (const std::string& c : candidates) {
      InputFile in = ReadInput(c, kMaxTemplateBytes);
      if (in.missing) continue;
      TemplateSource found{c, std::move(in.text), in.ok ? "" : in.error};
      found.tooLarge = in.tooLarge;
      return found;
    }
    return std::nullopt;
  };
}

}  // namespace kestb
