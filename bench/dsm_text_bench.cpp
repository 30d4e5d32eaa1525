// dsm_text_bench: the DSM editor's text work on real Motif text widgets
// (C locale), each next to the Motif or plain-memory cost it is judged by:
//   - cursor motion with the line-number label against Motif's own motion,
//     for short moves and for long jumps (against a memchr count of the
//     distance);
//   - opening a DSM (read, set, first paint) against XmTextSetString alone;
//   - showing a generator report against XmTextSetString of it, with the
//     window scrolled to the top;
//   - find against memmem over the same bytes, go to a line near the end.
// Sizes: 1 MB and 50 MB DSM texts, a 20 MB report.
//
//   scripts/with-xvfb.sh build/bench/dsm_text_bench
//   scripts/with-xvfb.sh build/bench/dsm_text_bench --peak-open   # peak memory of one open
#include <benchmark/benchmark.h>

#include <Xm/Xm.h>
#include <Xm/FileSB.h>
#include <Xm/Label.h>
#include <Xm/RowColumn.h>
#include <Xm/Text.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <string>

#include <unistd.h>

#include "app/Application.h"
#include "app/DsmCl.h"
#include "app/MsgCl.h"
#include "support/TextLines.h"

namespace {

struct Session {
  XtAppContext app = nullptr;
  Display* dpy = nullptr;
  Widget shell = nullptr, dsmText = nullptr, msgText = nullptr, label = nullptr;
  std::map<size_t, std::string> files;  // DSM files by size
};

void Drain(Session& s) {
  XSync(s.dpy, False);
  while (XtAppPending(s.app)) XtAppProcessEvent(s.app, XtIMAll);
}

Session& Get() {
  static Session s = [] {
    std::setlocale(LC_ALL, "C");
    Session s;
    XtToolkitInitialize();
    s.app = XtCreateApplicationContext();
    int argc = 1;
    static char name[] = "dsmbench";
    static char* argv[] = {name, nullptr};
    s.dpy = XtOpenDisplay(s.app, nullptr, "dsmbench", "XkBench", nullptr, 0, &argc, argv);
    if (!s.dpy) {
      std::fprintf(stderr, "dsm_text_bench: cannot open the display\n");
      std::exit(1);
    }
    s.shell = XtAppCreateShell("dsmbench", "XkBench", applicationShellWidgetClass, s.dpy, nullptr, 0);
    theAppShell = s.shell;
    Widget box = XmCreateRowColumn(s.shell, const_cast<char*>("main"), nullptr, 0);
    XtManageChild(box);
    Arg args[3];
    XtSetArg(args[0], XmNeditMode, XmMULTI_LINE_EDIT);
    XtSetArg(args[1], XmNrows, 24);
    XtSetArg(args[2], XmNcolumns, 80);
    s.dsmText = XmCreateScrolledText(box, const_cast<char*>("dsmText"), args, 3);
    s.msgText = XmCreateScrolledText(box, const_cast<char*>("msgText"), args, 3);
    s.label = XmCreateLabel(box, const_cast<char*>("line"), nullptr, 0);
    for (Widget w : {s.dsmText, s.msgText, s.label}) XtManageChild(w);
    XtRealizeWidget(s.shell);
    theDsm.SetWidget(s.dsmText, nullptr, nullptr);
    theDsm.SetCursorPosWidget(s.label, nullptr, nullptr);
    theMsg.SetWidget(s.msgText, nullptr, nullptr);
    Drain(s);
    return s;
  }();
  return s;
}

std::string Lines(size_t bytes) {
  std::string text;
  text.reserve(bytes + 64);
  for (long i = 0; text.size() < bytes; ++i) text += "  field" + std::to_string(i) + " : long;  // a field\n";
  return text;
}

const std::string& DsmFile(size_t bytes) {
  Session& s = Get();
  std::string& path = s.files[bytes];
  if (path.empty()) {
    path = "/tmp/dsm_bench_" + std::to_string(getpid()) + "_" + std::to_string(bytes) + ".dsm";
    std::ofstream(path) << Lines(bytes);
  }
  return path;
}

void Load(const std::string& path) {
  XmFileSelectionBoxCallbackStruct cbs{};
  cbs.value = XmStringCreateLocalized(const_cast<char*>(path.c_str()));
  theDsm.Load(nullptr, nullptr, &cbs);
  XmStringFree(cbs.value);
}

void EnsureLoaded(size_t bytes) {
  static size_t loaded = 0;
  if (loaded != bytes) {
    Load(DsmFile(bytes));
    loaded = bytes;
  }
}

void Motion(Session& s, XmTextPosition to, bool label) {
  XmTextVerifyCallbackStruct cbs{};
  cbs.reason = XmCR_MOVING_INSERT_CURSOR;
  cbs.doit = True;
  cbs.currInsert = XmTextGetInsertionPosition(s.dsmText);
  cbs.newInsert = to;
  XmTextSetInsertionPosition(s.dsmText, to);
  if (label) theDsm.SynchLineNums(s.dsmText, nullptr, &cbs);
}

// Short moves around the middle of the text: Motif's own motion, then the
// same with the line label kept up to date.
void BM_ShortMoves(benchmark::State& state) {
  Session& s = Get();
  size_t bytes = size_t(state.range(0)) << 20;
  bool label = state.range(1) != 0;
  EnsureLoaded(bytes);
  XmTextPosition mid = XmTextPosition(bytes / 2);
  long i = 0;
  for (auto _ : state) Motion(s, mid + (i++ % 200) * 7, label);
  state.SetLabel(label ? "motion+label" : "Motif motion");
}
BENCHMARK(BM_ShortMoves)->Args({1, 0})->Args({1, 1})->Args({50, 0})->Args({50, 1})->Unit(benchmark::kMicrosecond);

// Alternating jumps between the start and the end: the label's cost
// against a memchr count over the same distance.
void BM_LongJumps(benchmark::State& state) {
  Session& s = Get();
  size_t bytes = size_t(state.range(0)) << 20;
  EnsureLoaded(bytes);
  XmTextPosition last = XmTextGetLastPosition(s.dsmText);
  long i = 0;
  for (auto _ : state) {
    // Each jump lands on a fresh place, so nothing remembered is exact.
    XmTextPosition to = (i % 2) ? last - (i % 1000) : (i % 1000);
    ++i;
    theDsm.TextChanging(long(last) / 2 + (i % 1000));  // as an edit in the middle would
    Motion(s, to, true);
  }
}
BENCHMARK(BM_LongJumps)->Arg(50)->Unit(benchmark::kMicrosecond);

void BM_MemchrCount(benchmark::State& state) {
  std::string text = Lines(size_t(state.range(0)) << 20);
  for (auto _ : state) benchmark::DoNotOptimize(textlines::CountNewlines(std::string_view(text).substr(text.size() / 2)));
  state.SetLabel("half the text, plain memory");
}
BENCHMARK(BM_MemchrCount)->Arg(50)->Unit(benchmark::kMicrosecond);

// Opening: read, set, index, first paint; against XmTextSetString alone.
void BM_Open(benchmark::State& state) {
  Session& s = Get();
  size_t bytes = size_t(state.range(0)) << 20;
  const std::string& path = DsmFile(bytes);
  bool whole = state.range(1) != 0;
  std::string text = whole ? std::string() : Lines(bytes);
  for (auto _ : state) {
    if (whole)
      Load(path);
    else
      XmTextSetString(s.dsmText, text.data());
    Drain(s);
  }
  state.SetLabel(whole ? "Load (read+set+paint)" : "XmTextSetString+paint");
}
BENCHMARK(BM_Open)->Args({50, 0})->Args({50, 1})->Unit(benchmark::kMillisecond)->Iterations(5);

// The report: read back and shown with the window scrolled to the top.
void BM_Report(benchmark::State& state) {
  Session& s = Get();
  size_t bytes = size_t(state.range(0)) << 20;
  bool viaReport = state.range(1) != 0;
  std::string report = Lines(bytes);
  std::ofstream("/tmp/dsm_bench_report.txt") << report;
  for (auto _ : state) {
    XmTextSetTopCharacter(s.msgText, 0);
    XmTextSetInsertionPosition(s.msgText, 0);
    if (viaReport) {
      std::string got;
      ReadReportFile("/tmp/dsm_bench_report.txt", got);
      theMsg.ClearText();
      theMsg.AppendText(got.c_str());
    } else {
      XmTextSetString(s.msgText, report.data());
    }
    Drain(s);
  }
  unlink("/tmp/dsm_bench_report.txt");
  state.SetLabel(viaReport ? "read+clear+append" : "XmTextSetString");
}
BENCHMARK(BM_Report)->Args({20, 0})->Args({20, 1})->Unit(benchmark::kMillisecond)->Iterations(5);

// Find a word that occurs only near the end, from the start.
void BM_Find(benchmark::State& state) {
  Session& s = Get();
  size_t bytes = size_t(state.range(0)) << 20;
  bool widget = state.range(1) != 0;
  EnsureLoaded(bytes);
  XmTextPosition last = XmTextGetLastPosition(s.dsmText);
  XmTextReplace(s.dsmText, last - 5, last - 5, const_cast<char*>("zebra"));
  std::string text = Lines(bytes) + "zebra";
  for (auto _ : state) {
    if (widget) {
      XmTextSetInsertionPosition(s.dsmText, 0);
      theDsm.FindAndSelect("zebra");
    } else {
      benchmark::DoNotOptimize(memmem(text.data(), text.size(), "zebra", 5));
    }
  }
  state.SetLabel(widget ? "FindAndSelect" : "memmem");
}
BENCHMARK(BM_Find)->Args({50, 0})->Args({50, 1})->Unit(benchmark::kMillisecond);

void BM_GoToLineNearEnd(benchmark::State& state) {
  Session& s = Get();
  size_t bytes = size_t(state.range(0)) << 20;
  Load(DsmFile(bytes));
  std::string text = Lines(bytes);
  long lines = 1 + long(textlines::CountNewlines(text));
  long i = 0;
  for (auto _ : state) theDsm.SelectLineNumber(lines - 10 - (i++ % 100));
  (void)s;
}
BENCHMARK(BM_GoToLineNearEnd)->Arg(50)->Unit(benchmark::kMicrosecond);

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

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1 && std::strcmp(argv[1], "--peak-open") == 0) {
    Session& s = Get();
    const std::string& path = DsmFile(size_t(50) << 20);
    long before = HighWaterKb();
    Load(path);
    Drain(s);
    long after = HighWaterKb();
    std::printf("open 50 MB DSM: peak memory grew by %.1f MB (%.2fx the file)\n", (after - before) / 1024.0,
                (after - before) / 1024.0 / 50.0);
    unlink(path.c_str());
    return 0;
  }
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  for (auto& [size, path] : Get().files) unlink(path.c_str());
  return 0;
}
