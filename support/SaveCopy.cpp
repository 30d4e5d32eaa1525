// SaveCopy: the trailer of an in-place save's copy, and finding, reading
// and removing a copy that an interrupted save left.
#include "support/SaveCopy.h"

#include <charconv>
#include <cstdint>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "support/FileUtil.h"
#include "support/SafeSave.h"
#include "support/UniqueFd.h"

namespace {

constexpr std::string_view kMark = "\n#xkest-save ";
// Longer than any trailer line: four numbers of at most 20 digits.
constexpr size_t kMaxTrailer = 160;
constexpr size_t kSuffixLength = 6;
constexpr uint64_t kFnvStart = 0xcbf29ce484222325ULL;

uint64_t Fnv1a(uint64_t h, const char* p, size_t n) {
  for (size_t i = 0; i < n; ++i) {
    h ^= uint8_t(p[i]);
    h *= 0x100000001b3ULL;
  }
  return h;
}

struct Trailer {
  uint64_t length = 0, sum = 0, dev = 0, ino = 0;
};

// Reads "NAME=VALUE" at the front of s in base and drops it with the
// blank after it; false when s does not start so.
bool TakeField(std::string_view& s, std::string_view name, uint64_t& value, int base) {
  if (s.substr(0, name.size()) != name) return false;
  s.remove_prefix(name.size());
  auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value, base);
  if (ec != std::errc() || end == s.data()) return false;
  s.remove_prefix(size_t(end - s.data()));
  if (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  return true;
}

// The trailer closing a file of size bytes, which must end exactly where
// the text it counts does; false when there is none.
bool ReadTrailer(int fd, off_t size, Trailer& t) {
  size_t tailLength = size_t(size) < kMaxTrailer ? size_t(size) : kMaxTrailer;
  std::string tail(tailLength, '\0');
  if (::pread(fd, tail.data(), tailLength, size - off_t(tailLength)) != ssize_t(tailLength)) return false;
  size_t at = tail.rfind(kMark);
  if (tail.empty() || tail.back() != '\n' || at == std::string::npos) return false;
  std::string_view fields(tail);
  fields = fields.substr(at + kMark.size(), tail.size() - 1 - at - kMark.size());
  bool parsed = TakeField(fields, "length=", t.length, 10) && TakeField(fields, "fnv1a64=", t.sum, 16) &&
                TakeField(fields, "dev=", t.dev, 10) && TakeField(fields, "ino=", t.ino, 10) &&
                fields.empty();
  return parsed && t.length == uint64_t(size) - (tailLength - at);
}

// True when the first t.length bytes of fd have the trailer's checksum;
// they go to text when it is given.
bool SumMatches(int fd, const Trailer& t, std::string* text) {
  uint64_t h = kFnvStart;
  std::string chunk(size_t(1) << 20, '\0');
  uint64_t done = 0;
  while (done < t.length) {
    size_t want = size_t(t.length - done < chunk.size() ? t.length - done : chunk.size());
    ssize_t n = ::pread(fd, chunk.data(), want, off_t(done));
    if (n <= 0) return false;
    h = Fnv1a(h, chunk.data(), size_t(n));
    if (text) text->append(chunk.data(), size_t(n));
    done += uint64_t(n);
  }
  return h == t.sum;
}

bool IsCopyName(std::string_view name, const std::string& stem) {
  if (name.size() != stem.size() + kSuffixLength || name.substr(0, stem.size()) != stem) return false;
  for (char c : name.substr(stem.size()))
    if (!((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'))) return false;
  return true;
}

// Opens the copy at name in dir when it is the user's own single-linked
// regular file with a complete trailer; -1 otherwise.
int OpenCopy(int dir, const char* name, struct stat& st, Trailer& t) {
  UniqueFd fd(::openat(dir, name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
  if (fd.Get() < 0 || ::fstat(fd.Get(), &st) != 0) return -1;
  // Only the user's own file: another user could plant any text here.
  if (!S_ISREG(st.st_mode) || st.st_uid != ::geteuid() || st.st_nlink != 1) return -1;
  if (!ReadTrailer(fd.Get(), st.st_size, t)) return -1;
  return fd.Release();
}

}  // namespace

std::string SaveCopyStem(const std::string& base) {
  // The suffix adds 8 bytes; a name near the system's limit of 255 takes
  // a short stem instead, or no copy could be made.
  return "." + (base.size() > 200 ? std::string("xkest") : base) + ".";
}

std::string SaveCopyTrailer(std::string_view text, dev_t dev, ino_t ino) {
  char hex[17];
  uint64_t sum = Fnv1a(kFnvStart, text.data(), text.size());
  for (int i = 15; i >= 0; --i, sum >>= 4) hex[i] = "0123456789abcdef"[sum & 15];
  hex[16] = '\0';
  return std::string(kMark) + "length=" + std::to_string(text.size()) + " fnv1a64=" + hex +
         " dev=" + std::to_string(uint64_t(dev)) + " ino=" + std::to_string(uint64_t(ino)) + "\n";
}

SaveCopy FindSaveCopy(const char* path, const FileStamp& stamp, std::string_view current,
                      size_t maxBytes) {
  SaveCopy best;
  std::string target = path ? ResolveLinks(path) : std::string();
  if (target.empty() || !stamp.exists) return best;
  std::string folder = FolderOf(target), stem = SaveCopyStem(LeafOf(target));
  UniqueFd dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  int listed = dir.Get() >= 0 ? ::dup(dir.Get()) : -1;
  DIR* entries = listed >= 0 ? ::fdopendir(listed) : nullptr;
  if (!entries) {
    if (listed >= 0) ::close(listed);
    return best;
  }
  const uint64_t currentSum = Fnv1a(kFnvStart, current.data(), current.size());
  timespec newest{};
  while (dirent* e = ::readdir(entries)) {
    if (!IsCopyName(e->d_name, stem)) continue;
    struct stat st;
    Trailer t;
    UniqueFd fd(OpenCopy(dir.Get(), e->d_name, st, t));
    if (fd.Get() < 0 || t.dev != uint64_t(stamp.dev) || t.ino != uint64_t(stamp.ino) || t.length > maxBytes)
      continue;
    if (t.length == current.size() && t.sum == currentSum) continue;
    bool newer = !best.found || st.st_mtim.tv_sec > newest.tv_sec ||
                 (st.st_mtim.tv_sec == newest.tv_sec && st.st_mtim.tv_nsec > newest.tv_nsec);
    if (!newer || !SumMatches(fd.Get(), t, nullptr)) continue;
    best.found = true;
    best.path = folder + "/" + e->d_name;
    best.dev = st.st_dev;
    best.ino = st.st_ino;
    best.length = size_t(t.length);
    newest = st.st_mtim;
  }
  ::closedir(entries);
  return best;
}

bool ReadSaveCopy(const SaveCopy& copy, std::string& text) {
  text.clear();
  if (!copy.found) return false;
  UniqueFd dir(::open(FolderOf(copy.path).c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
  struct stat st;
  Trailer t;
  UniqueFd fd(dir.Get() >= 0 ? OpenCopy(dir.Get(), LeafOf(copy.path).c_str(), st, t) : -1);
  if (fd.Get() < 0 || st.st_dev != copy.dev || st.st_ino != copy.ino || t.length != copy.length) return false;
  text.reserve(size_t(t.length));
  if (SumMatches(fd.Get(), t, &text)) return true;
  text.clear();
  return false;
}

bool RemoveSaveCopy(const SaveCopy& copy) {
  if (!copy.found) return false;
  UniqueFd dir(::open(FolderOf(copy.path).c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
  std::string name = LeafOf(copy.path);
  struct stat st;
  if (dir.Get() < 0 || ::fstatat(dir.Get(), name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) return false;
  if (st.st_dev != copy.dev || st.st_ino != copy.ino) return false;
  return ::unlinkat(dir.Get(), name.c_str(), 0) == 0;
}
