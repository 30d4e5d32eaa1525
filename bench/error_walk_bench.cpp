// error_walk_bench: the error walk and the error marks on the shipped
// interface description (C locale), against what a run costs anyway:
//   - showing a 20 MB report of 10,000 errors (the run's own display);
//   - reading the errors out of it and marking their 10,000 lines in a
//     50 MB DSM text;
//   - one Next Error (F4): the DSM line selected and shown, the report
//     line marked and shown.
//
//   scripts/with-xvfb.sh build/bench/error_walk_bench
#include <benchmark/benchmark.h>

#include <Xm/Xm.h>
#include <Xm/FileSB.h>
#include <Xm/Text.h>
#include <Xm/TextP.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include <unistd.h>

#include "app/Application.h"
#include "app/CallbackTable.h"
#include "app/DsmCl.h"
#include "app/MsgCl.h"
#include "app/OptionTable.h"
#include "app/OptsCl.h"
#include "wcl/WcCreate.h"
#include "xmp/Xmp.h"

namespace {

constexpr size_t kErrors = 10000;

struct Session {
  XtAppContext app = nullptr;
  Display* dpy = nullptr;
  Widget shell = nullptr, dsmText = nullptr, msgText = nullptr;
  std::string dsm, report;
  long lines = 0;
};

void Drain(Session& s) {
  XSync(s.dpy, False);
  while (XtAppPending(s.app)) XtAppProcessEvent(s.app, XtIMAll);
}

[[noreturn]] void Fail(const char* what) {
  std::fprintf(stderr, "error_walk_bench: %s\n", what);
  std::exit(1);
}

// The xkest interface from the shipped description, a 50 MB DSM loaded
// as Open loads it, and a 20 MB report naming 10,000 of its lines.
Session& Get() {
  static Session s = [] {
    std::setlocale(LC_ALL, "C");
    setenv("XFILESEARCHPATH", XK_SOURCE_DIR "/app/%N.ad", 1);
    setenv("KESTHOME", XK_SOURCE_DIR "/demo-home", 1);
    setenv("HOME", "/nonexistent", 1);
    for (const char* v : {"XENVIRONMENT", "XAPPLRESDIR", "XUSERFILESEARCHPATH"}) unsetenv(v);
    Session s;
    XtToolkitInitialize();
    s.app = XtCreateApplicationContext();
    int argc = 1;
    static char name[] = "xkest";
    static char* argv[] = {name, nullptr};
    s.dpy = XtOpenDisplay(s.app, nullptr, "xkest", "xkest", xkest::kOptionTable, xkest::kOptionCount, &argc, argv);
    if (!s.dpy) Fail("cannot open the display");
    s.shell = XtAppCreateShell("xkest", "xkest", applicationShellWidgetClass, s.dpy, nullptr, 0);
    theAppShell = s.shell;
    RegisterXkestNames(s.app);
    XmpRegisterAll(s.app);
    if (WcWidgetCreation(s.shell) != 0) Fail("the interface description did not load");
    theOpts.LoadResources();
    XtRealizeWidget(s.shell);
    s.dsmText = theDsm.GetTextWidget();
    s.msgText = theMsg.GetTextWidget();
    if (!s.dsmText || !s.msgText) Fail("the description made no DSM or report text");

    std::string text;
    text.reserve((50u << 20) + 64);
    while (text.size() < (50u << 20)) text += "  field" + std::to_string(s.lines++) + " : long;  // a field\n";
    s.dsm = "/tmp/error_walk_bench_" + std::to_string(getpid()) + ".dsm";
    std::ofstream(s.dsm) << text;
    XmFileSelectionBoxCallbackStruct cbs{};
    cbs.value = XmStringCreateLocalized(const_cast<char*>(s.dsm.c_str()));
    theDsm.Load(nullptr, nullptr, &cbs);
    XmStringFree(cbs.value);
    unlink(s.dsm.c_str());
    if (XmTextGetLastPosition(s.dsmText) != XmTextPosition(text.size())) Fail("the DSM did not load");

    long step = s.lines / long(kErrors);
    for (size_t i = 0; i < kErrors; ++i)
      s.report += s.dsm + ":" + std::to_string(1 + long(i) * step) + ": error: unknown type 'lng' for field 'f'\n";
    while (s.report.size() < (20u << 20)) s.report += "templates/cpp_std.tem:12: trace: struct ${record} {\n";
    Drain(s);
    return s;
  }();
  return s;
}

#define REQUIRE(cond, what)           \
  if (!(cond)) {                      \
    state.SkipWithError(what);        \
    return;                           \
  }

// The report shown as a run shows it: clear, then the whole text.
void BM_RunShowsReport(benchmark::State& state) {
  Session& s = Get();
  for (auto _ : state) {
    theMsg.ClearText();
    theMsg.AppendText(s.report.c_str());
    Drain(s);
  }
  REQUIRE(XmTextGetLastPosition(s.msgText) == XmTextPosition(s.report.size()), "the report was not shown whole");
}
BENCHMARK(BM_RunShowsReport)->Unit(benchmark::kMillisecond)->Iterations(5);

// What a run adds: the errors read out of the report and their lines marked.
void BM_RunMarksErrors(benchmark::State& state) {
  Session& s = Get();
  for (auto _ : state) {
    state.PauseTiming();
    std::string report = s.report;  // a run hands its report over, it does not copy it
    state.ResumeTiming();
    theMsg.TakeReport(std::move(report), Str(s.dsm.c_str()));
    theDsm.MarkErrorLines(theMsg.Errors());
    Drain(s);
  }
  REQUIRE(theMsg.Errors().size() == kErrors, "the errors were not all found");
  const _XmHighlightData& h = reinterpret_cast<XmTextWidget>(s.dsmText)->text.highlight;
  size_t marked = 0;
  for (Cardinal i = 0; i < h.number; ++i) marked += h.list[i].mode == XmHIGHLIGHT_SECONDARY_SELECTED;
  REQUIRE(marked == kErrors, "the error lines were not all marked");
}
BENCHMARK(BM_RunMarksErrors)->Unit(benchmark::kMillisecond)->Iterations(5);

// One F4, through the registered callback, from the first error on.
void BM_NextError(benchmark::State& state) {
  Session& s = Get();
  theMsg.ClearText();
  theMsg.AppendText(s.report.c_str());
  theMsg.TakeReport(s.report, Str(s.dsm.c_str()));
  theDsm.MarkErrorLines(theMsg.Errors());
  Drain(s);
  size_t walked = 0;
  for (auto _ : state) {
    xKestDoMsgNextErrorCB(nullptr, nullptr, nullptr);
    Drain(s);
    ++walked;
  }
  REQUIRE(walked < kErrors, "the walk ran past the last error");
  XmTextPosition left = 0, right = 0;
  REQUIRE(XmTextGetSelectionPosition(s.dsmText, &left, &right), "no DSM line is selected");
  long line = 1 + long(walked - 1) * (s.lines / long(kErrors));
  std::string want = "  field" + std::to_string(line - 1) + " : long;  // a field";
  char* got = XmTextGetSelection(s.dsmText);
  bool right_line = got && want == got;
  XtFree(got);
  REQUIRE(right_line, "the selected DSM line is not the error's");
}
BENCHMARK(BM_NextError)->Unit(benchmark::kMicrosecond)->Iterations(2000);

}  // namespace

BENCHMARK_MAIN();
