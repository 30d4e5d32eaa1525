// StrArray.h: a growable array of Str, with splitting of a text into words
// at separator characters or into the matches of a pattern.
//
//   StrArray ids;
//   ids.Split(quickItems, WhiteChars);     // "  cpp\tada \n" -> cpp, ada
//   for (size_t i = 0; i < ids.Count(); ++i) use(ids.At(i));
//
// The array grows in steps of 32 slots; At past the end adds empty texts.
#pragma once

#include <cstddef>
#include <vector>

#include "support/CharSet.h"
#include "support/Str.h"

class StrArray {
 public:
  StrArray();  // capacity 32, count 0
  StrArray(const StrArray&) = default;
  StrArray& operator=(const StrArray&) = default;
  virtual ~StrArray();

  size_t Count() const { return count_; }
  size_t Capacity() const { return items_.size(); }
  // Forgets the elements; the slots stay allocated.
  void Clear() { count_ = 0; }
  void Add(const Str& text);
  void Add(const char* text);
  // Element i; empty texts are added first while the array is shorter.
  Str& At(size_t i);
  // Element i; an empty text when i is past the end.
  const Str& At(size_t i) const;
  // Index of the first equal element, or -1.
  long IndexOf(const Str& text) const;
  long IndexOf(const char* text) const;
  // Removes element i, moving the later ones down; nothing past the end.
  void RemoveAt(size_t i);

  // Clears, then adds each maximal run of characters not in separators.
  void Split(const Str& text, const CharSet& separators);
  // Clears, then adds every non-overlapping (longest, non-empty) match of
  // pattern in text, left to right. Returns false, adding nothing, for a
  // malformed pattern. Pattern language:
  //   c       the character itself      \c      c taken literally
  //   ?       any character             #       a digit
  //   @       a letter                  $       any non-white character
  //   [a-z_]  a class ([^...] complement, \ escapes inside)
  //   (p)     a group                   p|q     either
  //   p*  zero or more   p+  one or more   p%  zero or one
  bool SplitByPattern(const Str& text, const char* pattern);

 private:
  std::vector<Str> items_;  // all slots; the first count_ are in use
  size_t count_ = 0;
};
