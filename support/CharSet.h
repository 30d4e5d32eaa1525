// CharSet.h: a set of 7-bit characters, the global sets built from it and
// the two case translation tables.
//
//   CharSet noDigits(AllChars);
//   noDigits.Subtract(DigitChars);
//   text.RemoveChars(noDigits);          // keeps only the digits
//
// Code 0 is never a member, so a scan never runs past a terminator; codes
// outside 1..127 are never members.
#pragma once

#include <array>

class CharSet {
 public:
  constexpr CharSet() : flags_{} {}
  // All of codes 1..127 when full, else empty.
  constexpr explicit CharSet(bool full) : flags_{} {
    if (full)
      for (int c = 1; c < 128; ++c) flags_[c] = 1;
  }
  constexpr CharSet(const char* chars) : flags_{} { Add(chars); }
  constexpr CharSet(const CharSet&) = default;

  constexpr CharSet& operator=(const CharSet&) = default;
  constexpr CharSet& operator=(const char* chars) { Clear(); return Add(chars); }
  constexpr CharSet& operator=(char c) { Clear(); return Add(c); }

  constexpr CharSet& Add(const char* chars) {
    for (const char* p = chars; p && *p; ++p) Add(*p);
    return *this;
  }
  constexpr CharSet& Add(char c) {
    if (Valid(c)) flags_[Code(c)] = 1;
    return *this;
  }
  constexpr CharSet& Remove(const char* chars) {
    for (const char* p = chars; p && *p; ++p) Remove(*p);
    return *this;
  }
  constexpr CharSet& Remove(char c) {
    if (Valid(c)) flags_[Code(c)] = 0;
    return *this;
  }
  constexpr CharSet& Union(const CharSet& other) {
    for (int c = 1; c < 128; ++c) flags_[c] |= other.flags_[c];
    return *this;
  }
  // Clears every member of other.
  constexpr CharSet& Subtract(const CharSet& other) {
    for (int c = 1; c < 128; ++c)
      if (other.flags_[c]) flags_[c] = 0;
    return *this;
  }
  // Flips codes 1..127.
  constexpr CharSet& Complement() {
    for (int c = 1; c < 128; ++c) flags_[c] = !flags_[c];
    return *this;
  }

  constexpr bool Contains(char c) const { return Valid(c) && flags_[Code(c)]; }

  // Scans over zero-terminated text.
  // The first character in the set, else the terminator.
  const char* FirstIn(const char* text) const;
  // The first character not in the set (the terminator at the latest).
  const char* SkipIn(const char* text) const;
  // The last character in the set, scanning from the end; null when none.
  const char* LastIn(const char* text) const;
  // The last character not in the set; null when none.
  const char* LastNotIn(const char* text) const;

 private:
  // By unsigned code, so bytes above 127 stay out where char is unsigned too.
  static constexpr unsigned Code(char c) { return static_cast<unsigned char>(c); }
  static constexpr bool Valid(char c) { return Code(c) - 1 < 127; }  // 1..127
  constexpr void Clear() {
    for (auto& f : flags_) f = 0;
  }
  unsigned char flags_[128];
};

// Built at compile time, so usable from any static initialiser.
extern const CharSet AllChars;    // codes 1..127
extern const CharSet NoChars;
extern const CharSet UpperChars;  // A-Z
extern const CharSet LowerChars;  // a-z
extern const CharSet DigitChars;  // 0-9
extern const CharSet WhiteChars;  // space \n \t \v \b \r \f
extern const CharSet NameChars;   // letters, digits, '.', '_'

// A translation table maps each code 0..127 to a character.
using CharTable = std::array<char, 128>;

namespace charset_detail {
constexpr CharTable CaseTable(char from, char to) {
  CharTable t{};
  for (int c = 0; c < 128; ++c) t[c] = char(c);
  for (int i = 0; i < 26; ++i) t[from + i] = char(to + i);
  return t;
}
}  // namespace charset_detail

// Identity tables except for the letters of the other case.
inline constexpr CharTable ToUpperTable = charset_detail::CaseTable('a', 'A');
inline constexpr CharTable ToLowerTable = charset_detail::CaseTable('A', 'a');
