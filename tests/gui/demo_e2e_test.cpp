// The whole demo as a user runs it, on the real xkest and kestb: the
// sample model opened through the Open dialog, an error typed in, saved and
// generated; the line number picked out of the report and taken to the DSM
// text; the line mended through the Replace field; a clean run; and a
// generated file handed from the report to the editor.
//
// Everything is driven with xdotool. Keys and clicks reach xkest in order
// through its one event queue, so a step waits only where the screen
// changes under the pointer (a dialog or a popup menu mapping) or where it
// looks at an effect: a file, the editor's record, or the PRIMARY
// selection, which is what a middle-click paste would give the user.
#include <gtest/gtest.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "Observer.h"
#include "XkestRun.h"

namespace {

using namespace xk::test;

// The Replace field in the bar above the DSM text, in main-window
// coordinates: right of its caption, below the menu bar.
constexpr const char* kReplaceField = "390 57";

// The 1-based number of the first line that is exactly line; 0 if none.
int LineNumberOf(const std::string& text, const std::string& line) {
  std::istringstream in(text);
  std::string l;
  for (int n = 1; std::getline(in, l); ++n)
    if (l == line) return n;
  return 0;
}

TEST(XkestDemo, ErrorLineFromTheReportThenGeneratedFileInTheEditor) {
  TempDir work;
  const std::string home = std::string(XK_SOURCE_DIR) + "/demo-home";
  const std::string sample = Slurp(home + "/shop.dsm");
  const std::string goodLine = "  city   : string;";
  const std::string badLine = "  city   : strng;";
  const int line = LineNumberOf(sample, goodLine);
  ASSERT_GT(line, 1) << "the sample model changed: pick another line to break";

  const std::string dsm = work.Write("model/shop.dsm", sample);
  const std::string out = work.Path() + "/out";
  Shell("mkdir -p '" + out + "'");
  const std::string record = work.Path() + "/editor-args";
  const std::string editor = work.WriteRecorder("editor.sh", record);

  // As scripts/run.sh runs it: the demo home, and the built kestb first on
  // the search path.
  XkestRun x({"-outdir", out, "-files", "-tooleditor", editor},
             {{"KESTHOME", home}, {"PATH", PathFirst(XK_BINARY_DIR "/kestb")}});
  std::string main = x.WaitForWindow("xkest");
  ASSERT_FALSE(main.empty()) << x.Stderr();
  Observer o(x.DisplayName());
  ASSERT_TRUE(o.Ok());

  ASSERT_NO_FATAL_FAILURE(OpenThroughDialog(x, o, main, dsm));

  // Break the type on the chosen line by typing, save, go back to the top
  // so the cursor is elsewhere, and run the generator.
  int w = 0, h = 0;
  o.Size(main, w, h);
  o.Xdo("mousemove --window " + main + " " + std::to_string(w / 2) + " " +
        std::to_string(h / 4) + " click 1");
  o.Xdo("windowfocus --sync " + main + " key ctrl+Home");
  o.Xdo("key --delay 5 --repeat " + std::to_string(line - 1) + " Down");
  o.Xdo("key End");
  o.Xdo("key --delay 10 --repeat 7 BackSpace");
  o.Xdo("type --delay 20 'strng;'");
  o.Xdo("key ctrl+s");
  EXPECT_TRUE(WaitUntil([&] { return LineNumberOf(Slurp(dsm), badLine) == line; }))
      << o.Snap("edit");
  o.Xdo("key ctrl+Home ctrl+g");

  // The report's first line is "DSM:LINE: error: ..."; select LINE with the
  // keyboard, as a user would, and check the selection holds just that.
  const std::string number = std::to_string(line);
  ReportToStart(o, main);
  o.Xdo("key --delay 5 --repeat " + std::to_string(dsm.size() + 1) + " Right");
  o.Xdo("key --delay 20 --repeat " + std::to_string(number.size()) + " shift+Right");
  ASSERT_EQ(o.WaitForPrimary(number), number) << "the report did not start with " << dsm << ":";

  // Go to DSM Line: the DSM text's selection is now the whole broken line.
  ASSERT_TRUE(ReportMenu(o, main, 1));
  EXPECT_EQ(o.WaitForPrimary(badLine), badLine);

  // Mend it through the Replace field (which replaces the DSM selection),
  // save: the file is the sample again, so the selection was that line.
  o.Xdo("mousemove --window " + main + " " + kReplaceField + " click 1");
  o.Xdo("type --delay 10 '" + goodLine + "'");
  o.Xdo("key Return ctrl+s");
  EXPECT_TRUE(WaitUntil([&] { return Slurp(dsm) == sample; })) << Slurp(dsm);

  // A clean run lists the files it wrote; the first one, selected in the
  // report and opened from the popup menu, reaches the editor as one word.
  o.Xdo("key ctrl+g");
  EXPECT_TRUE(WaitUntil([&] { return !Shell("ls '" + out + "'").empty(); }));
  ReportToStart(o, main);
  o.Xdo("key --delay 5 --repeat 6 Right");  // past "wrote "
  o.Xdo("key shift+End");
  std::string file;
  ASSERT_TRUE(WaitUntil([&] {
    file = o.Primary();
    return file.rfind(out + "/", 0) == 0;
  })) << "selected: " << file;
  EXPECT_TRUE(std::ifstream(file).good()) << file;
  ASSERT_TRUE(ReportMenu(o, main, 3));
  std::string recorded;
  EXPECT_TRUE(WaitUntil([&] { return !(recorded = Slurp(record)).empty(); }));
  EXPECT_EQ(recorded, file + "\n");

  // Everything is saved, so Quit ends at once.
  o.Xdo("windowfocus --sync " + main + " key ctrl+q");
  EXPECT_EQ(x.Wait(), 0);
  EXPECT_EQ(x.Stderr(), "");
}

}  // namespace
