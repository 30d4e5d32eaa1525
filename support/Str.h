// Str.h: the application's string: an owned, zero-terminated byte string
// that grows as needed, and StrRange, the (start, length) result of a search.
//
//   Str cmd = Str("kestb ") + fileName;
//   cmd += " -homedir ";
//   cmd.ReplaceAll("$KESTHOME", homeDir);
//   system(cmd.c_str());
//
// Sizes count bytes including the terminator (Size() == Length() + 1).
// Appends grow the buffer by what is needed plus 64 bytes; assignment
// reallocates only to grow. Running out of memory ends the process (exit 2).
#pragma once

#include <cstddef>

#include "support/CharSet.h"

// A failed search gives (0, 0): test the length.
struct StrRange {
  size_t start = 0;
  size_t length = 0;
};

class Str {
 public:
  Str();                                     // empty, capacity 32
  Str(const char* text);                     // null gives the empty text
  Str(const Str& other);                     // keeps the source's capacity
  Str(const Str& source, StrRange range);    // the range's characters
  Str(const char* first, const char* last);  // first..last inclusive
  ~Str();

  Str& operator=(const Str& other);
  Str& operator=(const char* text);  // null empties the text
  // The characters first..last inclusive, reusing the buffer if it fits.
  Str& Assign(const char* first, const char* last);
  // Takes ownership of a malloc'd, zero-terminated buffer.
  void Adopt(char* heapBuffer);

  Str& operator+=(const Str& other);
  Str& operator+=(const char* text);  // null appends nothing
  Str& operator+=(char c);

  bool operator==(const Str& other) const;
  bool operator==(const char* text) const;  // null compares as ""

  const char* c_str() const { return data_; }
  size_t Length() const { return size_ - 1; }
  size_t Size() const { return size_; }
  size_t Capacity() const { return capacity_; }
  bool IsEmpty() const { return size_ == 1; }

  // First occurrence: its offset and the needle's length; (0, 0) if none.
  StrRange Find(const char* needle) const;
  StrRange Find(const Str& needle) const { return Find(needle.data_); }
  StrRange Find(char c) const;

  // Removes the range's characters (clipped to the text).
  void Erase(StrRange range);
  // Puts text in place of the range; nothing for an empty range or text.
  void Replace(StrRange range, const char* text);
  void Replace(StrRange range, const Str& text) { Replace(range, text.data_); }
  // Replaces every occurrence, left to right without overlap.
  void ReplaceAll(const char* what, const char* with);
  void ReplaceAll(const Str& what, const Str& with) {
    ReplaceAll(what.data_, with.data_);
  }
  // Keeps only the range's characters; nothing when the range ends past
  // the terminator.
  void Keep(StrRange range);
  // Truncates to n characters when n < Size(), else reserves n + 1 bytes.
  void Resize(size_t n);
  // Character i; blanks are appended first when i is past the end.
  char& At(size_t i);
  // Pointer to character i, or to the terminator when i is past the end.
  const char* CharsAt(size_t i) const { return data_ + (i < size_ ? i : size_ - 1); }

  void RemoveChars(const CharSet& set);
  // Each run of set characters becomes its first character.
  void Squeeze(const CharSet& set);
  void TrimLeft(const CharSet& set);
  void TrimRight(const CharSet& set);
  // Every character c becomes table[c]; codes above 127 stay.
  void Translate(const CharTable& table);

 private:
  void Reserve(size_t capacity);        // exactly, when larger
  void AppendBytes(const char* p, size_t n);
  void AssignBytes(const char* p, size_t n);
  void SetEmpty(size_t capacity);

  char* data_;
  size_t capacity_;
  size_t size_;
};

Str operator+(const Str& left, const Str& right);
Str operator+(const Str& left, const char* right);
