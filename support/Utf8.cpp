// Utf8: validity, counting and Latin-1 conversion of UTF-8 bytes.
#include "support/Utf8.h"

#include <cstdint>
#include <cstring>

namespace utf8 {

namespace {

inline bool Cont(unsigned char c) { return (c & 0xC0) == 0x80; }

// Plain ASCII runs are the common case: skip them eight bytes at a time.
inline size_t AsciiRun(const unsigned char* p, size_t n) {
  size_t i = 0;
  for (; i + 8 <= n; i += 8) {
    uint64_t w;
    std::memcpy(&w, p + i, 8);
    if (w & 0x8080808080808080ull) break;
  }
  while (i < n && p[i] < 0x80) ++i;
  return i;
}

}  // namespace

size_t SequenceLength(std::string_view s) {
  if (s.empty()) return 0;
  auto p = reinterpret_cast<const unsigned char*>(s.data());
  unsigned char c = p[0];
  if (c < 0x80) return 1;
  size_t n = s.size();
  if (c >= 0xC2 && c <= 0xDF) return n >= 2 && Cont(p[1]) ? 2 : 0;
  if (c >= 0xE0 && c <= 0xEF) {
    if (n < 3 || !Cont(p[1]) || !Cont(p[2])) return 0;
    if (c == 0xE0 && p[1] < 0xA0) return 0;   // overlong
    if (c == 0xED && p[1] >= 0xA0) return 0;  // surrogate
    return 3;
  }
  if (c >= 0xF0 && c <= 0xF4) {
    if (n < 4 || !Cont(p[1]) || !Cont(p[2]) || !Cont(p[3])) return 0;
    if (c == 0xF0 && p[1] < 0x90) return 0;  // overlong
    if (c == 0xF4 && p[1] >= 0x90) return 0; // above U+10FFFF
    return 4;
  }
  return 0;
}

size_t ValidPrefix(std::string_view s) {
  auto p = reinterpret_cast<const unsigned char*>(s.data());
  size_t i = 0;
  while (i < s.size()) {
    i += AsciiRun(p + i, s.size() - i);
    if (i == s.size()) break;
    size_t len = SequenceLength(s.substr(i));
    if (len == 0) break;
    i += len;
  }
  return i;
}

bool IsAscii(std::string_view s) {
  return AsciiRun(reinterpret_cast<const unsigned char*>(s.data()), s.size()) == s.size();
}

size_t CountChars(std::string_view s) {
  auto p = reinterpret_cast<const unsigned char*>(s.data());
  size_t n = 0;
  // A simple loop the compiler turns into vector code.
  for (size_t i = 0; i < s.size(); ++i) n += !Cont(p[i]);
  return n;
}

size_t SkipChars(std::string_view s, size_t from, size_t chars) {
  auto p = reinterpret_cast<const unsigned char*>(s.data());
  size_t i = from;
  // Whole blocks first: a block of k bytes holding at most the remaining
  // count of sequence starts can be passed by counting alone.
  constexpr size_t kBlock = 256;
  while (chars > kBlock && i + kBlock <= s.size()) {
    size_t n = CountChars(s.substr(i, kBlock));
    if (n > chars) break;
    chars -= n;
    i += kBlock;
  }
  // Then character by character: stop on the start of character `chars`.
  while (i < s.size()) {
    if (!Cont(p[i])) {
      if (chars == 0) return i;
      --chars;
    }
    ++i;
  }
  return s.size();
}

std::string FromLatin1(std::string_view latin1) {
  std::string out;
  out.reserve(latin1.size() + latin1.size() / 8);
  for (unsigned char c : latin1) {
    if (c < 0x80) {
      out += char(c);
    } else {
      out += char(0xC0 | (c >> 6));
      out += char(0x80 | (c & 0x3F));
    }
  }
  return out;
}

bool ToLatin1(std::string_view s, std::string& out, size_t* badChar) {
  std::string result;
  result.reserve(s.size());
  auto p = reinterpret_cast<const unsigned char*>(s.data());
  for (size_t i = 0; i < s.size(); ++i) {
    unsigned char c = p[i];
    if (c < 0x80) {
      result += char(c);
    } else if ((c == 0xC2 || c == 0xC3) && i + 1 < s.size() && Cont(p[i + 1])) {
      result += char(((c & 0x03) << 6) | (p[i + 1] & 0x3F));
      ++i;
    } else {
      if (badChar) *badChar = i;
      return false;
    }
  }
  out = std::move(result);
  return true;
}

std::string Repair(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  size_t i = 0;
  while (i < s.size()) {
    size_t good = ValidPrefix(s.substr(i));
    out.append(s.substr(i, good));
    i += good;
    if (i < s.size()) {
      out += FromLatin1(s.substr(i, 1));
      ++i;
    }
  }
  return out;
}

}  // namespace utf8
