// xkest: the desktop front end of the kestb code generator. The interface
// is built from the resource database (app-defaults class "xkest"); main
// only registers the application's names, builds the tree, loads the
// options and runs the toolkit loop.
//
// The process keeps the C locale on purpose: the text commands use byte
// offsets as text positions, and Motif's whole-text calls are many times
// slower under a multibyte locale.
#include <Xm/Xm.h>
#include <Xm/Protocols.h>

#include <csignal>
#include <cstdlib>

#include "app/AppCl.h"
#include "app/Application.h"
#include "app/CallbackTable.h"
#include "app/Keyboard.h"
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
  // Before the interface is built, so the close line is printed before any
  // close callback of the resource description (which may quit) runs.
  XmpAddMwmCloseCallback(theAppShell, WmCloseHandler, nullptr);

  if (WcWidgetCreation(theAppShell) != 0) std::exit(1);
  // No part in the old save-yourself protocol: a window manager that sees
  // it in WM_PROTOCOLS (mwm) follows a close request with save-yourself
  // and then kills the client, unsaved text and all.
  Atom saveYourself = XmInternAtom(XtDisplay(theAppShell), const_cast<char*>("WM_SAVE_YOURSELF"), False);
  XmRemoveWMProtocols(theAppShell, &saveYourself, 1);

  theOpts.LoadResources();
  xkest::PrepareKeyboard(theAppShell);
  XtRealizeWidget(theAppShell);
  theOpts.UpdateWidgets();

  XtMainLoop();
  return 0;
}
