// message_bench: one warning appended by the message widget's printer to a
// text kept at its line limit (so every message also cuts), for limits of
// 100 (the default) and 1000 lines. Locale: C, or the one named by
// XK_BENCH_LOCALE (Motif fixes its text handling per process).
//
//   scripts/with-xvfb.sh build/bench/message_bench
//   XK_BENCH_LOCALE=C.UTF-8 scripts/with-xvfb.sh build/bench/message_bench
#include <benchmark/benchmark.h>

#include <X11/Shell.h>
#include <Xm/Text.h>

#include <algorithm>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>

#include "wcl/WcCreate.h"
#include "xmp/Xmp.h"

namespace {

struct Session {
  XtAppContext app = nullptr;
  Display* dpy = nullptr;
  Widget top = nullptr;
  std::map<long, Widget> texts;  // by line limit
};

Session& Get() {
  static Session s = [] {
    const char* locale = std::getenv("XK_BENCH_LOCALE");
    if (!std::setlocale(LC_ALL, locale ? locale : "C")) {
      std::fprintf(stderr, "message_bench: locale %s not available\n", locale);
      std::exit(1);
    }
    Session s;
    XtToolkitInitialize();
    s.app = XtCreateApplicationContext();
    int argc = 1;
    static char name[] = "msgbench";
    static char* argv[] = {name, nullptr};
    s.dpy = XtOpenDisplay(s.app, nullptr, "msgbench", "XkBench", nullptr, 0, &argc, argv);
    if (!s.dpy) {
      std::fprintf(stderr, "message_bench: cannot open the display\n");
      std::exit(1);
    }
    s.top = XtAppCreateShell("msgbench", "XkBench", applicationShellWidgetClass, s.dpy, nullptr, 0);
    return s;
  }();
  return s;
}

// A multi-line text with the given limit, already full.
Widget FullText(long maxLines, const std::string& line) {
  Session& s = Get();
  if (Widget w = s.texts[maxLines]) return w;
  std::string name = "log" + std::to_string(maxLines);
  XrmDatabase db = XtDatabase(s.dpy);
  XrmPutLineResource(&db, ("*" + name + ".messageMaxLines: " + std::to_string(maxLines)).c_str());
  XrmPutLineResource(&db, ("*" + name + ".messagePopup: False").c_str());
  Arg args[1];
  XtSetArg(args[0], XmNeditMode, XmMULTI_LINE_EDIT);
  Widget text = XmCreateText(s.top, const_cast<char*>(name.c_str()), args, 1);
  XmpMessageWidget(text);
  for (long i = 0; i < maxLines * 2; ++i) WcWarningPrinter(line.c_str(), nullptr);
  return s.texts[maxLines] = text;
}

void BM_MessageAtLimit(benchmark::State& state) {
  const std::string line =
      "Xmp Warning: XmpPopup( *menu ) - event type `KeyPress' is not ButtonPress event.";
  Widget text = FullText(state.range(0), line);
  XmpMessageWidget(text);
  for (auto _ : state) WcWarningPrinter(line.c_str(), nullptr);
  // The messages went into the text, which was cut to stay within its
  // limit (a note in place of the dropped head) rather than emptied.
  char* value = XmTextGetString(text);
  std::string shown = value ? value : "";
  XtFree(value);
  long lines = 1 + long(std::count(shown.begin(), shown.end(), '\n'));
  bool endsWithIt = shown.size() >= line.size() && shown.compare(shown.size() - line.size(), line.size(), line) == 0;
  if (!endsWithIt || lines > state.range(0) || lines < state.range(0) / 2)
    state.SkipWithError("the text does not end with the message within its line limit");
}

BENCHMARK(BM_MessageAtLimit)->Arg(100)->Arg(1000);

}  // namespace

BENCHMARK_MAIN();
