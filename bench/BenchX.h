// BenchX: the xkest interface for the benchmarks of the program's own text
// work, built once per process from the shipped app/xkest.ad as the program
// builds it (no resource file of the user's applies), with the DSM models
// and the steps they share.
//
//   const benchx::Ui& ui = benchx::Interface();   // locale: XK_BENCH_LOCALE or C
//   std::string path = benchx::WriteTemp("walk", ".dsm", benchx::Model(50u << 20, true));
//   if (!benchx::OpenDsm(path)) state.SkipWithError("the DSM did not load");
//   benchx::Drain();
#pragma once

#include <X11/Intrinsic.h>
#include <Xm/Xm.h>

#include <cstddef>
#include <string>

namespace benchx {

struct Ui {
  XtAppContext app = nullptr;
  Display* dpy = nullptr;
  Widget shell = nullptr, dsmText = nullptr, msgText = nullptr, lineLabel = nullptr;
};

// The interface, realized; the locale is set first from XK_BENCH_LOCALE
// (C when unset), since Motif fixes its text handling per process. Ends
// the program with a message when anything is missing.
const Ui& Interface();

// Waits until the server has done all that was asked and handles every
// event that came of it (exposures, selection notices).
void Drain();

// Ends the program with "NAME: what" on stderr.
[[noreturn]] void Fail(const std::string& what);

// Line i (from 0) of a model, without its newline: a field, and with
// nonAscii every fourth line a comment in UTF-8 (a C locale shows its bytes).
std::string ModelLine(long i, bool nonAscii);
// Whole lines of the model up to at least bytes.
std::string Model(size_t bytes, bool nonAscii);

// text written to /tmp/STEM_PID.EXT (ext with its dot); returns the path.
std::string WriteTemp(const std::string& stem, const std::string& ext, const std::string& text);

// Loads path into the DSM editor as the Open dialog's OK does, the text
// before it discarded unasked; true when the editor now has that file.
bool OpenDsm(const std::string& path);

// The cursor moved to `to` as the user moves it; with label the line
// label is kept up to date as the motion-verify callback does.
void MoveCursor(XmTextPosition to, bool label);

// The peak resident size of this process so far, in KiB.
long HighWaterKb();

}  // namespace benchx

// A benchmark whose set-up or result is not what it should be reports an
// error instead of a figure.
#define BENCHX_REQUIRE(cond, what) \
  if (!(cond)) {                   \
    state.SkipWithError(what);     \
    return;                        \
  }
