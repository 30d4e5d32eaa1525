// XmTextMan: string-level operations on an XmText widget, over the shared
// text arithmetic.
#include "xman/XmTextMan.h"

#include <Xm/Text.h>

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <string_view>

#include "support/SafeSave.h"
#include "support/TextLines.h"
#include "xman/XmTextChunks.h"
#include "xman/XmTextMirror.h"
#include "xmp/XmpOwned.h"

using textlines::kNoPos;

namespace {

// The widget's text for one operation. In the C locale positions are byte
// offsets and the text is read in pieces as needed; in a UTF-8 locale they
// count characters, so the text is copied once and positions converted.
class TextView {
 public:
  explicit TextView(Widget w) : chunks_(w), widget_(w) {
    if (w && XmTextMirror::UnitsOf(w) == TextMirror::Units::kUtf8Chars) {
      copy_.emplace(TextMirror::Units::kUtf8Chars);
      copy_->Assign(XmTextMirror::ReadWidget(w), true);
      memory_.emplace(copy_->Bytes());
    }
  }
  textlines::TextSource& Source() { return memory_ ? static_cast<textlines::TextSource&>(*memory_) : chunks_; }
  size_t ByteOf(long pos) const { return copy_ ? copy_->ByteOf(size_t(pos)) : size_t(pos); }
  size_t PosOf(size_t byte) const { return copy_ ? copy_->PosOf(byte) : byte; }
  StrRange ToPositions(StrRange bytes) const {
    size_t start = PosOf(bytes.start);
    return StrRange{start, PosOf(bytes.start + bytes.length) - start};
  }
  // The whole text, for the word and line scans.
  std::string All() {
    if (copy_) return copy_->Bytes();
    return XmTextMirror::ReadWidget(widget_);
  }

 private:
  XmTextChunks chunks_;
  Widget widget_;
  std::optional<TextMirror> copy_;
  std::optional<textlines::MemorySource> memory_;
};

// Takes a toolkit string into buf and frees it.
Str& Take(Str& buf, char* text) {
  xmp::XtOwned<char> owned(text);
  return buf = xmp::TextOf(owned);
}

Str& TakeView(Str& buf, std::string_view part) {
  if (part.empty()) return buf = "";
  buf.Assign(part.data(), part.data() + part.size() - 1);
  return buf;
}

// Offset where line (1-based) begins, counting newlines from the start:
// line 0 is line 1, and a line past the last is the last (the counting
// stops at the last newline there is).
size_t LineStartOrLast(textlines::TextSource& src, long line) {
  textlines::LineIndex index;
  size_t start = index.LineStart(src, line < 2 ? 1 : size_t(line));
  return start != kNoPos ? start : index.LineStart(src, index.LineOf(src, src.Length()));
}

}  // namespace

XmTextMan* XmTextMan::Clone() const { return new XmTextMan(*this); }
XmTextMan::~XmTextMan() = default;
bool XmTextMan::IsA(int classNumber) const {
  return classNumber == kXmTextManClass || classNumber == kXManClass;
}

long XmTextMan::Cursor() const { return GetWidget() ? long(XmTextGetInsertionPosition(GetWidget())) : 0; }
long XmTextMan::Last() const { return GetWidget() ? long(XmTextGetLastPosition(GetWidget())) : 0; }

Str& XmTextMan::GetString() {
  if (!GetWidget()) return buffer_ = "";
  return Take(buffer_, XmTextGetString(GetWidget()));
}

void XmTextMan::SetString(const Str& text) {
  if (GetWidget()) XmTextSetString(GetWidget(), const_cast<char*>(text.c_str()));
}

void XmTextMan::AppendString(const Str& text) {
  if (!GetWidget()) return;
  XmTextSetInsertionPosition(GetWidget(), XmTextGetLastPosition(GetWidget()));
  InsertAtCursor(text);
}

void XmTextMan::PrependString(const Str& text) {
  if (!GetWidget()) return;
  XmTextSetInsertionPosition(GetWidget(), 0);
  InsertAtCursor(text);
}

void XmTextMan::InsertAtCursor(const Str& text) {
  if (GetWidget()) XmTextInsert(GetWidget(), Cursor(), const_cast<char*>(text.c_str()));
}

Str& XmTextMan::GetSelection() {
  if (!GetWidget()) return buffer_ = "";
  return Take(buffer_, XmTextGetSelection(GetWidget()));
}

void XmTextMan::RemoveSelection() {
  if (GetWidget()) XmTextRemove(GetWidget());
}

void XmTextMan::ReplaceSelection(const Str& text) {
  RemoveSelection();
  InsertAtCursor(text);
}

