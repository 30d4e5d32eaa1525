// DsmCl editing commands: clipboard, find, replace from a named field,
// text blocks, top and bottom, the line-number label and the popup menu.
// Every command reads the program's copy of the text, never the widget's
// whole value; widget positions (characters in a UTF-8 locale) are turned
// into byte offsets of the copy and back. Line numbers come from the
// DSM's line index, so a cursor motion costs a scan of the distance moved,
// not of the whole text.
#include <Xm/Xm.h>
#include <Xm/RowColumn.h>
#include <Xm/SelectioB.h>
#include <Xm/Text.h>

#include <algorithm>
#include <string>

#include "app/Application.h"
#include "app/DsmCl.h"
#include "app/MsgCl.h"
#include "app/Keyboard.h"
#include "xmp/XmpOwned.h"

using textlines::kNoPos;

namespace {

constexpr const char* kCantFind = "Can't find '";

Widget ShellOf(Widget w) {
  while (w && !XtIsShell(w)) w = XtParent(w);
  return w;
}

bool Within(Widget w, Widget ancestor) {
  for (; w && ancestor; w = XtParent(w))
    if (w == ancestor) return true;
  return false;
}

// The text an edit command acts on. A menu item (or its accelerator) of
// the DSM's own window acts on the text the user is working in within that
// window (a menu key pressed in the Replace field pastes there), the DSM
// text when its focus is on no text. Anything else acts on the DSM text,
// whichever window has the keyboard focus: the DSM's popup menu, a push
// button, a dialog's button or callback list.
Widget Target(Widget invoker, Widget dsmText, Widget dsmPopup) {
  if (!dsmText || Within(invoker, dsmPopup)) return dsmText;
  Widget window = xkest::MenuWindow(invoker);
  if (!window || window != ShellOf(dsmText)) return dsmText;
  Widget focus = xkest::EditTarget(window);
  return focus ? focus : dsmText;
}

// Line numbers up to this many digits show without the label changing
// size (and the bar around it moving).
constexpr size_t kLineDigits = 7;

// Widens a label of fixed size (recomputeSize False) so that `digits`
// digits fit in its font; never narrows it.
void FitDigits(Widget label, size_t digits) {
  int room = FixedLabelRoom(label);
  XmRenderTable table = nullptr;
  Dimension width = 0;
  XtVaGetValues(label, XmNrenderTable, &table, XmNwidth, &width, nullptr);
  if (room < 0 || !table) return;
  std::string zeros(digits, '0');
  xmp::XmStr s(XmStringCreateLocalized(zeros.data()));
  int need = int(XmStringWidth(table, s.get()));
  if (need > room) XtVaSetValues(label, XmNwidth, Dimension(width + need - room), nullptr);
}

// Moves the dialog holding `from` off the text's selection when it covers
// its first line: below that line when the screen has room, else above.
void KeepClearOfSelection(Widget from, Widget text) {
  Widget shell = ShellOf(from);
  XmTextPosition left = 0, right = 0;
  if (!shell || !XtIsRealized(shell) || !XtIsRealized(text) ||
      !XmTextGetSelectionPosition(text, &left, &right))
    return;
  Position x = 0, y = 0, endX = 0, endY = 0;
  if (!XmTextPosToXY(text, left, &x, &y)) return;
  if (!XmTextPosToXY(text, right, &endX, &endY) || endY != y) {
    Dimension width = 0;
    XtVaGetValues(text, XmNwidth, &width, nullptr);
    endX = Position(width);
  }
  // The line's box on the screen; y is its baseline.
  XmRenderTable table = nullptr;
  XtVaGetValues(text, XmNrenderTable, &table, nullptr);
  Dimension lineWidth = 0, lineHeight = 16;
  if (table) {
    xmp::XmStr probe(XmStringCreateLocalized(const_cast<char*>("Xg")));
    XmStringExtent(table, probe.get(), &lineWidth, &lineHeight);
  }
  Position left0 = 0, base = 0, right0 = 0, ignored = 0;
  XtTranslateCoords(text, x, y, &left0, &base);
  XtTranslateCoords(text, endX, y, &right0, &ignored);
  int top = base - lineHeight, bottom = base + lineHeight / 2;
  Position dx = 0, dy = 0;
  Dimension dw = 0, dh = 0;
  XtTranslateCoords(shell, 0, 0, &dx, &dy);
  XtVaGetValues(shell, XmNwidth, &dw, XmNheight, &dh, nullptr);
  bool covers = dx < right0 && left0 < dx + int(dw) && dy < bottom && top < dy + int(dh);
  if (!covers) return;
  // Room for a window manager's frame around the dialog.
  constexpr int kGap = 30;
  int below = bottom + kGap, above = top - kGap - int(dh);
  int newY = below + int(dh) <= HeightOfScreen(XtScreen(shell)) || above < 0 ? below : above;
  XtVaSetValues(shell, XmNx, dx, XmNy, Position(newY), nullptr);
}

}  // namespace

