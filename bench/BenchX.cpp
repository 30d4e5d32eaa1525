// BenchX: the shared set-up of the text benchmarks.
#include "bench/BenchX.h"

#include <Xm/FileSB.h>
#include <Xm/Text.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <fstream>

#include <errno.h>  // program_invocation_short_name
#include <unistd.h>

#include "app/Application.h"
#include "app/CallbackTable.h"
#include "app/DsmCl.h"
#include "app/Keyboard.h"
#include "app/MsgCl.h"
#include "app/OptionTable.h"
#include "app/OptsCl.h"
#include "wcl/WcCreate.h"
#include "xmp/Xmp.h"

namespace benchx {

namespace {

Ui Build() {
  const char* locale = std::getenv("XK_BENCH_LOCALE");
  if (!std::setlocale(LC_ALL, locale ? locale : "C")) Fail(std::string("locale ") + locale + " not available");
  setenv("XFILESEARCHPATH", XK_SOURCE_DIR "/app/%N.ad", 1);
  setenv("KESTHOME", XK_SOURCE_DIR "/demo-home", 1);
  setenv("HOME", "/nonexistent", 1);
  for (const char* v : {"XENVIRONMENT", "XAPPLRESDIR", "XUSERFILESEARCHPATH"}) unsetenv(v);
  Ui ui;
  XtToolkitInitialize();
  ui.app = XtCreateApplicationContext();
  int argc = 1;
  static char name[] = "xkest";
  static char* argv[] = {name, nullptr};
  ui.dpy = XtOpenDisplay(ui.app, nullptr, "xkest", "xkest", xkest::kOptionTable, xkest::kOptionCount, &argc, argv);
  if (!ui.dpy) Fail("cannot open the display");
  ui.shell = XtAppCreateShell("xkest", "xkest", applicationShellWidgetClass, ui.dpy, nullptr, 0);
  theAppShell = ui.shell;
  RegisterXkestNames(ui.app);
  XmpRegisterAll(ui.app);
  if (WcWidgetCreation(ui.shell) != 0) Fail("the interface description did not load");
  theOpts.LoadResources();
  // The keyboard guard's verify callback, as the program has it: Motif
  // counts a new value again for every verify callback on the list.
  xkest::PrepareKeyboard(ui.shell);
  theDsm.GetTextMirror().VerifyLast();
  XtRealizeWidget(ui.shell);
  theOpts.UpdateWidgets();
  ui.dsmText = theDsm.GetTextWidget();
  ui.msgText = theMsg.GetTextWidget();
  ui.lineLabel = theDsm.GetCursorPosLabel();
  if (!ui.dsmText || !ui.msgText || !ui.lineLabel) Fail("the description made no DSM text, report or line label");
  return ui;
}

}  // namespace

const Ui& Interface() {
  static const Ui ui = Build();
  return ui;
}

void Drain() {
  const Ui& ui = Interface();
  XSync(ui.dpy, False);
  while (XtAppPending(ui.app)) XtAppProcessEvent(ui.app, XtIMAll);
}

void Fail(const std::string& what) {
  std::fprintf(stderr, "%s: %s\n", program_invocation_short_name, what.c_str());
  std::exit(1);
}

std::string ModelLine(long i, bool nonAscii) {
  if (nonAscii && i % 4 == 0)
    return "  // M\xc3\xbcller caf\xc3\xa9 na\xc3\xafve \xe2\x80\x94 \xe2\x80\x9cquotes\xe2\x80\x9d " + std::to_string(i);
  return "  field" + std::to_string(i) + " : long;  // a field";
}

std::string Model(size_t bytes, bool nonAscii) {
  std::string text;
  text.reserve(bytes + 64);
  for (long i = 0; text.size() < bytes; ++i) (text += ModelLine(i, nonAscii)) += '\n';
  return text;
}

std::string WriteTemp(const std::string& stem, const std::string& ext, const std::string& text) {
  std::string path = "/tmp/" + stem + "_" + std::to_string(getpid()) + ext;
  std::ofstream(path, std::ios::binary) << text;
  return path;
}

bool OpenDsm(const std::string& path) {
  theDsm.SetModified(0);
  XmFileSelectionBoxCallbackStruct cbs{};
  cbs.value = XmStringCreateLocalized(const_cast<char*>(path.c_str()));
  theDsm.Load(nullptr, nullptr, &cbs);
  XmStringFree(cbs.value);
  return theDsm.GetHasFileName() && std::string(theDsm.GetFileName().c_str()) == path;
}

void MoveCursor(XmTextPosition to, bool label) {
  Widget text = Interface().dsmText;
  XmTextVerifyCallbackStruct cbs{};
  cbs.reason = XmCR_MOVING_INSERT_CURSOR;
  cbs.doit = True;
  cbs.currInsert = XmTextGetInsertionPosition(text);
  cbs.newInsert = to;
  XmTextSetInsertionPosition(text, to);
  if (label) theDsm.SynchLineNums(text, nullptr, &cbs);
}

long HighWaterKb() {
  std::ifstream in("/proc/self/status");
  std::string key;
  long value = 0;
  while (in >> key) {
    if (key == "VmHWM:") {
      in >> value;
      return value;
    }
    in.ignore(1 << 12, '\n');
  }
  return 0;
}

}  // namespace benchx
