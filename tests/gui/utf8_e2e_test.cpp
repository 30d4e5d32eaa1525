// The real xkest in a UTF-8 locale, driven as a user drives it: a UTF-8
// model in a folder with a non-ASCII name and a Latin-1 model are drawn
// whole (a line of non-ASCII characters is as wide as an ASCII line of as
// many characters); the report names the non-ASCII path, and its line
// number and a quoted non-ASCII name lead to the right line and word of
// the DSM text, which the Replace field then changes, and Next Error finds
// the error line behind the non-ASCII path; a Latin-1 model is
// saved back as Latin-1 byte for byte; undo and redo give back multibyte
// edits exactly.
#include <gtest/gtest.h>

#include <X11/Xutil.h>
#include <X11/keysym.h>

#include <string>
#include <vector>

#include "Observer.h"
#include "XkestRun.h"

namespace {

using namespace xk::test;

// Characters in UTF-8 text.
size_t Chars(const std::string& s) {
  size_t n = 0;
  for (unsigned char c : s) n += (c & 0xC0) != 0x80;
  return n;
}

// The rightmost dark pixel of each run of rows with ink in a window: one
// entry per drawn text line, top to bottom, when blank lines part them.
std::vector<int> LineRightEdges(Display* dpy, unsigned long window) {
  XWindowAttributes a{};
  XGetWindowAttributes(dpy, window, &a);
  std::vector<int> edges;
  XImage* img = XGetImage(dpy, window, 0, 0, unsigned(a.width), unsigned(a.height), AllPlanes, ZPixmap);
  if (!img) return edges;
  // Inside the widget's shadow, which is dark on two sides.
  constexpr int kEdge = 4;
  bool inLine = false;
  for (int y = kEdge; y < a.height - kEdge; ++y) {
    int right = -1;
    for (int x = kEdge; x < a.width - kEdge; ++x) {
      unsigned long p = XGetPixel(img, x, y);
      unsigned lum = ((p >> 16 & 0xff) * 3 + (p >> 8 & 0xff) * 6 + (p & 0xff)) / 10;
      if (lum < 100) right = x;
    }
    if (right >= 0 && !inLine) edges.push_back(right);
    if (right >= 0 && right > edges.back()) edges.back() = right;
    inLine = right >= 0;
  }
  XDestroyImage(img);
  return edges;
}

// Line 3 holds non-ASCII characters, line 5 as many ASCII ones, both
// ending alike: drawn whole, they end at the same pixel.
void ExpectSecondLineDrawnWhole(Observer& o, const std::string& main, const char* what) {
  unsigned long text = std::stoul(o.WindowAt(main, 300, 150));  // inside the DSM text
  std::vector<int> edges;
  ASSERT_TRUE(WaitUntil([&] {
    edges = LineRightEdges(o.Dpy(), text);
    return edges.size() >= 3;
  })) << what << ": " << edges.size() << " lines in window " << text << " " << o.Snap("utf8-draw");
  EXPECT_NEAR(edges[1], edges[2], 2) << what << ": the non-ASCII line is drawn cut short " << o.Snap("utf8-draw");
}

const std::string kReference = "// a reference line in ASCII:   end";  // as long as each line 3

TEST(Utf8Locale, ModelsDrawnWholeReportLeadsToLineAndWordLatin1SavedBack) {
  TempDir dir;
  dir.Write("templates/cpp_std.tem", "@# template\n");
  // The model lies in a folder with a non-ASCII name, which the report
  // names; it is opened through a link with a plain name, since typed
  // non-ASCII keys are not reliable under xdotool.
  const std::string dsm = dir.Path() + "/M\xc3\xbcller/m.dsm";
  dir.Write("bin/kestb", "#!/bin/sh\necho \"" + dsm + ":7: error: unknown type 'Gr\xc3\xb6\xc3\x9f" "e'\"\n", true);
  const std::string line2 = "// M\xc3\xbcller caf\xc3\xa9 na\xc3\xafve \xe2\x80\x94 \xe2\x80\x9cquotes\xe2\x80\x9d end";
  ASSERT_EQ(Chars(line2), Chars(kReference));
  const std::string utf8Model = "model m;\n\n" + line2 + "\n\n" + kReference + "\n\n// size : Gr\xc3\xb6\xc3\x9f" "e;\n";
  dir.Write("M\xc3\xbcller/m.dsm", utf8Model);
  Shell("ln -s 'M\xc3\xbcller' '" + dir.Path() + "/plain'");
  const std::string latin1Model = "model m;\n\n// M\xfcller caf\xe9 na\xefve \xe6gir Gr\xf6\xdf" "e end\n\n" + kReference + "\n";
  const std::string latin1 = dir.Write("l.dsm", latin1Model);
  XkestRun x({}, {{"KESTHOME", dir.Path()}, {"LC_ALL", "C.UTF-8"}, {"PATH", PathFirst(dir / "bin")}});
  std::string main = x.WaitForWindow("xkest");
  ASSERT_FALSE(main.empty()) << x.Stderr();
  Observer o(x.DisplayName());
  ASSERT_TRUE(o.Ok());
  o.WantUtf8();

  OpenThroughDialog(x, o, main, dir.Path() + "/plain/m.dsm");
  ExpectSecondLineDrawnWhole(o, main, "UTF-8 model");

  // The report's first line is "DSM:7: error: unknown type 'Größe'":
  // select 7, go to the DSM line (after non-ASCII lines).
  o.Xdo("windowfocus --sync " + main + " key ctrl+g");
  ReportToStart(o, main);
  o.Xdo("key --delay 5 --repeat " + std::to_string(Chars(dsm) + 1) + " Right");
  o.Xdo("key shift+Right");
  ASSERT_EQ(o.WaitForPrimary("7"), "7") << "the report did not start with " << dsm << ": " << o.Snap("utf8-report");
  ASSERT_TRUE(ReportMenu(o, main, 1));
  EXPECT_EQ(o.WaitForPrimary("// size : Gr\xc3\xb6\xc3\x9f" "e;"), "// size : Gr\xc3\xb6\xc3\x9f" "e;");

  // Select the quoted name, find it in the DSM and replace it there.
  ReportToStart(o, main);
  o.Xdo("key --delay 5 --repeat " + std::to_string(Chars(dsm) + std::string(":7: error: unknown type '").size()) +
        " Right");
  o.Xdo("key --delay 20 --repeat 5 shift+Right");
  ASSERT_EQ(o.WaitForPrimary("Gr\xc3\xb6\xc3\x9f" "e"), "Gr\xc3\xb6\xc3\x9f" "e");
  ASSERT_TRUE(ReportMenu(o, main, 2));
  o.Xdo("mousemove --window " + main + " 390 57 click 1");  // the Replace field
  o.Xdo("type --delay 10 'Size'");
  o.Xdo("key Return ctrl+s");
  std::string want = utf8Model;
  want.replace(want.rfind("Gr\xc3\xb6"), 7, "Size");
  EXPECT_TRUE(WaitUntil([&] { return Slurp(dsm) == want; })) << Slurp(dsm);
  // Next Error finds the report's error on the DSM behind its non-ASCII
  // path and selects that line.
  o.Xdo("key F4");
  EXPECT_EQ(o.WaitForPrimary("// size : Size;"), "// size : Size;");

  // The Latin-1 model: drawn whole; an edit saved back as Latin-1.
  OpenThroughDialog(x, o, main, latin1);
  ExpectSecondLineDrawnWhole(o, main, "Latin-1 model");
  o.Xdo("mousemove --window " + main + " 300 150 click 1");  // into the DSM text
  o.Xdo("key ctrl+Home End");
  o.Xdo("type --delay 10 ' x'");
  o.Xdo("key ctrl+s");
  std::string latin1Want = latin1Model;
  latin1Want.insert(std::string("model m;").size(), " x");
  EXPECT_TRUE(WaitUntil([&] { return Slurp(latin1) == latin1Want; })) << Slurp(latin1);

  o.Xdo("windowfocus --sync " + main + " key ctrl+q");
  EXPECT_EQ(x.Wait(), 0);
}

// Undo and Redo over multibyte typing, a Backspace run and a paste give
// back the exact text; in a Latin-1 model, undone back to what was saved,
// the text is unmodified again.
TEST(Utf8Locale, UndoAndRedoGiveBackMultibyteEditsByteForByte) {
  TempDir dir;
  const std::string model = "model m;\n// caf\xc3\xa9 end\n";
  const std::string dsm = dir.Write("m.dsm", model);
  const std::string latin1Model = "model l;\n// caf\xe9 end\n";
  const std::string latin1 = dir.Write("l.dsm", latin1Model);
  XkestRun x({}, {{"KESTHOME", dir.Path()}, {"LC_ALL", "C.UTF-8"}});
  std::string main = x.WaitForWindow("xkest");
  ASSERT_FALSE(main.empty()) << x.Stderr();
  Observer o(x.DisplayName());
  ASSERT_TRUE(o.Ok());
  o.WantUtf8();
  o.KeepKeys({XK_eacute, XK_EuroSign, XK_odiaeresis, XK_ydiaeresis});

  OpenThroughDialog(x, o, main, dsm);
  o.Xdo("mousemove --window " + main + " 300 150 click 1");  // into the DSM text
  o.Xdo("key ctrl+Home End");
  o.Xdo("type --delay 20 ' \xc3\xa9\xe2\x82\xac\xc3\xb6'");
  o.Xdo("key --delay 20 BackSpace BackSpace ctrl+z");
  o.Xdo("key --delay 20 ctrl+Home Down shift+End ctrl+c ctrl+End ctrl+v");
  o.Xdo("key --delay 20 ctrl+z ctrl+z ctrl+y ctrl+s");
  EXPECT_TRUE(WaitUntil([&] { return Slurp(dsm) == "model m; \xc3\xa9\xe2\x82\xac\xc3\xb6\n// caf\xc3\xa9 end\n"; }))
      << Slurp(dsm);

  OpenThroughDialog(x, o, main, latin1);
  o.Xdo("mousemove --window " + main + " 300 150 click 1");
  o.Xdo("key ctrl+End");
  o.Xdo("type --delay 20 '\xc3\xa9\xc3\xbf'");
  o.Xdo("key ctrl+s");
  ASSERT_TRUE(WaitUntil([&] { return Slurp(latin1) == latin1Model + "\xe9\xff"; })) << Slurp(latin1);
  o.Xdo("key --delay 20 ctrl+z ctrl+s");
  EXPECT_TRUE(WaitUntil([&] { return Slurp(latin1) == latin1Model; })) << Slurp(latin1);
  o.Xdo("key --delay 20 ctrl+y ctrl+z ctrl+q");
  EXPECT_EQ(x.Wait(), 0) << "undone to the saved text: quits unasked";
  EXPECT_EQ(Slurp(latin1), latin1Model);
}

}  // namespace
