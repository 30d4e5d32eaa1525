// dsm_text_bench: the DSM editor's text work on the interface built from
// the shipped app/xkest.ad (C locale), each next to the Motif or
// plain-memory cost it is judged by:
//   - cursor motion with the line-number label against Motif's own motion,
//     for short moves and for long jumps (against a memchr count of the
//     distance);
//   - opening a DSM (read, set, first paint) against XmTextSetString alone;
//   - showing a generator report in the report text as shipped (word wrap
//     on) against XmTextSetString of it there, with word wrap as shipped
//     and with word wrap off; and a report with one line too long to fit,
//     which does need the wrapped layout;
//   - find against memmem over the same bytes, go to a line near the end.
// Sizes: 1 MB and 50 MB DSM texts, a 20 MB report. Each checks that it did
// its work (the text set, the file loaded, the match selected) and reports
// an error instead of a figure otherwise.
//
//   scripts/with-xvfb.sh build/bench/dsm_text_bench
//   scripts/with-xvfb.sh build/bench/dsm_text_bench --benchmark_filter=BM_Report
//   scripts/with-xvfb.sh build/bench/dsm_text_bench --peak-open   # peak memory of one open
#include <benchmark/benchmark.h>

#include <X11/IntrinsicP.h>
#include <X11/CoreP.h>
#include <Xm/Xm.h>
#include <Xm/Text.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <map>
#include <string>

#include <unistd.h>

#include "app/Application.h"
#include "app/CallbackTable.h"
#include "app/DsmCl.h"
#include "app/MsgCl.h"
#include "bench/BenchX.h"
#include "support/TextLines.h"

