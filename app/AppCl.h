// AppCl: the application object; it owns quitting. Quitting with unsaved
// DSM text shows the verify-quit dialog instead of exiting; the dialog's
// confirming button quits without saving.
//
//   theApp.GracefulExit();     // exit(0), or the dialog when text changed
#pragma once

#include <X11/Intrinsic.h>

class AppCl {
 public:
  AppCl() = default;
  AppCl(const AppCl& other) = default;
  AppCl& operator=(const AppCl& other) = default;

  virtual AppCl* Clone() const;
  virtual ~AppCl();

  virtual Widget GetVerifyQuitDlg() const;
  virtual void SetVerifyQuitDlg(Widget w);

  // Ends the process with status 0 unless the DSM text is modified; then
  // shows the verify-quit dialog and returns.
  virtual void GracefulExit();
  // Ends the process with status 0 whatever the DSM state.
  virtual void QuitWithNoSave();
  // Creation callback of the verify-quit dialog: stores it.
  virtual void SetVerifyQuitDlgWidget(Widget w);

  virtual bool IsA(int classNumber) const;

 private:
  Widget verifyQuitDlg_ = nullptr;
};
