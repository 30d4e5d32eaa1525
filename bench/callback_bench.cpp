// callback_bench: the cost of one callback invocation through the late
// binding trampoline (registry lookup by name at every call) against a
// direct call of the same procedure. Needs an X display:
//
//   scripts/with-xvfb.sh build/bench/callback_bench
//
// The registry holds as many names as the real program registers (the
// Motif set, the standard callbacks and the application's), so lookups
// run against realistically filled maps.
#include <benchmark/benchmark.h>

#include "wcl/WcCallbacks.h"
#include "wcl/WcRegistry.h"

#include <X11/Shell.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

long calls = 0;

void Target(Widget, XtPointer client, XtPointer call) {
  benchmark::DoNotOptimize(client);
  benchmark::DoNotOptimize(call);
  ++calls;
}

struct Setup {
  Widget shell = nullptr;
  XtCallbackRec plain{};   // benchTargetCB(arg)
  XtCallbackRec method{};  // BenchObj::target(arg)
};

const Setup& Get() {
  static Setup s = [] {
    Setup s;
    XtToolkitInitialize();
    XtAppContext app = XtCreateApplicationContext();
    int argc = 1;
    static char name[] = "callback_bench";
    static char* argv[] = {name, nullptr};
    Display* dpy = XtOpenDisplay(app, nullptr, name, "CallbackBench", nullptr, 0, &argc, argv);
    if (!dpy) {
      std::fprintf(stderr, "callback_bench: cannot open the X display\n");
      std::exit(1);
    }
    s.shell = XtAppCreateShell(name, "CallbackBench", applicationShellWidgetClass, dpy, nullptr, 0);
    for (int i = 0; i < 600; ++i) {
      WcRegisterCallback(app, ("filler" + std::to_string(i) + "CB").c_str(), Target, nullptr);
    }
    WcRegisterCallback(app, "benchTargetCB", Target, nullptr);
    WcRegisterMethod(app, "BenchObj", "target", Target, nullptr);
    static char object[] = "object";
    WcAttachThisToWidget(object, "BenchObj", s.shell);
    XtCallbackList list = WcStringToCallbackList(s.shell, "benchTargetCB(arg) BenchObj::target(arg)");
    s.plain = list[0];
    s.method = list[1];
    XtFree(reinterpret_cast<char*>(list));
    return s;
  }();
  return s;
}

// Each run must have reached the target once per iteration: a name that
// no longer resolves would otherwise measure an empty lookup.
void CheckCalled(benchmark::State& state, long before) {
  if (calls - before != long(state.iterations())) state.SkipWithError("the target was not called");
}

void BM_DirectCall(benchmark::State& state) {
  const Setup& s = Get();
  long before = calls;
  XtCallbackProc proc = Target;
  static char arg[] = "arg";
  for (auto _ : state) {
    benchmark::DoNotOptimize(proc);
    proc(s.shell, arg, nullptr);
  }
  CheckCalled(state, before);
}
BENCHMARK(BM_DirectCall);

void BM_Trampoline(benchmark::State& state) {
  const Setup& s = Get();
  long before = calls;
  XtCallbackProc proc = s.plain.callback;
  for (auto _ : state) {
    benchmark::DoNotOptimize(proc);
    proc(s.shell, s.plain.closure, nullptr);
  }
  CheckCalled(state, before);
}
BENCHMARK(BM_Trampoline);

void BM_TrampolineMethod(benchmark::State& state) {
  const Setup& s = Get();
  long before = calls;
  XtCallbackProc proc = s.method.callback;
  for (auto _ : state) {
    benchmark::DoNotOptimize(proc);
    proc(s.shell, s.method.closure, nullptr);
  }
  CheckCalled(state, before);
}
BENCHMARK(BM_TrampolineMethod);

}  // namespace

BENCHMARK_MAIN();
