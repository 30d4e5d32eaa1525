// FileUtil.cpp: file routines on POSIX and stdio.
#include "support/FileUtil.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <string>

#include "support/FileStamp.h"
#include "support/Memory.h"
#include "support/SafeSave.h"

namespace {

struct FileCloser {
  void operator()(FILE* f) const { std::fclose(f); }
};
using FilePtr = std::unique_ptr<FILE, FileCloser>;

bool Empty(const char* s) { return !s || !*s; }

// Writes all n bytes; a short write or a failing close is a failure.
bool WriteAllAndClose(FILE* f, const char* data, size_t n) {
  bool ok = n == 0 || std::fwrite(data, 1, n, f) == n;
  if (std::fflush(f) != 0) ok = false;
  if (std::fclose(f) != 0) ok = false;
  return ok;
}

bool WriteFileMode(const char* path, const char* mode, const char* data, size_t n) {
  if (Empty(path)) return false;
  FILE* f = std::fopen(path, mode);
  return f && WriteAllAndClose(f, data, n);
}

// Replaces the contents of an existing file so that a failure at any
// point leaves the old contents intact (support/SafeSave.h).
bool ReplaceContents(const char* path, const std::string& data) {
  return SafeSave(path, data.data(), data.size()).ok;
}

bool StartsWith(const std::string& line, const char* marker) {
  return line.compare(0, std::strlen(marker), marker) == 0;
}

// Reads whole lines (any length), each with its newline if it had one.
bool NextLine(FILE* f, std::string& line) {
  line.clear();
  int c;
  while ((c = std::getc(f)) != EOF) {
    line += char(c);
    if (c == '\n') break;
  }
  return !line.empty();
}

// Room left under a resource limit, given what is in use; UINTMAX_MAX
// when there is no limit.
uintmax_t RoomUnder(int resource, uintmax_t inUse) {
  rlimit lim{};
  if (getrlimit(resource, &lim) != 0 || lim.rlim_cur == RLIM_INFINITY) return UINTMAX_MAX;
  return uintmax_t(lim.rlim_cur) > inUse ? uintmax_t(lim.rlim_cur) - inUse : 0;
}

// Number field (from 0) after the word key (after the start when key is
// null) of a /proc file, times unit; UINTMAX_MAX when it cannot be read.
uintmax_t ProcNumber(const char* file, const char* key, int field, uintmax_t unit) {
  std::ifstream in(file);
  std::string word;
  uintmax_t value = 0;
  if (key) {
    while (in >> word && word != key) {
    }
  }
  for (int i = 0; i <= field; ++i)
    if (!(in >> value)) return UINTMAX_MAX;
  return value > UINTMAX_MAX / unit ? UINTMAX_MAX : value * unit;
}

}  // namespace

