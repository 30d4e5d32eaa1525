// Str.cpp: the string type's buffer management and editing operations.
#include "support/Str.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "support/Memory.h"

namespace {

constexpr size_t kDefaultCapacity = 32;
constexpr size_t kEmptyRangeCapacity = 64;
constexpr size_t kAppendSlack = 64;

char* NewBuffer(size_t capacity) {
  char* p = static_cast<char*>(XkMalloc(capacity));
  p[0] = '\0';
  return p;
}

// Length of first..last inclusive, stopping at a terminator; 0 when the
// range is empty or does not start on a character.
size_t SpanLength(const char* first, const char* last) {
  if (!first || !last || !*first || first > last) return 0;
  size_t n = size_t(last - first) + 1;
  const void* nul = std::memchr(first, '\0', n);
  return nul ? size_t(static_cast<const char*>(nul) - first) : n;
}

}  // namespace

Str::Str() : data_(NewBuffer(kDefaultCapacity)), capacity_(kDefaultCapacity), size_(1) {}

Str::Str(const char* text) {
  size_t n = text ? std::strlen(text) : 0;
  capacity_ = size_ = XkAddSizes(n, 1);
  data_ = NewBuffer(capacity_);
  if (n) std::memcpy(data_, text, n + 1);
}

Str::Str(const Str& other)
    : data_(NewBuffer(other.capacity_)), capacity_(other.capacity_), size_(other.size_) {
  std::memcpy(data_, other.data_, size_);
}

Str::Str(const Str& source, StrRange range) {
  if (range.length == 0 || range.start >= source.Length()) {
    data_ = NewBuffer(kEmptyRangeCapacity);
    capacity_ = kEmptyRangeCapacity;
    size_ = 1;
    return;
  }
  size_t n = std::min(range.length, source.Length() - range.start);
  capacity_ = size_ = n + 1;
  data_ = NewBuffer(capacity_);
  std::memcpy(data_, source.data_ + range.start, n);
  data_[n] = '\0';
}

Str::Str(const char* first, const char* last) {
  size_t n = SpanLength(first, last);
  capacity_ = size_ = n + 1;
  data_ = NewBuffer(capacity_);
  if (n) std::memcpy(data_, first, n);
  data_[n] = '\0';
}

Str::~Str() { std::free(data_); }

void Str::Reserve(size_t capacity) {
  if (capacity <= capacity_) return;
  data_ = static_cast<char*>(XkRealloc(data_, capacity));
  capacity_ = capacity;
}

void Str::SetEmpty(size_t capacity) {
  std::free(data_);
  data_ = NewBuffer(capacity);
  capacity_ = capacity;
  size_ = 1;
}

Str& Str::operator=(const Str& other) {
  if (this != &other) AssignBytes(other.data_, other.Length());
  return *this;
}

Str& Str::operator=(const char* text) {
  if (!text) {
    data_[0] = '\0';
    size_ = 1;
    return *this;
  }
  AssignBytes(text, std::strlen(text));
  return *this;
}

Str& Str::Assign(const char* first, const char* last) {
  AssignBytes(first, SpanLength(first, last));
  return *this;
}

void Str::AssignBytes(const char* p, size_t n) {
  // The source may lie inside our own buffer, which growing would move.
  if (n + 1 > capacity_ && p >= data_ && p < data_ + capacity_) {
    Str copy;
    copy.AssignBytes(p, n);
    AssignBytes(copy.data_, n);
    return;
  }
  Reserve(XkAddSizes(n, 1));
  if (n) std::memmove(data_, p, n);
  data_[n] = '\0';
  size_ = n + 1;
}

void Str::Adopt(char* heapBuffer) {
  if (!heapBuffer) {
    SetEmpty(1);
    return;
  }
  std::free(data_);
  data_ = heapBuffer;
  capacity_ = size_ = std::strlen(heapBuffer) + 1;
}

void Str::AppendBytes(const char* p, size_t n) {
  if (n == 0) return;
  size_t newSize = XkAddSizes(size_, n);
  if (newSize > capacity_) {
    // Appending a piece of ourselves: remember where it sits.
    bool inside = p >= data_ && p < data_ + capacity_;
    size_t offset = inside ? size_t(p - data_) : 0;
    Reserve(XkAddSizes(newSize, kAppendSlack));
    if (inside) p = data_ + offset;
  }
  std::memmove(data_ + size_ - 1, p, n);
  size_ = newSize;
  data_[size_ - 1] = '\0';
}

