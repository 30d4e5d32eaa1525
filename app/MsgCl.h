// MsgCl: the message window: the generator's report text, the dialog for
// the program's short messages, the report's popup menu, and the commands
// that act on the text selected in the report (go to a DSM line, find in
// the DSM, open a file in the editor).
//
//   theMsg.ShowMessage("Please save the DSM file before generating code");
//   theMsg.ClearText(); theMsg.AppendText(chunk);
#pragma once

#include <X11/Intrinsic.h>

#include <string>
#include <vector>

#include "support/FileLine.h"
#include "support/TextMirror.h"
#include "support/Support.h"

// text laid out in lines that fit the screen of a message box dialog:
// lines too wide are broken at a blank or after a '/'.
std::string FitToScreen(Widget dialog, const std::string& text);

class MsgCl {
 public:
  MsgCl() = default;
  MsgCl(const MsgCl& other) = default;
  MsgCl& operator=(const MsgCl& other) = default;

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
  // The error walk over the report lines that name the DSM file: select
  // the next (previous) one's line in the DSM text and mark the report
  // line; "No more errors" past either end.
  virtual void NextError(Widget w, XtPointer client, XtPointer call);
  virtual void OpenSelectedFile(Widget w, XtPointer client, XtPointer call);
  virtual void PreviousError(Widget w, XtPointer client, XtPointer call);
  virtual void SetMsgDialogWidget(Widget w, XtPointer client, XtPointer call);
  virtual void SetPopMenuWidget(Widget w, XtPointer client, XtPointer call);
  virtual void SetWidget(Widget w, XtPointer client, XtPointer call);
  virtual void PostPopupMenu(Widget w, XEvent* event, String* params, Cardinal* numParams);
  // The release of the first button in the report; the second of a
  // double-click follows the line under the pointer: an error line naming the DSM goes to its
  // line (and the walk goes on from there); a line naming another file, or
  // "wrote PATH" / "unchanged PATH" / "backup PATH", opens that file in
  // the editor.
  virtual void FollowLink(Widget w, XEvent* event, String* params, Cardinal* numParams);

  virtual bool IsA(int classNumber) const;

  // Puts text into the message dialog and shows it; the user dismisses it.
  // While the dialog is still up the text is added below what it shows,
  // unless it is what the dialog shows last.
  // Lines too wide for the screen are broken at a blank or after a '/'.
  void ShowMessage(const Str& text);
  // Says text in the message dialog with Cancel as its only button, which
  // calls cancel, until EndCancellable: then the text goes (with the dialog
  // when it says nothing else) and OK is back. Messages shown meanwhile go
  // below it.
  void ShowCancellable(const Str& text, XtCallbackProc cancel);
  void EndCancellable();
  // Empties the report text.
  void ClearText();
  // Adds text at the end of the report.
  void AppendText(const char* text);
  // After a run: the report as shown (the walk reads its lines) and the
  // DSM file it was made from. The walk starts again before the first error.
  void TakeReport(std::string report, const Str& dsmFile);
  // Another DSM file (empty for none) is in the editor: the walk and the
  // report's links take the lines naming that file, from the start.
  void MatchErrors(const Str& dsmFile);
  // The report lines that name the DSM, in order.
  const std::vector<ReportLine>& Errors() const { return errors_; }

  // The report text was resized: a line that fitted may need wrapping now.
  void ReportResized(Widget text);

 private:
  void GoToError(size_t index);
  // Starts the editor on path, one word, in the background.
  void OpenInEditor(const Str& path);
  // Word wrap, when the resource description asks for it, is kept on only
  // while some line of the report may not fit: Motif measures every
  // character of a wrapping text, seconds for a large report.
  void WrapIfNeeded();
  void SetWrap(bool on);

  Widget textWidget_ = nullptr;
  Widget dialogWidget_ = nullptr;
  Widget popupWidget_ = nullptr;
  TextMirror report_;
  std::vector<ReportLine> errors_;
  long current_ = -1;  // the error shown last; -1 before the first
  // The report line marked for the current error; begin == end for none.
  long markBegin_ = 0, markEnd_ = 0;
  // The last button release in the report that may begin a double-click.
  Time lastRelease_ = 0;
  int lastX_ = 0, lastY_ = 0;
  std::string shown_;  // the message dialog's text, lines unbroken
  // The text shown with Cancel, and what Cancel calls; empty when none.
  std::string cancellable_;
  XtCallbackProc cancelProc_ = nullptr;
  void SetShown();
  bool wrapWanted_ = false;  // the description's wordWrap
  bool wrapOn_ = false;      // the widget's wordWrap now
  size_t widestCells_ = 0;   // the report's widest line, in character cells
  size_t tailCells_ = 0;     // its unfinished last line
};