std::string FolderOf(const std::string& path) {
  size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

std::string LeafOf(const std::string& path) {
  size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

uintmax_t LoadLimit(uintmax_t cap, uintmax_t addressRoom, uintmax_t dataRoom, uintmax_t memAvailable) {
  uintmax_t limit = cap;
  for (uintmax_t room : {addressRoom, dataRoom, memAvailable})
    if (room < limit) limit = room;
  return limit;
}

uintmax_t LoadLimit() {
  uintmax_t page = uintmax_t(sysconf(_SC_PAGESIZE));
  // statm: total program size, then resident, shared, text, lib, data.
  uintmax_t size = ProcNumber("/proc/self/statm", nullptr, 0, page);
  uintmax_t data = ProcNumber("/proc/self/statm", nullptr, 5, page);
  uintmax_t available = ProcNumber("/proc/meminfo", "MemAvailable:", 0, 1024);
  return LoadLimit(kLoadSizeCap, RoomUnder(RLIMIT_AS, size == UINTMAX_MAX ? 0 : size),
                   RoomUnder(RLIMIT_DATA, data == UINTMAX_MAX ? 0 : data), available);
}

char* ReadWholeFile(const char* path, size_t* length, FileStamp* stamp, uintmax_t* tooLarge) {
  if (length) *length = 0;
  if (stamp) *stamp = FileStamp();
  if (tooLarge) *tooLarge = 0;
  if (Empty(path)) return nullptr;
  // Non-blocking so a FIFO named here cannot hang the program in open(); it
  // then fails the size check below. Regular files are unaffected.
  int fd = open(path, O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return nullptr;
  struct stat st {};
  off_t size = -1;
  if (fstat(fd, &st) == 0 && !S_ISDIR(st.st_mode)) size = lseek(fd, 0, SEEK_END);
  // Taken before the read: a writer that changes the file meanwhile leaves
  // a later time than the one recorded, so the change is noticed.
  FileStamp before = StampOfStat(st);
  if (size < 0 || lseek(fd, 0, SEEK_SET) < 0) {
    close(fd);
    return nullptr;
  }
  // Refused before any memory is taken: a huge or sparse file, perhaps
  // swapped in by someone else, must not end the program.
  if (uintmax_t(size) > LoadLimit()) {
    if (tooLarge) *tooLarge = uintmax_t(size);
    close(fd);
    return nullptr;
  }
  size_t want = size_t(size);
  char* buf = static_cast<char*>(XkMalloc(want + 1));
  size_t got = 0;
  while (got < want) {
    ssize_t n = read(fd, buf + got, want - got);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      std::free(buf);
      close(fd);
      return nullptr;
    }
    if (n == 0) break;  // the file shrank meanwhile
    got += size_t(n);
  }
  close(fd);
  buf[got] = '\0';
  if (length) *length = got;
  if (stamp) *stamp = before;
  return buf;
}

void WriteWholeFile(const char* path, const char* text, int& status) {
  status = 1;
  if (!WriteFileMode(path, "w", text, text ? std::strlen(text) : 0)) status = 0;
}

int IsRegularFile(const char* path) {
  struct stat st;
  return !Empty(path) && stat(path, &st) == 0 && S_ISREG(st.st_mode) ? 1 : 0;
}

int IsDirectory(const char* path) {
  struct stat st;
  return !Empty(path) && stat(path, &st) == 0 && S_ISDIR(st.st_mode) ? 1 : 0;
}

bool IsFileNameChar(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
         (c >= '0' && c <= '9') || c == '-' || c == '_' || c == '.';
}

bool IsPathChar(char c) { return IsFileNameChar(c) || c == '~' || c == '/'; }

int IsFileName(const char* s) {
  if (Empty(s)) return 0;
  for (; *s; ++s)
    if (!IsFileNameChar(*s)) return 0;
  return 1;
}

int IsPathName(const char* s) {
  if (Empty(s)) return 0;
  for (; *s; ++s)
    if (!IsPathChar(*s)) return 0;
  return 1;
}

void CreateEmptyFile(const char* path, int& status) {
  status = WriteFileMode(path, "w", "", 0) ? 1 : 0;
}

void MakeDirectory(const char* path, int& status) {
  status = !Empty(path) && mkdir(path, 0777) == 0 ? 1 : 0;
}

void AppendToFile(const char* path, const char* text, int& status) {
  status = WriteFileMode(path, "a", text, text ? std::strlen(text) : 0) ? 1 : 0;
}

void PrependToFile(const char* path, const char* text, int& status) {
  status = 1;
  if (Empty(path)) {
    status = 0;
    return;
  }
  std::string data = text ? text : "";
  if (access(path, F_OK) != 0) {
    if (!WriteFileMode(path, "w", data.data(), data.size())) status = 0;
    return;
  }
  size_t oldLength = 0;
  char* old = ReadWholeFile(path, &oldLength);
  if (!old) {  // exists but unreadable: keep it as it is
    status = 0;
    return;
  }
  data.append(old, oldLength);
  std::free(old);
  if (!ReplaceContents(path, data)) status = 0;
}

void CopyFile(const char* dest, const char* source, int& status) {
  status = 0;
  if (Empty(dest) || Empty(source) || SameFile(dest, source)) return;
  FilePtr in(std::fopen(source, "rb"));
  if (!in) return;
  FILE* out = std::fopen(dest, "wb");
  if (!out) return;
  char chunk[8192];
  bool ok = true;
  size_t n;
  while (ok && (n = std::fread(chunk, 1, sizeof chunk, in.get())) > 0)
    ok = std::fwrite(chunk, 1, n, out) == n;
  if (std::ferror(in.get())) ok = false;
  ok = WriteAllAndClose(out, nullptr, 0) && ok;
  status = ok ? 1 : 0;
}

void ReplaceFileSection(const char* target, const char* insert,
                        const char* marker, int& status) {
  if (status == 0) return;
  status = 0;
  if (!marker || !IsRegularFile(target) || !IsRegularFile(insert)) return;
  FilePtr in(std::fopen(target, "rb"));
  if (!in) return;
  std::string out, line;
  bool first = false;
  while (!first && NextLine(in.get(), line)) {
    out += line;
    first = StartsWith(line, marker);
  }
  if (!first) return;
  size_t insertLength = 0;
  char* body = ReadWholeFile(insert, &insertLength);
  if (!body) return;
  out.append(body, insertLength);
  std::free(body);
  bool second = false;
  while (!second && NextLine(in.get(), line)) second = StartsWith(line, marker);
  if (!second) return;
  out += line;
  while (NextLine(in.get(), line)) out += line;
  if (std::ferror(in.get())) return;
  in.reset();
  if (ReplaceContents(target, out)) status = 1;
}
