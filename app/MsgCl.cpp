// MsgCl: the message window. The commands on the report's selection are
// still to come; storing the widgets and the three plain operations are
// here. A widget that the resource description did not create is never
// touched.
#include "app/MsgCl.h"

#include <Xm/Xm.h>
#include <Xm/Text.h>

#include "app/Application.h"

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

void MsgCl::FindSelectionInDsm(Widget, XtPointer, XtPointer) {}
void MsgCl::GoToSyntaxErrInDsm(Widget, XtPointer, XtPointer) {}
void MsgCl::OpenSelectedFile(Widget, XtPointer, XtPointer) {}
void MsgCl::SetMsgDialogWidget(Widget w, XtPointer, XtPointer) { dialogWidget_ = w; }
void MsgCl::SetPopMenuWidget(Widget w, XtPointer, XtPointer) { popupWidget_ = w; }
void MsgCl::SetWidget(Widget w, XtPointer, XtPointer) { textWidget_ = w; }
void MsgCl::PostPopupMenu(Widget, XEvent*, String*, Cardinal*) {}

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
