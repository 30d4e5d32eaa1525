// error_walk_bench: the error walk and the error marks on the shipped
// interface description, against what a run costs anyway:
//   - showing a 20 MB report of 10,000 errors (the run's own display);
//   - reading the errors out of it and marking their 10,000 lines in a
//     50 MB DSM text (a quarter of its lines hold UTF-8 comments);
//   - one Next Error (F4): the DSM line selected and shown, the report
//     line marked and shown.
// Locale: C, or the one named by XK_BENCH_LOCALE (in a UTF-8 locale the
// widgets count characters, and the marks convert to them).
//
//   scripts/with-xvfb.sh build/bench/error_walk_bench
//   XK_BENCH_LOCALE=C.UTF-8 scripts/with-xvfb.sh build/bench/error_walk_bench
#include <benchmark/benchmark.h>

#include <Xm/Xm.h>
#include <Xm/Text.h>
#include <Xm/TextP.h>

#include <algorithm>
#include <string>

#include <unistd.h>

#include "app/Application.h"
#include "app/CallbackTable.h"
#include "app/DsmCl.h"
#include "app/MsgCl.h"
#include "bench/BenchX.h"

namespace {

constexpr size_t kErrors = 10000;

struct Session {
  std::string dsm, report;
  long lines = 0;
};

// A 50 MB DSM loaded as Open loads it, and a 20 MB report naming 10,000
// of its lines.
Session& Get() {
  static Session s = [] {
    benchx::Interface();
    Session s;
    std::string text = benchx::Model(50u << 20, true);
    s.lines = long(std::count(text.begin(), text.end(), '\n'));
    s.dsm = benchx::WriteTemp("error_walk_bench", ".dsm", text);
    bool opened = benchx::OpenDsm(s.dsm);
    unlink(s.dsm.c_str());
    if (!opened || theDsm.GetTextMirror().Text().Bytes() != text) benchx::Fail("the DSM did not load");

    long step = s.lines / long(kErrors);
    for (size_t i = 0; i < kErrors; ++i)
      s.report += s.dsm + ":" + std::to_string(1 + long(i) * step) + ": error: unknown type 'lng' for field 'f'\n";
    while (s.report.size() < (20u << 20)) s.report += "templates/cpp_std.tem:12: trace: struct ${record} {\n";
    benchx::Drain();
    return s;
  }();
  return s;
}

// The report shown as a run shows it: clear, then the whole text.
void BM_RunShowsReport(benchmark::State& state) {
  Session& s = Get();
  for (auto _ : state) {
    theMsg.ClearText();
    theMsg.AppendText(s.report.c_str());
    benchx::Drain();
  }
  BENCHX_REQUIRE(XmTextGetLastPosition(benchx::Interface().msgText) == XmTextPosition(s.report.size()),
                 "the report was not shown whole");
}
BENCHMARK(BM_RunShowsReport)->Unit(benchmark::kMillisecond)->Iterations(5);

// What a run adds: the errors read out of the report and their lines marked.
void BM_RunMarksErrors(benchmark::State& state) {
  Session& s = Get();
  Widget dsmText = benchx::Interface().dsmText;
  for (auto _ : state) {
    state.PauseTiming();
    std::string report = s.report;  // a run hands its report over, it does not copy it
    state.ResumeTiming();
    theMsg.TakeReport(std::move(report), Str(s.dsm.c_str()));
    theDsm.MarkErrorLines(theMsg.Errors());
    benchx::Drain();
  }
  BENCHX_REQUIRE(theMsg.Errors().size() == kErrors, "the errors were not all found");
  const _XmHighlightData& h = reinterpret_cast<XmTextWidget>(dsmText)->text.highlight;
  size_t marked = 0;
  for (Cardinal i = 0; i < h.number; ++i) marked += h.list[i].mode == XmHIGHLIGHT_SECONDARY_SELECTED;
  BENCHX_REQUIRE(marked == kErrors, "the error lines were not all marked");
  // The last mark covers the last named line, in the widget's positions.
  const TextMirror& text = theDsm.GetTextMirror().Text();
  long last = 1 + long(kErrors - 1) * (s.lines / long(kErrors));
  size_t at = text.Bytes().find("\n" + benchx::ModelLine(last - 1, true) + "\n") + 1;
  for (Cardinal i = h.number; i-- > 0;)
    if (h.list[i].mode == XmHIGHLIGHT_SECONDARY_SELECTED) {
      BENCHX_REQUIRE(size_t(h.list[i].position) == text.PosOf(at), "the last mark is not on its line");
      break;
    }
}
BENCHMARK(BM_RunMarksErrors)->Unit(benchmark::kMillisecond)->Iterations(5);

// One F4, through the registered callback, from the first error on.
void BM_NextError(benchmark::State& state) {
  Session& s = Get();
  Widget dsmText = benchx::Interface().dsmText;
  theMsg.ClearText();
  theMsg.AppendText(s.report.c_str());
  theMsg.TakeReport(s.report, Str(s.dsm.c_str()));
  theDsm.MarkErrorLines(theMsg.Errors());
  benchx::Drain();
  size_t walked = 0;
  for (auto _ : state) {
    xKestDoMsgNextErrorCB(nullptr, nullptr, nullptr);
    benchx::Drain();
    ++walked;
  }
  BENCHX_REQUIRE(walked < kErrors, "the walk ran past the last error");
  XmTextPosition left = 0, right = 0;
  BENCHX_REQUIRE(XmTextGetSelectionPosition(dsmText, &left, &right), "no DSM line is selected");
  long line = 1 + long(walked - 1) * (s.lines / long(kErrors));
  char* got = XmTextGetSelection(dsmText);
  bool rightLine = got && benchx::ModelLine(line - 1, true) == got;
  XtFree(got);
  BENCHX_REQUIRE(rightLine, "the selected DSM line is not the error's");
}
BENCHMARK(BM_NextError)->Unit(benchmark::kMicrosecond)->Iterations(2000);

}  // namespace

BENCHMARK_MAIN();
