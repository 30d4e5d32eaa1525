// XmpText.cpp: joining, line counting and the line-limit cut of the message
// widget.
#include "xmp/XmpText.h"

#include <X11/Intrinsic.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <cwchar>

namespace xmp {

std::string JoinPieces(const char* first, va_list rest) {
  std::string out;
  for (const char* p = first; p; p = va_arg(rest, const char*)) out += p;
  return out;
}

long CountLines(std::string_view s) {
  return 1 + static_cast<long>(std::count(s.begin(), s.end(), '\n'));
}

std::optional<std::size_t> CutEnd(std::string_view text, long messageLines,
                                  long maxLines, long noteLines) {
  const long total = CountLines(text) + messageLines;
  if (total < maxLines) return std::nullopt;
  // Drop enough lines that the note, the kept lines and the message fit.
  long drop = std::max(0L, total - maxLines + noteLines);
  std::size_t pos = 0;
  for (;;) {
    pos = text.find('\n', pos);
    if (pos == std::string_view::npos) return text.size();
    if (drop-- == 0) return pos;
    ++pos;
  }
}

long CharPosition(std::string_view text, std::size_t byteOffset) {
  byteOffset = std::min(byteOffset, text.size());
  if (MB_CUR_MAX == 1) return static_cast<long>(byteOffset);
  std::mbstate_t state{};
  long chars = 0;
  std::size_t i = 0;
  while (i < byteOffset) {
    std::size_t n = std::mbrlen(text.data() + i, byteOffset - i, &state);
    if (n == 0 || n == static_cast<std::size_t>(-1) || n == static_cast<std::size_t>(-2)) {
      n = 1;
      state = std::mbstate_t{};
    }
    i += n;
    ++chars;
  }
  return chars;
}

std::string ValidMultibyte(std::string_view s) {
  std::string out(s);
  if (MB_CUR_MAX == 1) return out;
  std::mbstate_t state{};
  for (std::size_t i = 0; i < out.size();) {
    std::size_t n = std::mbrlen(out.data() + i, out.size() - i, &state);
    if (n == static_cast<std::size_t>(-1) || n == static_cast<std::size_t>(-2)) {
      out[i++] = '?';
      state = std::mbstate_t{};
    } else {
      i += n ? n : 1;
    }
  }
  return out;
}

}  // namespace xmp

extern "C" char* XmpConcatStrings(const char* first, ...) {
  va_list rest;
  va_start(rest, first);
  std::string joined = xmp::JoinPieces(first, rest);
  va_end(rest);
  char* out = XtMalloc(static_cast<Cardinal>(joined.size() + 1));
  std::memcpy(out, joined.c_str(), joined.size() + 1);
  return out;
}

extern "C" int XmpCountLines(const char* s) {
  return static_cast<int>(xmp::CountLines(s ? std::string_view(s) : std::string_view()));
}
