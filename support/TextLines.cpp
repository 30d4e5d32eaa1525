// TextLines: shared line and search arithmetic over single-byte texts.
#include "support/TextLines.h"

#include <algorithm>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace textlines {

namespace {

// Big enough that per-read overhead of a widget source vanishes, small
// enough that a scan never holds a second copy of a large text.
constexpr size_t kChunk = 256 * 1024;
// Distance between remembered newline counts.
constexpr size_t kStride = 256 * 1024;

bool IsWhite(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

}  // namespace

std::string_view MemorySource::Read(size_t start, size_t len) {
  if (start >= text_.size()) return {};
  return text_.substr(start, len);
}

size_t CountNewlines(std::string_view text) {
  size_t n = 0;
  const char* p = text.data();
  const char* end = p + text.size();
  while (p < end) {
    const void* hit = std::memchr(p, '\n', size_t(end - p));
    if (!hit) break;
    ++n;
    p = static_cast<const char*>(hit) + 1;
  }
  return n;
}

size_t CountNewlines(TextSource& src, size_t from, size_t to) {
  to = std::min(to, src.Length());
  size_t n = 0;
  while (from < to) {
    std::string_view piece = src.Read(from, std::min(kChunk, to - from));
    if (piece.empty()) break;
    n += CountNewlines(piece);
    from += piece.size();
  }
  return n;
}

size_t SkipNewlines(TextSource& src, size_t from, size_t count) {
  size_t len = src.Length();
  if (count == 0) return from <= len ? from : kNoPos;
  while (from < len) {
    std::string_view piece = src.Read(from, std::min(kChunk, len - from));
    if (piece.empty()) break;
    const char* p = piece.data();
    const char* end = p + piece.size();
    while (p < end) {
      const void* hit = std::memchr(p, '\n', size_t(end - p));
      if (!hit) break;
      p = static_cast<const char*>(hit) + 1;
      if (--count == 0) return from + size_t(p - piece.data());
    }
    from += piece.size();
  }
  return kNoPos;
}

size_t LineEnd(TextSource& src, size_t from) {
  size_t len = src.Length();
  while (from < len) {
    std::string_view piece = src.Read(from, std::min(kChunk, len - from));
    if (piece.empty()) break;
    if (const void* hit = std::memchr(piece.data(), '\n', piece.size()))
      return from + size_t(static_cast<const char*>(hit) - piece.data());
    from += piece.size();
  }
  return len;
}

namespace {

// Search [from, limit) for a match that starts there; kNoPos if none.
size_t FindIn(TextSource& src, std::string_view needle, size_t from, size_t limit) {
  size_t len = src.Length();
  size_t chunk = std::max(kChunk, 2 * needle.size());
  while (from < limit && from + needle.size() <= len) {
    std::string_view piece = src.Read(from, std::min(chunk, len - from));
    if (piece.size() < needle.size()) break;
    const void* hit = memmem(piece.data(), piece.size(), needle.data(), needle.size());
    if (hit) {
      size_t at = from + size_t(static_cast<const char*>(hit) - piece.data());
      return at < limit ? at : kNoPos;
    }
    if (from + piece.size() >= len) break;
    // Overlap by needle length - 1 so a match across pieces is found.
    from += piece.size() - needle.size() + 1;
  }
  return kNoPos;
}

}  // namespace

size_t FindForward(TextSource& src, std::string_view needle, size_t from) {
  if (needle.empty()) return kNoPos;
  return FindIn(src, needle, from, kNoPos);
}

size_t FindWrapped(TextSource& src, std::string_view needle, size_t from) {
  if (needle.empty()) return kNoPos;
  size_t at = FindIn(src, needle, from, kNoPos);
  // Nothing starts at or after from, so the second pass can stop there.
  if (at == kNoPos && from > 0) at = FindIn(src, needle, 0, from);
  return at;
}

namespace {

template <typename Boundary>
StrRange SpanAround(std::string_view text, size_t pos, Boundary isBoundary) {
  pos = std::min(pos, text.size());
  size_t left = pos;
  while (left > 0 && !isBoundary(text[left - 1])) --left;
  // On a boundary (the cursor behind a word or at a line's end) the span
  // is the one that ends there, rather than two joined across it.
  if (pos < text.size() && isBoundary(text[pos])) return StrRange{left, pos - left};
  size_t right = pos;
  while (right + 1 < text.size() && !isBoundary(text[right + 1])) ++right;
  // Inclusive of the character at right when there is one.
  size_t end = right < text.size() ? right + 1 : right;
  return StrRange{left, end - left};
}

}  // namespace

StrRange WordSpan(std::string_view text, size_t pos) {
  return SpanAround(text, pos, IsWhite);
}

StrRange LineSpan(std::string_view text, size_t pos) {
  return SpanAround(text, pos, [](char c) { return c == '\n'; });
}

// --- LineIndex --------------------------------------------------------------

void LineIndex::Reset() {
  marks_.clear();
  haveRecent_ = false;
}

size_t LineIndex::BuildToNul(const char* text, size_t size) {
  Reset();
  size_t n = 0;
  for (size_t at = 0; at < size; at += kStride) {
    size_t piece = std::min(kStride, size - at);
    if (const void* nul = std::memchr(text + at, '\0', piece)) {
      size = at + size_t(static_cast<const char*>(nul) - (text + at));
      piece = size - at;
    }
    // The block was just scanned, so counting it again runs from cache.
    n += CountNewlines(std::string_view(text + at, piece));
    if (piece == kStride) marks_.push_back(Mark{at + kStride, n});
  }
  return size;
}

void LineIndex::Changed(size_t pos) {
  auto firstStale = std::upper_bound(marks_.begin(), marks_.end(), pos,
                                     [](size_t p, const Mark& m) { return p < m.offset; });
  marks_.erase(firstStale, marks_.end());
  if (haveRecent_ && recent_.offset > pos) haveRecent_ = false;
}

LineIndex::Mark LineIndex::MarkBelow(size_t pos) const {
  auto it = std::upper_bound(marks_.begin(), marks_.end(), pos,
                             [](size_t p, const Mark& m) { return p < m.offset; });
  return it == marks_.begin() ? Mark{0, 0} : *(it - 1);
}

LineIndex::Mark LineIndex::MarkBelowLine(size_t line) const {
  // The last mark with fewer than line - 1 newlines before it: the start
  // of line lies after it.
  auto it = std::lower_bound(marks_.begin(), marks_.end(), line - 1,
                             [](const Mark& m, size_t n) { return m.newlines < n; });
  return it == marks_.begin() ? Mark{0, 0} : *(it - 1);
}

void LineIndex::Remember(Mark m) {
  auto it = std::lower_bound(marks_.begin(), marks_.end(), m.offset,
                             [](const Mark& a, size_t off) { return a.offset < off; });
  if (it != marks_.end() && it->offset == m.offset) return;
  marks_.insert(it, m);
}

void LineIndex::Learn(TextSource& src, Mark from, size_t to) {
  // Leave a mark at every stride boundary passed, so the next long jump
  // into this stretch starts close by.
  size_t at = from.offset;
  size_t n = from.newlines;
  size_t next = (at / kStride + 1) * kStride;
  while (next <= to) {
    n += CountNewlines(src, at, next);
    at = next;
    Remember(Mark{at, n});
    next += kStride;
  }
  recent_ = Mark{to, n + CountNewlines(src, at, to)};
  haveRecent_ = true;
}

size_t LineIndex::LineOf(TextSource& src, size_t pos) {
  pos = std::min(pos, src.Length());
  Mark base = MarkBelow(pos);
  if (haveRecent_) {
    if (recent_.offset <= pos && recent_.offset >= base.offset) {
      base = recent_;
    } else if (recent_.offset > pos && recent_.offset - pos < pos - base.offset) {
      // A short move back: count what lies between instead.
      size_t n = recent_.newlines - CountNewlines(src, pos, recent_.offset);
      recent_ = Mark{pos, n};
      return n + 1;
    }
  }
  Learn(src, base, pos);
  return recent_.newlines + 1;
}

size_t LineIndex::LineStart(TextSource& src, size_t line) {
  if (line == 0) return kNoPos;
  if (line == 1) return 0;
  Mark base = MarkBelowLine(line);
  if (haveRecent_ && recent_.newlines < line - 1 && recent_.offset > base.offset) base = recent_;
  size_t start = SkipNewlines(src, base.offset, line - 1 - base.newlines);
  if (start != kNoPos) {
    recent_ = Mark{start, line - 1};
    haveRecent_ = true;
  }
  return start;
}

size_t WidestLineCells(std::string_view text, size_t& tail) {
  // A report runs to megabytes: sixteen bytes are looked at in one step
  // where the processor allows, and most steps hold no newline or tab.
  size_t widest = tail, cells = tail;
  const char* p = text.data();
  const char* end = p + text.size();
#if defined(__SSE2__)
  const __m128i newline = _mm_set1_epi8('\n'), tab = _mm_set1_epi8('\t');
  for (; end - p >= 16; p += 16) {
    __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    unsigned newlines = unsigned(_mm_movemask_epi8(_mm_cmpeq_epi8(block, newline)));
    unsigned marks = newlines | unsigned(_mm_movemask_epi8(_mm_cmpeq_epi8(block, tab)));
    unsigned at = 0;  // the first byte of the step not yet counted
    for (; marks; marks &= marks - 1) {
      unsigned i = unsigned(__builtin_ctz(marks));
      cells += i - at;
      if (newlines & (1u << i)) {
        widest = std::max(widest, cells);
        cells = 0;
      } else {
        cells += 8;
      }
      at = i + 1;
    }
    cells += 16 - at;
  }
#endif
  for (; p < end; ++p) {
    if (*p == '\n') {
      widest = std::max(widest, cells);
      cells = 0;
    } else {
      cells += *p == '\t' ? 8 : 1;
    }
  }
  tail = cells;
  return std::max(widest, cells);
}

}  // namespace textlines
