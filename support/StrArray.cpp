// StrArray.cpp: the string array and its two ways of splitting a text.
#include "support/StrArray.h"

#include <cstring>

#include "support/Pattern.h"

namespace {
constexpr size_t kSlotStep = 32;
}

StrArray::StrArray() : items_(kSlotStep) {}

StrArray::~StrArray() = default;

void StrArray::Add(const Str& text) {
  if (count_ + 1 >= items_.size()) {
    Str keep(text);  // text may be one of our elements, which growing moves
    items_.resize(items_.size() + kSlotStep);
    items_[count_++] = keep;
    return;
  }
  items_[count_++] = text;
}

void StrArray::Add(const char* text) {
  if (count_ + 1 >= items_.size()) {
    Add(Str(text));
    return;
  }
  items_[count_++] = text;
}

Str& StrArray::At(size_t i) {
  while (count_ <= i) Add("");
  return items_[i];
}

const Str& StrArray::At(size_t i) const {
  static const Str empty;
  return i < count_ ? items_[i] : empty;
}

long StrArray::IndexOf(const Str& text) const {
  for (size_t i = 0; i < count_; ++i)
    if (items_[i] == text) return long(i);
  return -1;
}

long StrArray::IndexOf(const char* text) const {
  for (size_t i = 0; i < count_; ++i)
    if (items_[i] == text) return long(i);
  return -1;
}

void StrArray::RemoveAt(size_t i) {
  if (i >= count_) return;
  for (size_t j = i + 1; j < count_; ++j) items_[j - 1] = items_[j];
  --count_;
}

void StrArray::Split(const Str& text, const CharSet& separators) {
  const Str source(text);  // text may be one of ours, which the adds overwrite
  Clear();
  const char* p = source.c_str();
  for (;;) {
    p = separators.SkipIn(p);
    if (!*p) break;
    const char* end = p;
    while (*end && !separators.Contains(*end)) ++end;
    Add(Str(p, end - 1));
    p = end;
  }
}

bool StrArray::SplitByPattern(const Str& text, const char* pattern) {
  const Str source(text);  // text may be one of ours, which the adds overwrite
  Clear();
  Pattern compiled;
  if (!compiled.Compile(pattern)) return false;
  const char* t = source.c_str();
  for (size_t pos = 0; t[pos];) {
    long n = compiled.LongestMatch(t + pos);
    if (n > 0) {
      Add(Str(t + pos, t + pos + n - 1));
      pos += size_t(n);
    } else {
      ++pos;  // no match here, or only an empty one
    }
  }
  return true;
}
