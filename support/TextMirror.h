// TextMirror: the program's own copy of a text widget's value, as the
// bytes the widget would hand out, kept in step with every change, plus
// the conversion between the widget's positions and byte offsets.
//
// In the C locale a widget position is a byte offset; in a UTF-8 locale it
// counts characters. Text commands search and count lines in the bytes
// here, and convert only the positions they read from or give to the
// widget, over the stretch between the position and the nearest offset
// already known. A text with no byte above 127 needs no conversion at all.
//
// Whoever owns the widget feeds every change through Replace (from the
// widget's modify-verify callback) or Assign (a whole new text), and may
// listen to the changes, after they are made, for an undo history or an
// index of its own (xman/XmTextMirror.h is the Motif side).
//
//   TextMirror copy(TextMirror::Units::kUtf8Chars);
//   copy.Assign(fileText);
//   int id = copy.AddListener([](const TextMirror::Edit& e) { ... });
//   copy.Replace(4, 4, "\xc3\xa9");            // what the widget reported
//   size_t b = copy.ByteOf(cursor);            // widget position -> byte
//   size_t p = copy.PosOf(b);                  // byte -> widget position
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

class TextMirror {
 public:
  enum class Units { kBytes, kUtf8Chars };

  // One change, as seen after it was made. `removed` and `inserted` are
  // valid during the call only.
  struct Edit {
    size_t byteStart = 0;
    std::string_view removed;
    std::string_view inserted;
    size_t posStart = 0;     // the same change in widget positions
    size_t posRemoved = 0;
    size_t posInserted = 0;
    bool whole = false;      // Assign: the whole text replaced (removed is empty)
  };
  using Listener = std::function<void(const Edit&)>;

  explicit TextMirror(Units units = Units::kBytes) : units_(units) {}

  // Empties the copy and sets what a position counts.
  void SetUnits(Units units);
  Units GetUnits() const { return units_; }

  // A whole new text. In UTF-8 units a widget keeps text only up to its
  // first invalid sequence, and so does the copy; knownValid skips the
  // check for text that was just checked.
  void Assign(std::string text, bool knownValid = false);
  // Widget positions [from, to) replaced by text, as a modify-verify
  // callback reports it (positions past the end are clipped).
  void Replace(size_t from, size_t to, std::string_view text);

  const std::string& Bytes() const { return bytes_; }
  size_t Positions() const { return positions_; }

  // Byte offset of a widget position (clipped to the end), and back (a
  // byte inside a character gives the position after that character).
  size_t ByteOf(size_t pos) const;
  size_t PosOf(size_t byte) const;

  int AddListener(Listener listener);
  void RemoveListener(int id);

 private:
  struct Mark {
    size_t byte;
    size_t pos;  // characters that start before byte
  };
  bool Identity() const { return units_ == Units::kBytes || nonAscii_ == 0; }
  size_t CharsIn(std::string_view s) const;
  size_t CountNonAscii(std::string_view s) const;
  // The last mark at or below byte / pos, extending the known marks first.
  Mark MarkAtByte(size_t byte) const;
  Mark MarkAtPos(size_t pos) const;
  void ExtendMarks(size_t byte) const;
  void Notify(const Edit& e);

  Units units_;
  std::string bytes_;
  size_t positions_ = 0;
  size_t nonAscii_ = 0;            // bytes above 127
  mutable std::vector<Mark> marks_;  // at multiples of the stride, in order
  // The last conversion: a walk through ascending positions (a line's
  // start and end, many marked lines) counts each stretch once.
  mutable Mark recent_{0, 0};
  std::vector<std::pair<int, Listener>> listeners_;
  int nextId_ = 1;
};
