// XmTextMan: string-level operations on an XmText widget, over the shared
// text arithmetic.
#include "xman/XmTextMan.h"

#include <Xm/Text.h>

#include <algorithm>
#include <cstdlib>
#include <string_view>

#include "support/SafeSave.h"
#include "support/TextLines.h"
#include "xman/XmTextChunks.h"

using textlines::kNoPos;

namespace {

// Takes a toolkit string into buf and frees it.
Str& Take(Str& buf, char* text) {
  buf = text ? text : "";
  XtFree(text);
  return buf;
}

Str& TakeView(Str& buf, std::string_view part) {
  if (part.empty()) return buf = "";
  buf.Assign(part.data(), part.data() + part.size() - 1);
  return buf;
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
  XmTextChunks src(GetWidget());
  return TakeView(buffer_, src.Read(0, size_t(Cursor())));
}

Str& XmTextMan::TextAfterCursor() {
  XmTextChunks src(GetWidget());
  return TakeView(buffer_, src.Read(size_t(Cursor()), size_t(Last())));
}

Str& XmTextMan::WordAtCursor() {
  size_t cursor = size_t(Cursor());
  GetString();
  StrRange r = textlines::WordSpan(buffer_.c_str(), cursor);
  buffer_.Keep(r);
  return buffer_;
}

Str& XmTextMan::LineAtCursor() {
  size_t cursor = size_t(Cursor());
  GetString();
  StrRange r = textlines::LineSpan(buffer_.c_str(), cursor);
  buffer_.Keep(r);
  return buffer_;
}

int XmTextMan::HasSelection() {
  if (!GetWidget()) return 0;
  char* sel = XmTextGetSelection(GetWidget());
  XtFree(sel);
  return sel ? 1 : 0;
}

void XmTextMan::SelectToStart() { SetSelection(StrRange{0, size_t(Cursor())}); }

void XmTextMan::SelectToEnd() {
  long c = Cursor();
  SetSelection(StrRange{size_t(c), size_t(Last() - c)});
}

void XmTextMan::SelectWord() {
  size_t cursor = size_t(Cursor());
  SetSelection(textlines::WordSpan(GetString().c_str(), cursor));
}

void XmTextMan::SelectLine() {
  size_t cursor = size_t(Cursor());
  SetSelection(textlines::LineSpan(GetString().c_str(), cursor));
}

void XmTextMan::SelectLineNumber(long line) {
  if (!GetWidget()) return;
  XmTextChunks src(GetWidget());
  textlines::LineIndex index;
  size_t start = index.LineStart(src, line < 2 ? 1 : size_t(line));
  if (start == kNoPos) start = src.Length();
  SetSelection(StrRange{start, textlines::LineEnd(src, start) - start});
}

long XmTextMan::LineNumberOfCursor() {
  XmTextChunks src(GetWidget());
  return long(textlines::CountNewlines(src, 0, size_t(Cursor())) + 1);
}

void XmTextMan::SetSelection(StrRange range) {
  if (!GetWidget()) return;
  XmTextSetSelection(GetWidget(), XmTextPosition(range.start), XmTextPosition(textlines::RangeEnd(range)), 0);
}

void XmTextMan::MoveToLine(long line, int toStart) {
  if (!GetWidget()) return;
  XmTextChunks src(GetWidget());
  textlines::LineIndex index;
  size_t start = index.LineStart(src, line < 2 ? 1 : size_t(line));
  size_t to = start == kNoPos ? src.Length() : toStart ? start : textlines::LineEnd(src, start);
  XmTextSetInsertionPosition(GetWidget(), XmTextPosition(to));
}

void XmTextMan::DeleteLine(long line) {
  SelectLineNumber(line);
  RemoveSelection();
}

int XmTextMan::Search(const Str& text, int select) {
  if (!GetWidget()) return 0;
  XmTextChunks src(GetWidget());
  size_t at = textlines::FindWrapped(src, std::string_view(text.c_str(), text.Length()), size_t(Cursor()));
  if (at == kNoPos) return 0;
  if (select) SetSelection(StrRange{at, text.Length()});
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