void DsmCl::Copy(Widget w, XtPointer, XtPointer) {
  if (Widget t = Target(w, textWidget_, popMenu_)) XmTextCopy(t, 0);
}

void DsmCl::Cut(Widget w, XtPointer, XtPointer) {
  if (Widget t = Target(w, textWidget_, popMenu_)) XmTextCut(t, 0);
}

void DsmCl::Delete(Widget w, XtPointer, XtPointer) {
  if (Widget t = Target(w, textWidget_, popMenu_)) XmTextRemove(t);
}

void DsmCl::Paste(Widget w, XtPointer, XtPointer) {
  if (Widget t = Target(w, textWidget_, popMenu_)) XmTextPaste(t);
}

void DsmCl::NavTop(Widget w, XtPointer, XtPointer) {
  Widget t = Target(w, textWidget_, popMenu_);
  if (!t) return;
  XmTextSetSelection(t, 0, 0, 0);
  XmTextSetInsertionPosition(t, 0);
  if (t == textWidget_) ShowCursorLine(XmTextGetInsertionPosition(t));
}

void DsmCl::NavBottom(Widget w, XtPointer, XtPointer) {
  Widget t = Target(w, textWidget_, popMenu_);
  if (!t) return;
  // As Go to Top does: a selection left behind would be replaced by the
  // next key typed at the bottom, out of sight.
  XmTextClearSelection(t, 0);
  XmTextSetInsertionPosition(t, XmTextGetLastPosition(t));
  if (t == textWidget_) ShowCursorLine(XmTextGetInsertionPosition(t));
}

void DsmCl::FindAndSelect(const Str& needle) {
  if (!textWidget_ || needle.IsEmpty()) return;
  const TextMirror& text = text_->Current();
  textlines::MemorySource src(text.Bytes());
  size_t from = text.ByteOf(size_t(XmTextGetInsertionPosition(textWidget_)));
  size_t at = textlines::FindWrapped(src, std::string_view(needle.c_str(), needle.Length()), from);
  if (at == kNoPos) {
    theMsg.ShowMessage(Str(kCantFind) + needle + "'");
    return;
  }
  XmTextSetSelection(textWidget_, XmTextPosition(text.PosOf(at)), XmTextPosition(text.PosOf(at + needle.Length())),
                     0);
  ShowCursorLine(XmTextGetInsertionPosition(textWidget_));
}

void DsmCl::Find(Widget w, XtPointer, XtPointer call) {
  // The call data is read as a selection dialog's; from anything else it
  // is some other structure.
  if (w && !AcceptWidget("xKestDoDsmFindCB", w, WidgetKind::kSelectionBox)) return;
  auto* cbs = static_cast<XmSelectionBoxCallbackStruct*>(call);
  if (!cbs || !cbs->value) return;
  FindAndSelect(Str(xmp::PlainText(cbs->value).c_str()));
  // The match must not lie under the dialog that found it.
  if (textWidget_) KeepClearOfSelection(w, textWidget_);
}

