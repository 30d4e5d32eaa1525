// AppCl: quitting, with the verify-quit dialog for unsaved DSM text.
#include "app/AppCl.h"

#include <cstdlib>

#include "app/Application.h"
#include "app/DsmCl.h"

AppCl* AppCl::Clone() const { return new AppCl(*this); }
AppCl::~AppCl() = default;

Widget AppCl::GetVerifyQuitDlg() const { return verifyQuitDlg_; }
void AppCl::SetVerifyQuitDlg(Widget w) { verifyQuitDlg_ = w; }

void AppCl::GracefulExit() {
  if (!theDsm.GetModified()) {
    QuitWithNoSave();
  } else if (verifyQuitDlg_) {
    XtManageChild(verifyQuitDlg_);
  }
}

void AppCl::QuitWithNoSave() {
  if (theAppShell) XtCloseDisplay(XtDisplay(theAppShell));
  std::exit(0);
}

void AppCl::SetVerifyQuitDlgWidget(Widget w) { verifyQuitDlg_ = w; }

bool AppCl::IsA(int classNumber) const { return classNumber == kAppClass; }
