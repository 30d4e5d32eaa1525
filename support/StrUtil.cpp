// StrUtil.cpp: plain string routines.
#include "support/StrUtil.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "support/CharSet.h"
#include "support/Memory.h"

namespace {

char* NewCopy(const char* p, size_t n) {
  char* r = static_cast<char*>(XkMalloc(XkAddSizes(n, 1)));
  if (n) std::memcpy(r, p, n);
  r[n] = '\0';
  return r;
}

bool White(char c) { return WhiteChars.Contains(c); }

// table[c] for codes 0..127; other bytes (negative or not) stay as they are.
char Mapped(const CharTable& table, char c) {
  unsigned char code = static_cast<unsigned char>(c);
  return code < 128 ? table[code] : c;
}

}  // namespace

bool StrIsWhite(const char* s) {
  if (!s) return true;
  return *WhiteChars.SkipIn(s) == '\0';
}

char* StrDeleteWhite(char* s) {
  if (!s) return s;
  char* out = s;
  for (char* p = s; *p; ++p)
    if (!White(*p)) *out++ = *p;
  *out = '\0';
  return s;
}

char* StrTrimRight(char* s) {
  if (!s) return s;
  size_t n = std::strlen(s);
  while (n > 0 && White(s[n - 1])) --n;
  s[n] = '\0';
  return s;
}

char* StrTrimLeftCollapse(char* s) {
  if (!s) return s;
  char* out = s;
  const char* p = WhiteChars.SkipIn(s);
  while (*p) {
    if (White(*p)) {
      *out++ = ' ';
      p = WhiteChars.SkipIn(p);
    } else {
      *out++ = *p++;
    }
  }
  *out = '\0';
  return s;
}

char* StrUpper(char* s) {
  for (char* p = s; p && *p; ++p)
    *p = Mapped(ToUpperTable, *p);
  return s;
}

char* StrLower(char* s) {
  for (char* p = s; p && *p; ++p)
    *p = Mapped(ToLowerTable, *p);
  return s;
}

const char* StrCapitalize(char* s) {
  static const char empty[] = "";
  if (!s || !*s) return empty;
  StrLower(s + 1);
  s[0] = Mapped(ToUpperTable, s[0]);
  return s;
}

char* StrDup(const char* s) { return NewCopy(s ? s : "", s ? std::strlen(s) : 0); }

char* StrJoin(const char* a, const char* b) { return StrJoin(a, b, nullptr); }

char* StrJoin(const char* a, const char* b, const char* c) {
  size_t la = a ? std::strlen(a) : 0, lb = b ? std::strlen(b) : 0,
         lc = c ? std::strlen(c) : 0;
  char* r = static_cast<char*>(XkMalloc(XkAddSizes(XkAddSizes(la, lb), XkAddSizes(lc, 1))));
  if (la) std::memcpy(r, a, la);
  if (lb) std::memcpy(r + la, b, lb);
  if (lc) std::memcpy(r + la + lb, c, lc);
  r[la + lb + lc] = '\0';
  return r;
}

char* StrCopyRange(const char* s, size_t from, size_t to) {
  size_t n = s ? std::strlen(s) : 0;
  if (from >= n || to < from) return NewCopy("", 0);
  if (to >= n) to = n - 1;
  return NewCopy(s + from, to - from + 1);
}

char* StrCopyBetween(const char* first, const char* last) {
  if (!first || !last || first > last) return NewCopy("", 0);
  size_t n = size_t(last - first) + 1;
  const void* nul = std::memchr(first, '\0', n);
  if (nul) n = size_t(static_cast<const char*>(nul) - first);
  return NewCopy(first, n);
}

char* StrPadRight(const char* s, size_t width, char fill) {
  size_t n = s ? std::min(std::strlen(s), width) : 0;
  char* r = static_cast<char*>(XkMalloc(XkAddSizes(width, 1)));
  if (n) std::memcpy(r, s, n);
  std::memset(r + n, fill, width - n);
  r[width] = '\0';
  return r;
}

char* StrPadLeft(const char* s, size_t width, char fill) {
  size_t n = s ? std::min(std::strlen(s), width) : 0;
  char* r = static_cast<char*>(XkMalloc(XkAddSizes(width, 1)));
  std::memset(r, fill, width - n);
  if (n) std::memcpy(r + width - n, s, n);
  r[width] = '\0';
  return r;
}

char* StrField(const char* s, size_t n, char sep) {
  if (!s) return NewCopy("", 0);
  const char* p = s;
  for (size_t i = 0; i < n; ++i) {
    p = std::strchr(p, sep);
    if (!p || sep == '\0') return NewCopy("", 0);
    ++p;
  }
  const char* end = std::strchr(p, sep);
  return NewCopy(p, end ? size_t(end - p) : std::strlen(p));
}

uint16_t StrHash16(const char* s) {
  static unsigned char table[256];
  static bool shuffled = false;
  if (!shuffled) {
    for (int i = 0; i < 256; ++i) table[i] = static_cast<unsigned char>(i);
    for (int i = 255; i > 0; --i) {
      int j = std::rand() % (i + 1);
      std::swap(table[i], table[j]);
    }
    shuffled = true;
  }
  if (!s || !*s) return 0;
  auto byte = [](char c) { return static_cast<unsigned char>(c); };
  unsigned char h1 = table[byte(s[0])];
  unsigned char h2 = table[(byte(s[0]) + 1) & 0xff];
  for (const char* p = s + 1; *p; ++p) {
    h1 = table[h1 ^ byte(*p)];
    h2 = table[h2 ^ byte(*p)];
  }
  return uint16_t(h1 << 8 | h2);
}

bool StrWildMatch(const char* pattern, const char* text) {
  if (!pattern || !text) return false;
  // Greedy scan remembering the last '*': linear-time backtracking only to
  // that star, never exponential.
  const char* p = pattern;
  const char* t = text;
  const char* star = nullptr;
  const char* resume = nullptr;
  while (*t) {
    if (*p == '*') {
      star = ++p;
      resume = t;
      continue;
    }
    bool escaped = *p == '\\' && p[1];
    const char* lit = escaped ? p + 1 : p;
    if (*p && ((!escaped && *p == '?') || *lit == *t)) {
      p = lit + 1;
      ++t;
    } else if (star) {
      p = star;
      t = ++resume;
    } else {
      return false;
    }
  }
  while (*p == '*') ++p;
  return *p == '\0';
}
