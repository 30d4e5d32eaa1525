// Laying out a 20 x 20 grid of labels: the table widget against Motif's own
// managers doing the same work: create the labels, manage them, realize,
// resize the shell ten times, handling the events after each resize as the
// main loop would. XmForm with position attachments stretches its labels
// with the cells as the table does; XmRowColumn packing columns only moves
// them, which the table does with options 'W' and 'H' (BM_TableKeepSize).
// Runs in the C locale (nothing calls setlocale). Needs $DISPLAY:
//   scripts/with-xvfb.sh build/bench/table_bench
#include <X11/IntrinsicP.h>
#include <X11/Shell.h>
#include <Xm/Form.h>
#include <Xm/Label.h>
#include <Xm/RowColumn.h>
#include <Xm/Xm.h>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "xmp/Table.h"

namespace {

constexpr int kSide = 20;

struct Session {
  XtAppContext app;
  Display* display;
};

Session& Get() {
  static Session s = [] {
    Session s{};
    XtToolkitInitialize();
    s.app = XtCreateApplicationContext();
    int argc = 1;
    static char name[] = "tablebench";
    static char* argv[] = {name, nullptr};
    s.display = XtOpenDisplay(s.app, nullptr, "tablebench", "TableBench", nullptr, 0, &argc, argv);
    if (!s.display) {
      std::fprintf(stderr, "table_bench: cannot open the X display\n");
      std::exit(1);
    }
    return s;
  }();
  return s;
}

void Drain() {
  XSync(Get().display, False);
  while (XtAppPending(Get().app)) XtAppProcessEvent(Get().app, XtIMAll);
}

// Builds the grid in `manager`, shows it and resizes the shell ten times.
template <typename Place>
void Run(Widget shell, Widget manager, Place place) {
  std::vector<Widget> labels;
  labels.reserve(kSide * kSide);
  for (int row = 0; row < kSide; ++row) {
    for (int col = 0; col < kSide; ++col) {
      std::string name = "l" + std::to_string(row) + "_" + std::to_string(col);
      Widget label = XmCreateLabel(manager, const_cast<char*>(name.c_str()), nullptr, 0);
      place(label, col, row);
      labels.push_back(label);
    }
  }
  XtManageChildren(labels.data(), static_cast<Cardinal>(labels.size()));
  XtManageChild(manager);
  XtRealizeWidget(shell);
  Drain();
  for (int i = 0; i < 10; ++i) {
    XtResizeWidget(shell, static_cast<Dimension>(900 + 37 * i),
                   static_cast<Dimension>(500 + 23 * i), 0);
    Drain();
  }
  XtDestroyWidget(shell);
  Drain();
}

Widget NewShell() {
  Arg args[2];
  XtSetArg(args[0], XtNallowShellResize, True);
  XtSetArg(args[1], XtNgeometry, const_cast<char*>("+0+0"));
  return XtAppCreateShell("bench", "TableBench", topLevelShellWidgetClass, Get().display, args, 2);
}

void BM_Table(benchmark::State& state) {
  for (auto _ : state) {
    Widget shell = NewShell();
    Widget table = XmpCreateTable(shell, const_cast<char*>("table"), nullptr, 0);
    Run(shell, table,
        [](Widget label, int col, int row) { XmpTableChildPosition(label, col, row); });
  }
}

// Children keep their own size ('W' 'H') and only move, as in XmRowColumn.
void BM_TableKeepSize(benchmark::State& state) {
  for (auto _ : state) {
    Widget shell = NewShell();
    Arg arg;
    XtSetArg(arg, XmpNdefaultOptions, XmpTableKeepWidth | XmpTableKeepHeight);
    Widget table = XmpCreateTable(shell, const_cast<char*>("table"), &arg, 1);
    Run(shell, table,
        [](Widget label, int col, int row) { XmpTableChildPosition(label, col, row); });
  }
}

void BM_Form(benchmark::State& state) {
  for (auto _ : state) {
    Widget shell = NewShell();
    Arg arg;
    XtSetArg(arg, XmNfractionBase, kSide);
    Widget form = XmCreateForm(shell, const_cast<char*>("form"), &arg, 1);
    Run(shell, form, [](Widget label, int col, int row) {
      Arg args[8];
      XtSetArg(args[0], XmNleftAttachment, XmATTACH_POSITION);
      XtSetArg(args[1], XmNleftPosition, col);
      XtSetArg(args[2], XmNrightAttachment, XmATTACH_POSITION);
      XtSetArg(args[3], XmNrightPosition, col + 1);
      XtSetArg(args[4], XmNtopAttachment, XmATTACH_POSITION);
      XtSetArg(args[5], XmNtopPosition, row);
      XtSetArg(args[6], XmNbottomAttachment, XmATTACH_POSITION);
      XtSetArg(args[7], XmNbottomPosition, row + 1);
      XtSetValues(label, args, 8);
    });
  }
}

void BM_RowColumn(benchmark::State& state) {
  for (auto _ : state) {
    Widget shell = NewShell();
    Arg args[3];
    XtSetArg(args[0], XmNpacking, XmPACK_COLUMN);
    XtSetArg(args[1], XmNnumColumns, kSide);
    XtSetArg(args[2], XmNorientation, XmHORIZONTAL);
    Widget rc = XmCreateRowColumn(shell, const_cast<char*>("rc"), args, 3);
    Run(shell, rc, [](Widget, int, int) {});
  }
}

BENCHMARK(BM_Table)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_TableKeepSize)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_Form)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_RowColumn)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace

BENCHMARK_MAIN();