namespace {

// The shipped interface, and the DSM files made for it.
struct Session : benchx::Ui {
  std::map<size_t, std::string> files;  // DSM files by size
};

Session& Get() {
  static Session s = [] {
    Session s{benchx::Interface(), {}};
    benchx::Drain();
    return s;
  }();
  return s;
}

// What the description says of the report text's word wrap (the program
// keeps it off while no line needs it).
bool WrapAsked() {
  Session& s = Get();
  std::string names = ".wordWrap", classes = ".WordWrap";
  for (Widget w = s.msgText; XtParent(w); w = XtParent(w)) {
    names = "." + std::string(XtName(w)) + names;
    classes = "." + std::string(XtClass(w)->core_class.class_name) + classes;
  }
  char *appName = nullptr, *appClass = nullptr;
  XtGetApplicationNameAndClass(s.dpy, &appName, &appClass);
  names = appName + names;
  classes = appClass + classes;
  char* type = nullptr;
  XrmValue value{};
  if (!XrmGetResource(XtDatabase(s.dpy), names.c_str(), classes.c_str(), &type, &value) || !value.addr)
    return false;
  return std::strcmp(value.addr, "True") == 0 || std::strcmp(value.addr, "true") == 0;
}

std::string Lines(size_t bytes) { return benchx::Model(bytes, false); }

const std::string& DsmFile(size_t bytes) {
  Session& s = Get();
  std::string& path = s.files[bytes];
  if (path.empty()) {
    path = benchx::WriteTemp("dsm_bench_" + std::to_string(bytes), ".dsm", Lines(bytes));
  }
  return path;
}

// Loads path as the Open dialog's OK does, the earlier text discarded
// first (a modified text is not replaced unasked); true when the whole
// file is in the DSM text.
bool Load(const std::string& path) {
  Get();
  std::ifstream in(path, std::ios::ate | std::ios::binary);
  return benchx::OpenDsm(path) && XmTextGetLastPosition(Get().dsmText) == XmTextPosition(in.tellg());
}

bool EnsureLoaded(size_t bytes) {
  static size_t loaded = 0;
  if (loaded != bytes) {
    if (!Load(DsmFile(bytes))) return false;
    loaded = bytes;
  }
  return true;
}

// Short moves around the middle of the text: Motif's own motion, then the
// same with the line label kept up to date.
void BM_ShortMoves(benchmark::State& state) {
  size_t bytes = size_t(state.range(0)) << 20;
  bool label = state.range(1) != 0;
  BENCHX_REQUIRE(EnsureLoaded(bytes), "the DSM did not load");
  XmTextPosition mid = XmTextPosition(bytes / 2);
  long i = 0;
  for (auto _ : state) benchx::MoveCursor(mid + (i++ % 200) * 7, label);
  state.SetLabel(label ? "motion+label" : "Motif motion");
}
BENCHMARK(BM_ShortMoves)->Args({1, 0})->Args({1, 1})->Args({50, 0})->Args({50, 1})->Unit(benchmark::kMicrosecond);

// Alternating jumps between the start and the end: the label's cost
// against a memchr count over the same distance.
void BM_LongJumps(benchmark::State& state) {
  Session& s = Get();
  size_t bytes = size_t(state.range(0)) << 20;
  BENCHX_REQUIRE(EnsureLoaded(bytes), "the DSM did not load");
  XmTextPosition last = XmTextGetLastPosition(s.dsmText);
  long i = 0;
  for (auto _ : state) {
    // Each jump lands on a fresh place, so nothing remembered is exact.
    XmTextPosition to = (i % 2) ? last - (i % 1000) : (i % 1000);
    ++i;
    theDsm.TextChanging(long(last) / 2 + (i % 1000));  // as an edit in the middle would
    benchx::MoveCursor(to, true);
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
    // Each from the top: run after BM_LongJumps had left the cursor near
    // the end, XmTextSetString took 22 s here instead of 0.4 s.
    state.PauseTiming();
    XmTextSetInsertionPosition(s.dsmText, 0);
    XmTextSetTopCharacter(s.dsmText, 0);
    benchx::Drain();
    state.ResumeTiming();
    if (whole) {
      BENCHX_REQUIRE(Load(path), "the DSM did not load");
    } else {
      XmTextSetString(s.dsmText, text.data());
      BENCHX_REQUIRE(XmTextGetLastPosition(s.dsmText) == XmTextPosition(text.size()), "the text was not set");
    }
    benchx::Drain();
  }
  state.SetLabel(whole ? "Load (read+set+paint)" : "XmTextSetString+paint");
}
BENCHMARK(BM_Open)->Args({50, 0})->Args({50, 1})->Unit(benchmark::kMillisecond)->Iterations(5);

// The report, with the window scrolled to the top, in the report text as
// the description makes it:
//   0  XmTextSetString, word wrap as described (on)
//   1  XmTextSetString, word wrap off
//   2  the program's way: read the report file, clear, append
//   3  the program's way, one line of the report too long to fit
void BM_Report(benchmark::State& state) {
  Session& s = Get();
  BENCHX_REQUIRE(WrapAsked(), "the description no longer asks for a word-wrapping report");
  size_t bytes = size_t(state.range(0)) << 20;
  int how = int(state.range(1));
  std::string report = Lines(bytes);
  if (how == 3) report.insert(report.size() / 2, std::string(400, 'w'));
  const std::string file = "/tmp/dsm_bench_report_" + std::to_string(getpid()) + ".txt";
  std::ofstream(file) << report;
  for (auto _ : state) {
    state.PauseTiming();
    theMsg.ClearText();
    XmTextSetTopCharacter(s.msgText, 0);
    XmTextSetInsertionPosition(s.msgText, 0);
    XtVaSetValues(s.msgText, XmNwordWrap, how == 0 ? True : False, nullptr);
    benchx::Drain();
    state.ResumeTiming();
    if (how <= 1) {
      XmTextSetString(s.msgText, report.data());
    } else {
      std::string got;
      BENCHX_REQUIRE(ReadReportFile(file.c_str(), got), "the report file was refused");
      theMsg.ClearText();
      theMsg.AppendText(got.c_str());
    }
    benchx::Drain();
    state.PauseTiming();
    Boolean wrapped = False;
    XtVaGetValues(s.msgText, XmNwordWrap, &wrapped, nullptr);
    BENCHX_REQUIRE(XmTextGetLastPosition(s.msgText) == XmTextPosition(report.size()), "the report was not shown whole");
    BENCHX_REQUIRE(how < 2 || bool(wrapped) == (how == 3), "word wrap is not on exactly when a line needs it");
    state.ResumeTiming();
  }
  unlink(file.c_str());
  theMsg.ClearText();
  const char* labels[] = {"XmTextSetString, wrap on", "XmTextSetString, wrap off", "read+clear+append",
                          "read+clear+append, a long line"};
  state.SetLabel(labels[how]);
}
BENCHMARK(BM_Report)->Args({20, 0})->Args({20, 1})->Args({20, 2})->Args({20, 3})->Unit(benchmark::kMillisecond)->Iterations(5);

// Find a word that occurs only near the end, from the start.
void BM_Find(benchmark::State& state) {
  Session& s = Get();
  size_t bytes = size_t(state.range(0)) << 20;
  bool widget = state.range(1) != 0;
  // A fresh copy of the file with one zebra near its end.
  BENCHX_REQUIRE(Load(DsmFile(bytes)), "the DSM did not load");
  XmTextPosition last = XmTextGetLastPosition(s.dsmText);
  XmTextReplace(s.dsmText, last - 5, last - 5, const_cast<char*>("zebra"));
  std::string text = Lines(bytes) + "zebra";
  for (auto _ : state) {
    if (widget) {
      XmTextSetInsertionPosition(s.dsmText, 0);
      theDsm.FindAndSelect("zebra");
      XmTextPosition l = 0, r = 0;
      BENCHX_REQUIRE(XmTextGetSelectionPosition(s.dsmText, &l, &r) && l == last - 5 && r == last, "zebra not selected");
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
  BENCHX_REQUIRE(Load(DsmFile(bytes)), "the DSM did not load");
  std::string text = Lines(bytes);
  long lines = 1 + long(textlines::CountNewlines(text));
  long i = 0;
  for (auto _ : state) {
    long line = lines - 10 - (i++ % 100);
    theDsm.SelectLineNumber(line);
    XmTextPosition l = 0, r = 0;
    BENCHX_REQUIRE(XmTextGetSelectionPosition(s.dsmText, &l, &r) && r > l, "no line selected");
  }
}
BENCHMARK(BM_GoToLineNearEnd)->Arg(50)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1 && std::strcmp(argv[1], "--peak-open") == 0) {
    const std::string& path = DsmFile(size_t(50) << 20);
    long before = benchx::HighWaterKb();
    if (!Load(path)) benchx::Fail("the DSM did not load");
    benchx::Drain();
    long after = benchx::HighWaterKb();
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
