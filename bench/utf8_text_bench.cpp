// utf8_text_bench: the DSM editor on a 50 MB model whose comments hold
// UTF-8 text, in the interface built from the shipped app/xkest.ad, each
// figure next to the cost it is judged by, in one run:
//   - open (read, check the encoding, set, index, paint) against Motif's
//     own XmTextSetString of the same text and a paint;
//   - a cursor move with the line label against Motif's own motion;
//   - find against memmem over the same bytes;
//   - go to a line near the end (absolute);
//   - save against one write() of the bytes;
//   - a key typed and rubbed out in the middle of the text.
// Locale: C, or the one named by XK_BENCH_LOCALE (Motif fixes its text
// handling per process). Every benchmark checks that its work was done.
//
//   scripts/with-xvfb.sh build/bench/utf8_text_bench
//   XK_BENCH_LOCALE=C.UTF-8 scripts/with-xvfb.sh build/bench/utf8_text_bench
//   XK_BENCH_LOCALE=C.UTF-8 scripts/with-xvfb.sh build/bench/utf8_text_bench --peak-open
#include <benchmark/benchmark.h>

#include <Xm/Xm.h>
#include <Xm/Text.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

#include <fcntl.h>
#include <unistd.h>

#include "app/Application.h"
#include "app/DsmCl.h"
#include "bench/BenchX.h"
#include "support/TextLines.h"
#include "support/Utf8.h"

