// TextMirror: a text widget's value as bytes, with position conversion.
#include "support/TextMirror.h"

#include <algorithm>

#include "support/Utf8.h"

namespace {

// Known positions are kept this many bytes apart, so a conversion counts
// at most this much text.
constexpr size_t kStride = 64 * 1024;

}  // namespace

void TextMirror::SetUnits(Units units) {
  units_ = units;
  Assign(std::string(), true);
}

size_t TextMirror::CharsIn(std::string_view s) const {
  return units_ == Units::kBytes ? s.size() : utf8::CountChars(s);
}

size_t TextMirror::CountNonAscii(std::string_view s) const {
  if (utf8::IsAscii(s)) return 0;
  size_t n = 0;
  for (unsigned char c : s) n += c >> 7;
  return n;
}

void TextMirror::Assign(std::string text, bool knownValid) {
  if (units_ == Units::kUtf8Chars && !knownValid) text.resize(utf8::ValidPrefix(text));
  bytes_ = std::move(text);
  nonAscii_ = CountNonAscii(bytes_);
  positions_ = nonAscii_ ? CharsIn(bytes_) : bytes_.size();
  marks_.clear();
  recent_ = Mark{0, 0};
  Edit e;
  e.inserted = bytes_;
  e.posInserted = positions_;
  e.whole = true;
  Notify(e);
}

void TextMirror::Replace(size_t from, size_t to, std::string_view text) {
  if (from > to) std::swap(from, to);
  from = std::min(from, positions_);
  to = std::min(to, positions_);
  // The widget drops what follows an invalid sequence; so does the copy.
  if (units_ == Units::kUtf8Chars) text = text.substr(0, utf8::ValidPrefix(text));
  size_t byteFrom = ByteOf(from);
  size_t byteTo = ByteOf(to);
  std::string_view gone(bytes_.data() + byteFrom, byteTo - byteFrom);
  size_t goneNonAscii = CountNonAscii(gone);
  size_t addedNonAscii = CountNonAscii(text);
  size_t added = (units_ == Units::kBytes || addedNonAscii == 0) ? text.size() : utf8::CountChars(text);
  // The removed bytes outlive the replace only when someone listens.
  std::string removed;
  if (!listeners_.empty()) removed.assign(gone);
  bytes_.replace(byteFrom, byteTo - byteFrom, text);
  nonAscii_ = nonAscii_ - goneNonAscii + addedNonAscii;
  positions_ = positions_ - (to - from) + added;
  // Marks at or before the change still count what lies before them.
  auto stale = std::upper_bound(marks_.begin(), marks_.end(), byteFrom,
                                [](size_t b, const Mark& m) { return b < m.byte; });
  marks_.erase(stale, marks_.end());
  if (recent_.byte > byteFrom) recent_ = Mark{0, 0};
  if (listeners_.empty()) return;
  Edit e;
  e.byteStart = byteFrom;
  e.removed = removed;
  e.inserted = std::string_view(bytes_.data() + byteFrom, text.size());
  e.posStart = from;
  e.posRemoved = to - from;
  e.posInserted = added;
  Notify(e);
}

void TextMirror::ExtendMarks(size_t byte) const {
  size_t lastByte = marks_.empty() ? 0 : marks_.back().byte;
  size_t lastPos = marks_.empty() ? 0 : marks_.back().pos;
  while (lastByte + kStride <= std::min(byte, bytes_.size())) {
    lastPos += utf8::CountChars(std::string_view(bytes_).substr(lastByte, kStride));
    lastByte += kStride;
    marks_.push_back(Mark{lastByte, lastPos});
  }
}

TextMirror::Mark TextMirror::MarkAtByte(size_t byte) const {
  ExtendMarks(byte);
  auto it = std::upper_bound(marks_.begin(), marks_.end(), byte,
                             [](size_t b, const Mark& m) { return b < m.byte; });
  return it == marks_.begin() ? Mark{0, 0} : *(it - 1);
}

TextMirror::Mark TextMirror::MarkAtPos(size_t pos) const {
  // Marks are made in byte order; extend them until one lies past pos.
  for (;;) {
    size_t lastByte = marks_.empty() ? 0 : marks_.back().byte;
    size_t lastPos = marks_.empty() ? 0 : marks_.back().pos;
    if (lastPos > pos || lastByte + kStride > bytes_.size()) break;
    ExtendMarks(lastByte + kStride);
  }
  auto it = std::upper_bound(marks_.begin(), marks_.end(), pos,
                             [](size_t p, const Mark& m) { return p < m.pos; });
  return it == marks_.begin() ? Mark{0, 0} : *(it - 1);
}

size_t TextMirror::ByteOf(size_t pos) const {
  if (Identity()) return std::min(pos, bytes_.size());
  if (pos >= positions_) return bytes_.size();
  Mark m = MarkAtPos(pos);
  if (recent_.pos <= pos && recent_.pos > m.pos) m = recent_;
  recent_ = Mark{utf8::SkipChars(bytes_, m.byte, pos - m.pos), pos};
  return recent_.byte;
}

size_t TextMirror::PosOf(size_t byte) const {
  byte = std::min(byte, bytes_.size());
  if (Identity()) return byte;
  Mark m = MarkAtByte(byte);
  if (recent_.byte <= byte && recent_.byte > m.byte) m = recent_;
  recent_ = Mark{byte, m.pos + utf8::CountChars(std::string_view(bytes_).substr(m.byte, byte - m.byte))};
  return recent_.pos;
}

int TextMirror::AddListener(Listener listener) {
  listeners_.emplace_back(nextId_, std::move(listener));
  return nextId_++;
}

void TextMirror::RemoveListener(int id) {
  listeners_.erase(std::remove_if(listeners_.begin(), listeners_.end(),
                                  [id](const auto& l) { return l.first == id; }),
                   listeners_.end());
}

void TextMirror::Notify(const Edit& e) {
  // A listener may remove itself or add another: call a snapshot.
  auto snapshot = listeners_;
  for (auto& l : snapshot) l.second(e);
}
