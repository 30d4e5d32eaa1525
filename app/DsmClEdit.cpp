// DsmCl editing commands: clipboard, find, replace from a named field,
// text blocks, top and bottom, the line-number label and the popup menu.
// Line numbers come from the DSM's line index, so a cursor motion costs a
// scan of the distance moved, not of the whole text.
#include <Xm/Xm.h>
#include <Xm/RowColumn.h>
#include <Xm/SelectioB.h>
#include <Xm/Text.h>

#include <string>

#include "app/Application.h"
#include "app/DsmCl.h"
#include "app/MsgCl.h"
#include "xman/XmTextChunks.h"

using textlines::kNoPos;

namespace {

constexpr const char* kCantFind = "Can't find '";

}  // namespace

void DsmCl::Copy(Widget, XtPointer, XtPointer) {
  if (textWidget_) XmTextCopy(textWidget_, 0);
}

void DsmCl::Cut(Widget, XtPointer, XtPointer) {
  if (textWidget_) XmTextCut(textWidget_, 0);
}

void DsmCl::Delete(Widget, XtPointer, XtPointer) {
  if (textWidget_) XmTextRemove(textWidget_);
}

void DsmCl::Paste(Widget, XtPointer, XtPointer) {
  if (textWidget_) XmTextPaste(textWidget_);
}

void DsmCl::NavTop(Widget, XtPointer, XtPointer) {
  if (!textWidget_) return;
  XmTextSetSelection(textWidget_, 0, 0, 0);
  ShowCursorLine(XmTextGetInsertionPosition(textWidget_));
}

void DsmCl::NavBottom(Widget, XtPointer, XtPointer) {
  if (!textWidget_) return;
  XmTextSetInsertionPosition(textWidget_, XmTextGetLastPosition(textWidget_));
  ShowCursorLine(XmTextGetInsertionPosition(textWidget_));
}

void DsmCl::FindAndSelect(const Str& needle) {
  if (!textWidget_ || needle.IsEmpty()) return;
  XmTextChunks src(textWidget_);
  size_t from = size_t(XmTextGetInsertionPosition(textWidget_));
  size_t at = textlines::FindWrapped(src, std::string_view(needle.c_str(), needle.Length()), from);
  if (at == kNoPos) {
    theMsg.ShowMessage(Str(kCantFind) + needle + "'");
    return;
  }
  XmTextSetSelection(textWidget_, XmTextPosition(at), XmTextPosition(at + needle.Length()), 0);
  ShowCursorLine(XmTextGetInsertionPosition(textWidget_));
}

void DsmCl::Find(Widget, XtPointer, XtPointer call) {
  auto* cbs = static_cast<XmSelectionBoxCallbackStruct*>(call);
  if (!cbs || !cbs->value) return;
  char* text = nullptr;
  if (!XmStringGetLtoR(cbs->value, const_cast<char*>(XmSTRING_DEFAULT_CHARSET), &text)) text = nullptr;
  Str needle(text);
  XtFree(text);
  FindAndSelect(needle);
}

void DsmCl::SelectLineNumber(long line) {
  if (!textWidget_) return;
  XmTextChunks src(textWidget_);
  size_t start = lineIndex_.LineStart(src, line < 1 ? 0 : size_t(line));
  size_t end;
  if (start == kNoPos)
    start = end = src.Length();
  else
    end = textlines::LineEnd(src, start);
  XmTextSetSelection(textWidget_, XmTextPosition(start), XmTextPosition(end), 0);
  ShowCursorLine(XmTextGetInsertionPosition(textWidget_));
}

void DsmCl::Replace(Widget, XtPointer client, XtPointer) {
  const char* name = static_cast<const char*>(client);
  if (!textWidget_ || !theAppShell || !name || !*name) return;
  Widget field = XtNameToWidget(theAppShell, name);
  if (!field) return;
  XmTextPosition left = 0, right = 0;
  if (!XmTextGetSelectionPosition(textWidget_, &left, &right) || left == right) return;
  char* text = XmTextGetString(field);
  if (text) XmTextReplace(textWidget_, left, right, text);
  XtFree(text);
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
    XmTextChunks src(textWidget_);
    line = lineIndex_.LineOf(src, pos < 0 ? 0 : size_t(pos));
  }
  // The label is redrawn only when the line really changes: most motions
  // stay on their line.
  if (line == shownLine_) return;
  shownLine_ = line;
  std::string digits = std::to_string(line);
  XmString s = XmStringCreateSimple(digits.data());
  XtVaSetValues(cursorPosLabel_, XmNlabelString, s, nullptr);
  XmStringFree(s);
}

void DsmCl::SynchLineNums(Widget, XtPointer, XtPointer call) {
  auto* cbs = static_cast<XmTextVerifyCallbackStruct*>(call);
  if (cbs) ShowCursorLine(long(cbs->newInsert));
}

void DsmCl::PostPopupMenu(Widget, XEvent* event, String*, Cardinal*) {
  if (!popMenu_ || !event || event->type != ButtonPress) return;
  XmMenuPosition(popMenu_, &event->xbutton);
  XtManageChild(popMenu_);
}