namespace {

constexpr size_t kBytes = size_t(50) << 20;

struct Session {
  Widget dsmText = nullptr, lineLabel = nullptr;
  std::string path, text;  // the model on disk and its bytes
  size_t chars = 0, lines = 0;
};

Session& Get() {
  static Session s = [] {
    const benchx::Ui& ui = benchx::Interface();
    Session s;
    s.dsmText = ui.dsmText;
    s.lineLabel = ui.lineLabel;
    s.text = benchx::Model(kBytes, true);
    s.chars = MB_CUR_MAX > 1 ? utf8::CountChars(s.text) : s.text.size();
    s.lines = textlines::CountNewlines(s.text);
    s.path = benchx::WriteTemp("utf8_text_bench", ".dsm", s.text);
    benchx::Drain();
    return s;
  }();
  return s;
}

void Load(Session& s) { benchx::OpenDsm(s.path); }

// The model is in the DSM text, loaded through the editor (once).
bool EnsureLoaded(Session& s) {
  static bool loaded = false;
  if (!loaded || theDsm.GetTextMirror().Text().Bytes().size() != s.text.size()) Load(s);
  loaded = size_t(XmTextGetLastPosition(s.dsmText)) == s.chars;
  return loaded;
}

std::string Label(Widget w) {
  XmString xs = nullptr;
  XtVaGetValues(w, XmNlabelString, &xs, nullptr);
  char* t = nullptr;
  if (xs) XmStringGetLtoR(xs, const_cast<char*>(XmFONTLIST_DEFAULT_TAG), &t);
  std::string out = t ? t : "";
  XtFree(t);
  XmStringFree(xs);
  return out;
}

void BM_Open(benchmark::State& state) {
  Session& s = Get();
  bool editor = state.range(0) != 0;
  for (auto _ : state) {
    if (editor)
      Load(s);
    else
      XmTextSetString(s.dsmText, s.text.data());
    benchx::Drain();
  }
  if (size_t(XmTextGetLastPosition(s.dsmText)) != s.chars) state.SkipWithError("the text was not loaded whole");
  state.SetLabel(editor ? "Load (read+check+set+index+paint)" : "XmTextSetString+paint");
}
BENCHMARK(BM_Open)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(3);

// Short moves around the middle and near the end of the text.
void BM_CursorMove(benchmark::State& state) {
  Session& s = Get();
  if (!EnsureLoaded(s)) return state.SkipWithError("the text was not loaded whole");
  bool label = state.range(0) != 0;
  XmTextPosition base = XmTextPosition(s.chars / 2);
  long i = 0;
  XmTextPosition to = base;
  for (auto _ : state) {
    to = (i % 2 ? XmTextPosition(s.chars) - 3000 : base) + (i % 200) * 7;
    benchx::MoveCursor(to, label);
    ++i;
  }
  if (label) {
    size_t byte = MB_CUR_MAX > 1 ? utf8::SkipChars(s.text, 0, size_t(to)) : size_t(to);
    std::string want = std::to_string(1 + textlines::CountNewlines(std::string_view(s.text).substr(0, byte)));
    if (Label(s.lineLabel) != want) state.SkipWithError("the line label is wrong");
  }
  state.SetLabel(label ? "motion+line label" : "Motif motion");
}
BENCHMARK(BM_CursorMove)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// A word that occurs only at the very end, searched from the start.
void BM_Find(benchmark::State& state) {
  Session& s = Get();
  if (!EnsureLoaded(s)) return state.SkipWithError("the text was not loaded whole");
  bool editor = state.range(0) != 0;
  const std::string word = "Z\xc3\xbcrich";
  static bool placed = false;
  if (!placed) {
    XmTextInsert(s.dsmText, XmTextGetLastPosition(s.dsmText), const_cast<char*>(word.c_str()));
    placed = true;
  }
  std::string bytes = s.text + word;
  for (auto _ : state) {
    if (editor) {
      state.PauseTiming();  // back to the start, which scrolls there
      XmTextSetInsertionPosition(s.dsmText, 0);
      benchx::Drain();
      state.ResumeTiming();
      theDsm.FindAndSelect(word.c_str());
      benchx::Drain();
    } else {
      benchmark::DoNotOptimize(memmem(bytes.data(), bytes.size(), word.data(), word.size()));
    }
  }
  XmTextPosition l = 0, r = 0;
  size_t wordChars = MB_CUR_MAX > 1 ? 6 : word.size();
  if (editor && (!XmTextGetSelectionPosition(s.dsmText, &l, &r) || size_t(l) != s.chars || size_t(r) != s.chars + wordChars))
    state.SkipWithError("find did not select the word");
  // Leave the model as loaded for the others.
  XmTextReplace(s.dsmText, XmTextPosition(s.chars), XmTextGetLastPosition(s.dsmText), const_cast<char*>(""));
  placed = false;
  state.SetLabel(editor ? "FindAndSelect" : "memmem");
}
BENCHMARK(BM_Find)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_GoToLineNearEnd(benchmark::State& state) {
  Session& s = Get();
  if (!EnsureLoaded(s)) return state.SkipWithError("the text was not loaded whole");
  long i = 0;
  long line = 0;
  for (auto _ : state) {
    line = long(s.lines) - 10 - (i++ % 100);
    theDsm.SelectLineNumber(line);
  }
  textlines::MemorySource src(s.text);
  size_t start = textlines::SkipNewlines(src, 0, size_t(line - 1));
  size_t want = MB_CUR_MAX > 1 ? utf8::CountChars(std::string_view(s.text).substr(0, start)) : start;
  XmTextPosition l = 0, r = 0;
  if (!XmTextGetSelectionPosition(s.dsmText, &l, &r) || size_t(l) != want) state.SkipWithError("the wrong line was selected");
}
BENCHMARK(BM_GoToLineNearEnd)->Unit(benchmark::kMicrosecond);

void BM_Save(benchmark::State& state) {
  Session& s = Get();
  if (!EnsureLoaded(s)) return state.SkipWithError("the text was not loaded whole");
  bool editor = state.range(0) != 0;
  std::string plain = s.path + ".write";
  for (auto _ : state) {
    if (editor) {
      theDsm.SetModified(1);
      theDsm.Save(nullptr, nullptr, nullptr);
    } else {
      int fd = ::open(plain.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
      size_t done = 0;
      while (fd >= 0 && done < s.text.size()) {
        ssize_t n = ::write(fd, s.text.data() + done, s.text.size() - done);
        if (n <= 0) break;
        done += size_t(n);
      }
      if (fd >= 0) ::close(fd);
    }
  }
  std::ifstream back(editor ? s.path : plain, std::ios::binary | std::ios::ate);
  if (size_t(back.tellg()) != s.text.size() || (editor && theDsm.GetModified()))
    state.SkipWithError("the file was not written whole");
  unlink(plain.c_str());
  state.SetLabel(editor ? "Save" : "write()");
}
BENCHMARK(BM_Save)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(5);

// A key typed in the middle of the text and rubbed out again, as the
// keyboard delivers them (each change passes the text's copy and the undo
// history).
void BM_TypeAndRubOut(benchmark::State& state) {
  Session& s = Get();
  if (!EnsureLoaded(s)) return state.SkipWithError("the text was not loaded whole");
  std::string typed = state.range(0) ? "\xc3\xa9" : "x";
  XEvent key{};
  key.type = KeyPress;
  key.xkey.display = XtDisplay(s.dsmText);
  key.xkey.window = XtWindow(s.dsmText);
  // Placed as a click places it, which drops the selection the go-to
  // benchmark left (a typed key would replace it).
  XmTextClearSelection(s.dsmText, 0);
  XmTextSetInsertionPosition(s.dsmText, XmTextPosition(s.chars / 2));
  char* insert[] = {typed.data()};
  size_t positions = MB_CUR_MAX > 1 ? 1 : typed.size();
  for (auto _ : state) {
    XtCallActionProc(s.dsmText, const_cast<char*>("insert-string"), &key, insert, 1);
    for (size_t i = 0; i < positions; ++i)
      XtCallActionProc(s.dsmText, const_cast<char*>("delete-previous-character"), &key, nullptr, 0);
  }
  benchx::Drain();
  if (size_t(XmTextGetLastPosition(s.dsmText)) != s.chars || theDsm.GetTextMirror().Text().Bytes() != s.text)
    state.SkipWithError("the text did not come back to the model");
  state.SetLabel(state.range(0) ? "type+rub out a non-ASCII character" : "type+rub out an ASCII character");
}
BENCHMARK(BM_TypeAndRubOut)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1 && std::strcmp(argv[1], "--peak-open") == 0) {
    Session& s = Get();
    std::string path = s.path;
    size_t chars = s.chars;
    // Only the file stays: the model's own bytes are the benchmark's.
    std::string().swap(s.text);
    long before = benchx::HighWaterKb();
    Load(s);
    benchx::Drain();
    long after = benchx::HighWaterKb();
    bool whole = size_t(XmTextGetLastPosition(s.dsmText)) == chars;
    std::printf("open 50 MB DSM (%s locale): peak memory grew by %.1f MB (%.2fx the file)%s\n",
                setlocale(LC_CTYPE, nullptr), (after - before) / 1024.0, (after - before) / 1024.0 / 50.0,
                whole ? "" : " -- NOT LOADED WHOLE");
    unlink(path.c_str());
    return whole ? 0 : 1;
  }
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  unlink(Get().path.c_str());
  return 0;
}
