// MsgCl: the message window: the generator's report text, the dialog for
// the program's short messages, the report's popup menu, and the commands
// that act on the text selected in the report (go to a DSM line, find in
// the DSM, open a file in the editor).
//
//   theMsg.ShowMessage("Please save the DSM file before generating code");
//   theMsg.ClearText(); theMsg.AppendText(chunk);
#pragma once

#include <X11/Intrinsic.h>

#include "support/Support.h"

class MsgCl {
 public:
  MsgCl() = default;
  MsgCl(const MsgCl& other) = default;
  MsgCl& operator=(const MsgCl& other);

  virtual MsgCl* Clone() const;
  virtual ~MsgCl();

  virtual Widget GetTextWidget() const;
  virtual void SetTextWidget(Widget w);
  virtual Widget GetDialogWidget() const;
  virtual void SetDialogWidget(Widget w);
  virtual Widget GetPopupWidget() const;
  virtual void SetPopupWidget(Widget w);

  virtual void FindSelectionInDsm(Widget w, XtPointer client, XtPointer call);
  virtual void GoToSyntaxErrInDsm(Widget w, XtPointer client, XtPointer call);
  virtual void OpenSelectedFile(Widget w, XtPointer client, XtPointer call);
  virtual void SetMsgDialogWidget(Widget w, XtPointer client, XtPointer call);
  virtual void SetPopMenuWidget(Widget w, XtPointer client, XtPointer call);
  virtual void SetWidget(Widget w, XtPointer client, XtPointer call);
  virtual void PostPopupMenu(Widget w, XEvent* event, String* params, Cardinal* numParams);

  virtual bool IsA(int classNumber) const;

  // Puts text into the message dialog and shows it; the user dismisses it.
  void ShowMessage(const Str& text);
  // Empties the report text.
  void ClearText();
  // Adds text at the end of the report.
  void AppendText(const char* text);

 private:
  Widget textWidget_ = nullptr;
  Widget dialogWidget_ = nullptr;
  Widget popupWidget_ = nullptr;
};
