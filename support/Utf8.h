// Utf8.h: the byte-level facts about UTF-8 and Latin-1 text that the text
// windows need in a UTF-8 locale: whether bytes are valid UTF-8, how many
// characters a stretch holds, where the n-th character starts, and the
// conversions between Latin-1 files and the UTF-8 text shown.
//
// Validity is the strict one the C library applies (no overlong forms, no
// surrogates, nothing above U+10FFFF), so text judged valid here is text a
// Motif widget in a UTF-8 locale takes whole.
//
//   std::string shown = utf8::IsValid(bytes) ? bytes : utf8::FromLatin1(bytes);
//   size_t chars = utf8::CountChars(shown);             // widget positions
//   size_t at = utf8::SkipChars(shown, 0, 12);           // byte of char 12
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace utf8 {

// Length of the valid UTF-8 sequence at the start of s, 0 when s is empty
// or starts with a byte that begins none.
size_t SequenceLength(std::string_view s);

// Bytes of s up to its first invalid sequence (all of s when valid).
size_t ValidPrefix(std::string_view s);
inline bool IsValid(std::string_view s) { return ValidPrefix(s) == s.size(); }

// True when every byte is below 128: bytes and characters then coincide.
bool IsAscii(std::string_view s);

// Characters in valid UTF-8: the bytes that start a sequence.
size_t CountChars(std::string_view s);

// The byte offset `chars` characters after offset `from` of valid UTF-8,
// or s.size() when the text ends first.
size_t SkipChars(std::string_view s, size_t from, size_t chars);

// Every byte as the Latin-1 character of that code.
std::string FromLatin1(std::string_view latin1);
// Back to Latin-1; false (out untouched past its old content) when a
// character lies beyond U+00FF, with *badChar, if given, its offset in s.
bool ToLatin1(std::string_view s, std::string& out, size_t* badChar = nullptr);

// Valid sequences kept, every other byte read as Latin-1: for texts that
// are shown and never written back, such as a report that quotes names
// from files in several encodings.
std::string Repair(std::string_view s);

}  // namespace utf8