Str& XmTextMan::TextBeforeCursor() {
  TextView v(GetWidget());
  return TakeView(buffer_, v.Source().Read(0, v.ByteOf(Cursor())));
}

Str& XmTextMan::TextAfterCursor() {
  TextView v(GetWidget());
  size_t from = v.ByteOf(Cursor());
  return TakeView(buffer_, v.Source().Read(from, v.Source().Length() - from));
}

Str& XmTextMan::WordAtCursor() {
  TextView v(GetWidget());
  std::string all = v.All();
  StrRange r = textlines::WordSpan(all, v.ByteOf(Cursor()));
  return TakeView(buffer_, std::string_view(all).substr(r.start, r.length));
}

Str& XmTextMan::LineAtCursor() {
  TextView v(GetWidget());
  std::string all = v.All();
  StrRange r = textlines::LineSpan(all, v.ByteOf(Cursor()));
  return TakeView(buffer_, std::string_view(all).substr(r.start, r.length));
}

int XmTextMan::HasSelection() {
  if (!GetWidget()) return 0;
  xmp::XtOwned<char> sel(XmTextGetSelection(GetWidget()));
  return sel ? 1 : 0;
}

void XmTextMan::SelectToStart() { SetSelection(StrRange{0, size_t(Cursor())}); }

void XmTextMan::SelectToEnd() {
  long c = Cursor();
  SetSelection(StrRange{size_t(c), size_t(Last() - c)});
}

void XmTextMan::SelectWord() {
  TextView v(GetWidget());
  SetSelection(v.ToPositions(textlines::WordSpan(v.All(), v.ByteOf(Cursor()))));
}

void XmTextMan::SelectLine() {
  TextView v(GetWidget());
  SetSelection(v.ToPositions(textlines::LineSpan(v.All(), v.ByteOf(Cursor()))));
}

void XmTextMan::SelectLineNumber(long line) {
  if (!GetWidget()) return;
  TextView v(GetWidget());
  textlines::TextSource& src = v.Source();
  size_t start = LineStartOrLast(src, line);
  SetSelection(v.ToPositions(StrRange{start, textlines::LineEnd(src, start) - start}));
}

long XmTextMan::LineNumberOfCursor() {
  TextView v(GetWidget());
  return long(textlines::CountNewlines(v.Source(), 0, v.ByteOf(Cursor())) + 1);
}

void XmTextMan::SetSelection(StrRange range) {
  if (!GetWidget()) return;
  XmTextSetSelection(GetWidget(), XmTextPosition(range.start), XmTextPosition(textlines::RangeEnd(range)), 0);
}

void XmTextMan::MoveToLine(long line, int toStart) {
  if (!GetWidget()) return;
  TextView v(GetWidget());
  textlines::TextSource& src = v.Source();
  size_t start = LineStartOrLast(src, line);
  size_t to = toStart ? start : textlines::LineEnd(src, start);
  XmTextSetInsertionPosition(GetWidget(), XmTextPosition(v.PosOf(to)));
}

void XmTextMan::DeleteLine(long line) {
  SelectLineNumber(line);
  RemoveSelection();
}

int XmTextMan::Search(const Str& text, int select) {
  if (!GetWidget()) return 0;
  TextView v(GetWidget());
  size_t at = textlines::FindWrapped(v.Source(), std::string_view(text.c_str(), text.Length()), v.ByteOf(Cursor()));
  if (at == kNoPos) return 0;
  if (select) SetSelection(v.ToPositions(StrRange{at, text.Length()}));
  return 1;
}

int XmTextMan::SearchSelectionAgain() {
  if (!GetWidget()) return 0;
  GetSelection();
  // Continue behind the selected text. Adding its length to the cursor
  // would skip the next match whenever the cursor already sits at the
  // selection's end, which is where Motif puts it.
  XmTextPosition left = 0, right = 0;
  long from = XmTextGetSelectionPosition(GetWidget(), &left, &right) ? long(right) : Cursor();
  long to = std::min(Last(), from);
  XmTextSetInsertionPosition(GetWidget(), XmTextPosition(to));
  Str needle = buffer_;
  return Search(needle, 1);
}

int XmTextMan::LoadFile(const char* path) {
  char* text = path ? ReadWholeFile(path) : nullptr;
  if (!text) return 0;
  if (GetWidget()) XmTextSetString(GetWidget(), text);
  std::free(text);
  return 1;
}

int XmTextMan::SaveFile(const char* path) {
  Str& text = GetString();
  int status = 0;
  SafeWriteWholeFile(path, text.c_str(), text.Length(), status);
  return status;
}
