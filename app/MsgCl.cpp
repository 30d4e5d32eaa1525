// MsgCl: the message window: storing its widgets, the three plain
// operations and the commands on the report's selection. A widget that the
// resource description did not create is never touched.
#include "app/MsgCl.h"

#include <Xm/Xm.h>
#include <Xm/RowColumn.h>
#include <Xm/Text.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <string>

#include "app/Application.h"
#include "app/DsmCl.h"
#include "app/OptsCl.h"
#include "app/ShellQuote.h"

namespace {

// The report's selection; empty when nothing is selected.
Str SelectionOf(Widget text) {
  if (!text) return Str();
  char* sel = XmTextGetSelection(text);
  Str out(sel);
  XtFree(sel);
  return out;
}

}  // namespace

MsgCl& MsgCl::operator=(const MsgCl& other) {
  if (this != &other) {
    textWidget_ = other.textWidget_;
    dialogWidget_ = other.dialogWidget_;
    popupWidget_ = other.popupWidget_;
  }
  return *this;
}

MsgCl* MsgCl::Clone() const { return new MsgCl(*this); }
MsgCl::~MsgCl() = default;

Widget MsgCl::GetTextWidget() const { return textWidget_; }
void MsgCl::SetTextWidget(Widget w) { textWidget_ = w; }
Widget MsgCl::GetDialogWidget() const { return dialogWidget_; }
void MsgCl::SetDialogWidget(Widget w) { dialogWidget_ = w; }
Widget MsgCl::GetPopupWidget() const { return popupWidget_; }
void MsgCl::SetPopupWidget(Widget w) { popupWidget_ = w; }

void MsgCl::FindSelectionInDsm(Widget, XtPointer, XtPointer) {
  Str sel = SelectionOf(textWidget_);
  if (!sel.IsEmpty()) theDsm.FindAndSelect(sel);
}

void MsgCl::GoToSyntaxErrInDsm(Widget, XtPointer, XtPointer) {
  // All digits of the selection count, in order: "line 7, column 3" is 73.
  Str digits = SelectionOf(textWidget_);
  CharSet notDigits(true);
  notDigits.Remove("0123456789");
  digits.RemoveChars(notDigits);
  // A character set holds 7-bit codes only; a byte above 127 left behind
  // would stop the conversion short of the digits after it.
  std::string kept;
  for (const char* p = digits.c_str(); *p; ++p)
    if (*p >= '0' && *p <= '9') kept += *p;
  digits = kept.c_str();
  if (digits.IsEmpty()) return;
  errno = 0;
  long line = std::strtol(digits.c_str(), nullptr, 10);
  if (errno == ERANGE) line = LONG_MAX;
  theDsm.SelectLineNumber(line);
}

void MsgCl::OpenSelectedFile(Widget, XtPointer, XtPointer) {
  // The selection is one word for the editor, never shell syntax.
  Str sel = SelectionOf(textWidget_);
  Str cmd = theOpts.GetToolFileEditor() + " " + xkest::ShellWord(sel.c_str()).c_str() + " &";
  RunBusyCommand(cmd.c_str());
}
void MsgCl::SetMsgDialogWidget(Widget w, XtPointer, XtPointer) { dialogWidget_ = w; }
void MsgCl::SetPopMenuWidget(Widget w, XtPointer, XtPointer) { popupWidget_ = w; }
void MsgCl::SetWidget(Widget w, XtPointer, XtPointer) { textWidget_ = w; }
void MsgCl::PostPopupMenu(Widget, XEvent* event, String*, Cardinal*) {
  if (!popupWidget_ || !event || event->type != ButtonPress) return;
  XmMenuPosition(popupWidget_, &event->xbutton);
  XtManageChild(popupWidget_);
}

bool MsgCl::IsA(int classNumber) const { return classNumber == kMsgClass; }

void MsgCl::ShowMessage(const Str& text) {
  if (!dialogWidget_) return;
  XmString s = XmStringCreateSimple(const_cast<char*>(text.c_str()));
  XtVaSetValues(dialogWidget_, XmNmessageString, s, nullptr);
  XtManageChild(dialogWidget_);
  XmStringFree(s);
}

void MsgCl::ClearText() {
  if (textWidget_) XmTextSetString(textWidget_, const_cast<char*>(""));
}

void MsgCl::AppendText(const char* text) {
  if (!textWidget_ || !text) return;
  XmTextInsert(textWidget_, XmTextGetLastPosition(textWidget_), const_cast<char*>(text));
}
