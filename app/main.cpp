// xkest: the desktop front end of the kestb code generator. The interface
// is built from the resource database (app-defaults class "xkest"); main
// only registers the application's names, builds the tree, loads the
// options and runs the toolkit loop.
//
// The process runs in the user's locale when that is UTF-8, so Motif draws
// and measures text beyond ASCII whole; any other locale falls back to C,
// where text is bytes as it always was (and Motif's text calls are fastest).
#include <X11/Xlib.h>
#include <Xm/Xm.h>
#include <Xm/Protocols.h>

#include <clocale>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <langinfo.h>

#include "app/AppCl.h"
#include "app/Application.h"
#include "app/CallbackTable.h"
#include "app/DsmCl.h"
#include "app/Keyboard.h"
#include "app/OptionTable.h"
#include "app/OptsCl.h"
#include "wcl/WcCreate.h"
#include "xmp/Xmp.h"

namespace {

// Xt's language procedure, called while the display is opened: the locale
// named by the xnlLanguage resource or the environment, kept only when its
// characters are UTF-8. Numbers stay in the C form whatever the locale.
String UseUtf8Locale(Display*, String xnl, XtPointer) {
  const char* wanted = std::setlocale(LC_ALL, xnl ? xnl : "");
  bool utf8 = wanted && std::strcmp(nl_langinfo(CODESET), "UTF-8") == 0 && XSupportsLocale();
  if (!utf8) std::setlocale(LC_ALL, "C");
  std::setlocale(LC_NUMERIC, "C");
  XSetLocaleModifiers("");
  return std::setlocale(LC_CTYPE, nullptr);
}

}  // namespace

int main(int argc, char** argv) {
  // A save past a file size limit (a quota) must fail with a message, not
  // end the program and take the unsaved text with it.
  std::signal(SIGXFSZ, SIG_IGN);
  XtSetLanguageProc(nullptr, UseUtf8Locale, nullptr);
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
  // The DSM text's copy takes a change only after the callbacks added
  // since (the refusal of typed control characters) had their say.
  theDsm.GetTextMirror().VerifyLast();
  XtRealizeWidget(theAppShell);
  theOpts.UpdateWidgets();

  XtMainLoop();
  return 0;
}