void DsmCl::SelectLineNumber(long line, long column) {
  if (!textWidget_) return;
  const TextMirror& text = text_->Current();
  textlines::MemorySource src(text.Bytes());
  size_t start = lineIndex_.LineStart(src, line < 1 ? 0 : size_t(line));
  size_t end;
  if (start == kNoPos)
    start = end = src.Length();
  else
    end = textlines::LineEnd(src, start);
  XmTextSetSelection(textWidget_, XmTextPosition(text.PosOf(start)), XmTextPosition(text.PosOf(end)), 0);
  PlaceCursorAtColumn(start, end, column);
  ShowCursorLine(XmTextGetInsertionPosition(textWidget_));
}

void DsmCl::PlaceCursorAtColumn(size_t start, size_t end, long column) {
  if (column < 1 || !textWidget_ || end < start) return;
  const TextMirror& text = text_->Current();
  size_t at = start + ColumnByte(std::string_view(text.Bytes()).substr(start, end - start), column);
  XmTextSetInsertionPosition(textWidget_, XmTextPosition(text.PosOf(at)));
}

void DsmCl::Replace(Widget, XtPointer client, XtPointer) {
  const char* name = static_cast<const char*>(client);
  if (!textWidget_ || !theAppShell || !name || !*name) return;
  // Named in the resource description: anything but a text would be
  // read as one and crash the program with the unsaved text.
  Widget field = getWidgetOfKind(theAppShell, name, WidgetKind::kText);
  if (!field) return;
  XmTextPosition left = 0, right = 0;
  if (!XmTextGetSelectionPosition(textWidget_, &left, &right) || left == right) return;
  xmp::XtOwned<char> text(XmTextGetString(field));
  if (text) XmTextReplace(textWidget_, left, right, text.get());
}

void DsmCl::Append(Widget, XtPointer client, XtPointer) {
  if (!textWidget_) return;
  const char* block = client ? static_cast<const char*>(client) : "";
  XmTextInsert(textWidget_, XmTextGetInsertionPosition(textWidget_), const_cast<char*>("\n\n"));
  XmTextInsert(textWidget_, XmTextGetInsertionPosition(textWidget_), const_cast<char*>(block));
  XmTextInsert(textWidget_, XmTextGetInsertionPosition(textWidget_), const_cast<char*>("\n"));
}

void DsmCl::ShowCursorLine(long pos) {
  if (!cursorPosLabel_) return;
  size_t line = 1;
  if (textWidget_) {
    const TextMirror& text = text_->Current();
    textlines::MemorySource src(text.Bytes());
    line = lineIndex_.LineOf(src, text.ByteOf(pos < 0 ? 0 : size_t(pos)));
  }
  // The label is redrawn only when the line really changes: most motions
  // stay on their line.
  if (line == shownLine_) return;
  size_t shownDigits = shownLine_ ? std::to_string(shownLine_).size() : 0;
  shownLine_ = line;
  std::string digits = std::to_string(line);
  if (digits.size() != shownDigits) FitDigits(cursorPosLabel_, std::max<size_t>(digits.size(), kLineDigits));
  xmp::XmStr s(XmStringCreateSimple(digits.data()));
  XtVaSetValues(cursorPosLabel_, XmNlabelString, s.get(), nullptr);
}

void DsmCl::SynchLineNums(Widget w, XtPointer, XtPointer call) {
  if (w && !AcceptWidget("xKestDoDsmSynchLineNumsCB", w, WidgetKind::kText)) return;
  auto* cbs = static_cast<XmTextVerifyCallbackStruct*>(call);
  if (cbs) ShowCursorLine(long(cbs->newInsert));
}

void DsmCl::PostPopupMenu(Widget, XEvent* event, String*, Cardinal*) {
  if (!popMenu_ || !event || event->type != ButtonPress) return;
  XmMenuPosition(popMenu_, &event->xbutton);
  XtManageChild(popMenu_);
}
