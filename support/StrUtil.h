// StrUtil.h: routines on plain zero-terminated strings. Those that return a
// new string allocate it with XkMalloc (free it with free); those that take
// a char* work in place and return their argument.
//
//   char* name = StrJoin(dir, "/", file);
//   StrTrimRight(line);
//   if (StrWildMatch("*.tem", name)) ...
#pragma once

#include <cstddef>
#include <cstdint>

// True when s holds only white space (or nothing).
bool StrIsWhite(const char* s);
// Deletes every white-space character.
char* StrDeleteWhite(char* s);
// Deletes trailing white space.
char* StrTrimRight(char* s);
// Deletes leading white space and makes every other run one blank.
char* StrTrimLeftCollapse(char* s);
char* StrUpper(char* s);
char* StrLower(char* s);
// First letter upper case, the rest lower; an empty or null s gives a fixed
// empty text.
const char* StrCapitalize(char* s);

char* StrDup(const char* s);  // null copies as ""
char* StrJoin(const char* a, const char* b);
char* StrJoin(const char* a, const char* b, const char* c);
// Characters from..to inclusive, clipped to the text.
char* StrCopyRange(const char* s, size_t from, size_t to);
// Characters first..last inclusive (stopping at a terminator).
char* StrCopyBetween(const char* first, const char* last);
// s made exactly width characters: filled on the right (PadRight) or the
// left (PadLeft), or cut to width.
char* StrPadRight(const char* s, size_t width, char fill);
char* StrPadLeft(const char* s, size_t width, char fill);
// Field n (from 0) of s split at every sep; "" when s has fewer fields.
char* StrField(const char* s, size_t n, char sep);

// A 16-bit hash from two interleaved byte-permutation hashes; the
// permutation is shuffled with rand() on first use.
uint16_t StrHash16(const char* s);

// Shell-style wildcard match of the whole text: '*' any run, '?' any one
// character, '\' takes the next character literally.
bool StrWildMatch(const char* pattern, const char* text);