Str& Str::operator+=(const Str& other) {
  AppendBytes(other.data_, other.Length());
  return *this;
}

Str& Str::operator+=(const char* text) {
  if (text) AppendBytes(text, std::strlen(text));
  return *this;
}

Str& Str::operator+=(char c) {
  AppendBytes(&c, 1);
  return *this;
}

Str operator+(const Str& left, const Str& right) {
  Str result(left);
  result += right;
  return result;
}

Str operator+(const Str& left, const char* right) {
  Str result(left);
  result += right;
  return result;
}

bool Str::operator==(const Str& other) const {
  return size_ == other.size_ && std::memcmp(data_, other.data_, size_) == 0;
}

bool Str::operator==(const char* text) const {
  return std::strcmp(data_, text ? text : "") == 0;
}

StrRange Str::Find(const char* needle) const {
  if (!needle) return {};
  const char* hit = std::strstr(data_, needle);
  if (!hit) return {};
  return {size_t(hit - data_), std::strlen(needle)};
}

StrRange Str::Find(char c) const {
  if (c == '\0') return {};
  const char* hit = std::strchr(data_, c);
  if (!hit) return {};
  return {size_t(hit - data_), 1};
}

void Str::Erase(StrRange range) {
  size_t len = Length();
  if (range.length == 0 || range.start >= len) return;
  size_t n = std::min(range.length, len - range.start);
  std::memmove(data_ + range.start, data_ + range.start + n, size_ - range.start - n);
  size_ -= n;
}

void Str::Replace(StrRange range, const char* text) {
  size_t len = Length();
  if (range.length == 0 || !text || !*text || range.start > len) return;
  size_t cut = std::min(range.length, len - range.start);
  Str replacement(text);  // text may point into this very string
  Str tail(data_ + range.start + cut);
  size_ = range.start + 1;
  data_[range.start] = '\0';
  *this += replacement;
  *this += tail;
}

void Str::ReplaceAll(const char* what, const char* with) {
  if (!what || !*what) return;  // an empty needle would never advance
  const char* hit = std::strstr(data_, what);
  if (!hit) return;
  size_t whatLen = std::strlen(what);
  Str result;
  const char* from = data_;
  for (; hit; hit = std::strstr(from, what)) {
    result.AppendBytes(from, size_t(hit - from));
    result += with;
    from = hit + whatLen;
  }
  result += from;
  *this = result;
}

void Str::Keep(StrRange range) {
  if (range.start > size_ || range.length > size_ - range.start) return;
  size_t n = range.start < Length() ? std::min(range.length, Length() - range.start) : 0;
  std::memmove(data_, data_ + range.start, n);
  data_[n] = '\0';
  size_ = n + 1;
}

void Str::Resize(size_t n) {
  if (n < size_) {
    data_[n] = '\0';
    size_ = n + 1;
  } else {
    Reserve(XkAddSizes(n, 1));
  }
}

char& Str::At(size_t i) {
  while (i >= Length()) *this += ' ';
  return data_[i];
}

void Str::RemoveChars(const CharSet& set) {
  size_t out = 0;
  for (size_t in = 0; in < Length(); ++in)
    if (!set.Contains(data_[in])) data_[out++] = data_[in];
  data_[out] = '\0';
  size_ = out + 1;
}

void Str::Squeeze(const CharSet& set) {
  size_t out = 0;
  for (size_t in = 0; in < Length(); ++in) {
    bool member = set.Contains(data_[in]);
    if (member && in > 0 && set.Contains(data_[in - 1])) continue;
    data_[out++] = data_[in];
  }
  data_[out] = '\0';
  size_ = out + 1;
}

void Str::TrimLeft(const CharSet& set) {
  size_t skip = size_t(set.SkipIn(data_) - data_);
  if (skip) Erase({0, skip});
}

void Str::TrimRight(const CharSet& set) {
  size_t n = Length();
  while (n > 0 && set.Contains(data_[n - 1])) --n;
  data_[n] = '\0';
  size_ = n + 1;
}

void Str::Translate(const CharTable& table) {
  for (size_t i = 0; i < Length(); ++i) {
    unsigned char c = static_cast<unsigned char>(data_[i]);
    if (c < 128) data_[i] = table[c];
  }
}
