// xkest: the desktop front end of the kestb code generator. The interface
// is built from the resource database (app-defaults class "xkest"); main
// only registers the application's names, builds the tree, loads the
// options and runs the toolkit loop.
//
// The process keeps the C locale on purpose: the text commands use byte
// offsets as text positions, and Motif's whole-text calls are many times
// slower under a multibyte locale.
#include <csignal>
#include <cstdlib>

#include "app/AppCl.h"
#include "app/Application.h"
#include "app/CallbackTable.h"
#include "app/OptionTable.h"
#include "app/OptsCl.h"
#include "wcl/WcCreate.h"
#include "xmp/Xmp.h"

int main(int argc, char** argv) {
  // A save past a file size limit (a quota) must fail with a message, not
  // end the program and take the unsaved text with it.
  std::signal(SIGXFSZ, SIG_IGN);
  theAppShell = XtInitialize(argv[0], const_cast<char*>("xkest"), xkest::kOptionTable,
                             xkest::kOptionCount, &argc, argv);
  XtAppContext app = XtWidgetToApplicationContext(theAppShell);

  RegisterXkestNames(app);
  XmpRegisterAll(app);

  if (WcWidgetCreation(theAppShell) != 0) std::exit(1);

  theOpts.LoadResources();
  XtRealizeWidget(theAppShell);
  theOpts.UpdateWidgets();
  XmpAddMwmCloseCallback(theAppShell, WmCloseHandler, nullptr);

  XtMainLoop();
  return 0;
}
