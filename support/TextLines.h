// TextLines.h: the line and search arithmetic that every text window of
// the program shares (DSM editor, message window, text manager): line
// numbers from newline counts, where line N starts and ends, the word or
// line around a position, and a search that wraps to the start once.
// Offsets are byte offsets, lines count from 1; a text widget's positions
// are turned into them by support/TextMirror.h.
//
// The routines read a text through TextSource, so a text widget can be
// read in bounded chunks instead of being copied whole for each question:
//
//   MemorySource src(text);                   // or a widget-backed source
//   size_t at = FindWrapped(src, "record", cursor);
//   if (at != kNoPos) select(at, at + 6);
//   LineIndex index;                          // remembers line starts
//   index.BuildToNul(buffer, size);           // learns a text just read
//   size_t line = index.LineOf(src, cursor);  // cheap for nearby positions
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "support/Str.h"

namespace textlines {

inline constexpr size_t kNoPos = static_cast<size_t>(-1);

// A text that can be read in pieces.
class TextSource {
 public:
  virtual ~TextSource() = default;
  virtual size_t Length() = 0;
  // Up to len bytes from start (fewer only at the end of the text); valid
  // until the next Read.
  virtual std::string_view Read(size_t start, size_t len) = 0;
};

// A text already in memory.
class MemorySource : public TextSource {
 public:
  explicit MemorySource(std::string_view text) : text_(text) {}
  size_t Length() override { return text_.size(); }
  std::string_view Read(size_t start, size_t len) override;

 private:
  std::string_view text_;
};

// Newline characters in [from, to).
size_t CountNewlines(std::string_view text);
size_t CountNewlines(TextSource& src, size_t from, size_t to);

// The offset just behind the count-th newline at or after from, or kNoPos
// when the text has fewer newlines. count 0 gives from.
size_t SkipNewlines(TextSource& src, size_t from, size_t count);

// The first newline at or after from, or the text's length.
size_t LineEnd(TextSource& src, size_t from);

// First byte-exact occurrence of needle starting at or after from; kNoPos
// when none or when needle is empty.
size_t FindForward(TextSource& src, std::string_view needle, size_t from);
// FindForward from `from`, then once more from the start of the text.
size_t FindWrapped(TextSource& src, std::string_view needle, size_t from);

// The run of non-white characters around pos (white: space, tab, newline,
// vertical tab, form feed, carriage return). When pos itself is white
// space, the span is the word ending at pos (empty when there is none).
StrRange WordSpan(std::string_view text, size_t pos);
// The same with newline as the only boundary: the line around pos without
// its newline.
StrRange LineSpan(std::string_view text, size_t pos);

// Remembers newline counts at a few offsets of one text, so a line number
// or a line start costs a scan of the distance to the nearest known offset
// rather than of the whole text. Every change of the text must be reported
// through Changed (or Reset for a new text), or the answers go stale.
class LineIndex {
 public:
  // Forgets everything.
  void Reset();
  // Forgets everything and learns the whole text, cheaply, while it is in
  // memory anyway (after a load). The buffer may hold a NUL byte, where a
  // C string text ends: returns that length (bytes before the first NUL,
  // at most size), found in the same pass.
  size_t BuildToNul(const char* text, size_t size);
  // The text changed at offset pos or later: counts up to pos stay true.
  void Changed(size_t pos);

  // 1 + the newlines before pos (pos clipped to the text).
  size_t LineOf(TextSource& src, size_t pos);
  // Offset of the first character of line (1-based), or kNoPos for line 0
  // or a line past the last.
  size_t LineStart(TextSource& src, size_t line);

 private:
  struct Mark {
    size_t offset;
    size_t newlines;  // newlines before offset
  };
  // The known mark closest below pos; (0, 0) when none.
  Mark MarkBelow(size_t pos) const;
  Mark MarkBelowLine(size_t line) const;
  void Learn(TextSource& src, Mark from, size_t to);
  void Remember(Mark m);

  std::vector<Mark> marks_;  // sorted by offset, one per stride at most
  Mark recent_{0, 0};        // the last answer, for short moves
  bool haveRecent_ = false;
};

// The longest line of text in character cells, a tab counted as the eight
// cells it takes at most, so that cells times the widest character of a
// font bounds the line's drawn width. A text that arrives in pieces keeps
// its unfinished last line in tail (0 before the first piece).
size_t WidestLineCells(std::string_view text, size_t& tail);

// A range's end offset.
inline size_t RangeEnd(StrRange r) { return r.start + r.length; }

}  // namespace textlines
