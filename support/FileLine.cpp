// FileLine: FILE:LINE references in report lines.
#include "support/FileLine.h"

#include <climits>
#include <cstring>
#include <string>

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Reads the digits at text[at...]; saturates at LONG_MAX. Returns the
// offset behind them (at when there are none).
size_t Digits(std::string_view text, size_t at, long& value) {
  value = 0;
  size_t i = at;
  for (; i < text.size() && IsDigit(text[i]); ++i)
    value = value > (LONG_MAX - 9) / 10 ? LONG_MAX : value * 10 + (text[i] - '0');
  return i;
}

bool EndsField(std::string_view text, size_t at) {
  return at == text.size() || text[at] == ':' || text[at] == ' ' || text[at] == '\t' || text[at] == '\n' ||
         text[at] == '\r';
}

}  // namespace

bool ParseFileLine(std::string_view text, FileLineRef& out) {
  for (size_t colon = text.find(':'); colon != std::string_view::npos; colon = text.find(':', colon + 1)) {
    if (colon == 0) continue;
    long line = 0;
    size_t after = Digits(text, colon + 1, line);
    if (after == colon + 1 || !EndsField(text, after)) continue;
    if (line < 1) return false;
    long column = 0;
    if (after < text.size() && text[after] == ':') {
      size_t behind = Digits(text, after + 1, column);
      if (behind == after + 1 || !EndsField(text, behind)) column = 0;
    }
    out.file = text.substr(0, colon);
    out.line = line;
    out.column = column;
    return true;
  }
  return false;
}

size_t ColumnByte(std::string_view line, long column) {
  size_t i = 0;
  for (long c = 1; c < column && i < line.size(); ++c) {
    ++i;
    while (i < line.size() && (static_cast<unsigned char>(line[i]) & 0xC0) == 0x80) ++i;
  }
  return i;
}

std::vector<ReportLine> FindFileLines(std::string_view report,
                                      const std::function<bool(std::string_view file)>& wanted) {
  std::vector<ReportLine> found;
  std::string lastFile;
  bool lastWanted = false, haveLast = false;
  size_t begin = 0;
  while (begin < report.size()) {
    const void* nl = std::memchr(report.data() + begin, '\n', report.size() - begin);
    size_t end = nl ? size_t(static_cast<const char*>(nl) - report.data()) : report.size();
    FileLineRef ref;
    std::string_view line = report.substr(begin, end - begin);
    // Only lines whose reference is followed by a colon: "m.dsm:3: error".
    if (ParseFileLine(line, ref) && ref.file.size() < line.size()) {
      size_t after = ref.file.size() + 1;
      while (after < line.size() && (IsDigit(line[after]) || line[after] == ':')) ++after;
      if (line[after - 1] == ':') {
        if (!haveLast || ref.file != lastFile) {
          lastFile.assign(ref.file);
          lastWanted = wanted(ref.file);
          haveLast = true;
        }
        if (lastWanted) found.push_back({begin, end, ref.line, ref.column});
      }
    }
    begin = end + 1;
  }
  return found;
}
