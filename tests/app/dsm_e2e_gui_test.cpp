// The real xkest driven as a user drives it: open a DSM through the Open
// dialog, run the generator (a stand-in kestb on PATH) with the trace on,
// type, save, and quit without being asked.
#include <gtest/gtest.h>

#include <string>

#include "gui/Observer.h"

namespace {

using namespace xk::test;

TEST(DsmEndToEnd, OpenRunTypeSaveQuit) {
  TempDir dir;
  dir.Write("templates/cpp_std.tem", "@# template\n");
  std::string args = dir.Path() + "/kestb-args";
  dir.Write("bin/kestb", "#!/bin/sh\nprintf '%s\\n' \"$@\" > '" + args + "'\necho \"$1:2: error: bad\"\n", true);
  std::string dsm = dir.Write("my.dsm", "model m;\nrecord R {}\n");
  XkestRun x({}, {{"KESTHOME", dir.Path()}, {"KESTBTRACE", "1"}, {"PATH", PathFirst(dir / "bin")}});
  std::string wid = x.WaitForWindow("xkest");
  ASSERT_FALSE(wid.empty()) << x.Stderr();

  x.Key(wid, "ctrl+o");
  std::string open = x.WaitForWindow("Open DSM file");
  ASSERT_FALSE(open.empty());
  x.Key(open, "ctrl+slash");  // select the whole selection text, so typing replaces it
  x.Type(open, dsm);
  x.Key(open, "Return");

  x.Key(wid, "ctrl+g");
  ASSERT_TRUE(x.WaitForStdout("\nkestb " + dsm + " ")) << x.Stdout() << x.Stderr();
  ASSERT_TRUE(WaitUntil([&] { return Slurp(args).find(dsm + "\n") == 0; })) << Slurp(args);

  x.Click(wid, 300, 150);  // into the DSM text, below the menu and the line bar
  x.Type(wid, "x");
  x.Key(wid, "ctrl+s");
  EXPECT_TRUE(WaitUntil([&] { return Slurp(dsm).find("x") != std::string::npos; }))
      << Slurp(dsm);
  EXPECT_EQ(Slurp(dsm).size(), std::string("model m;\nrecord R {}\n").size() + 1);
  x.Key(wid, "ctrl+q");
  EXPECT_EQ(x.Wait(), 0) << "saved text quits without asking";
}

TEST(DsmEndToEnd, FileDialogsListTheFolderAsItIsAndKeepTheirSize) {
  TempDir dir;
  dir.Write("templates/cpp_std.tem", "@# template\n");
  XkestRun x({}, {{"KESTHOME", dir.Path()}});
  std::string wid = x.WaitForWindow("xkest");
  ASSERT_FALSE(wid.empty()) << x.Stderr();

  unsigned widths[2] = {0, 0};
  for (unsigned& width : widths) {
    x.Key(wid, "ctrl+o");
    std::string open = x.WaitForWindow("Open DSM file");
    ASSERT_FALSE(open.empty());
    width = x.Width(std::stoul(open));
    x.Key(open, "Escape");
    ASSERT_TRUE(x.WaitGone("Open DSM file"));
  }
  EXPECT_EQ(widths[0], 560u) << "the width app/xkest.ad gives, not the width of the folder's short names";
  EXPECT_EQ(widths[1], widths[0]) << "shown again, the dialog kept its size";

  // Save As straight from the menu lists a file written since start-up:
  // Down puts the first listed file into the name field.
  Shell("echo 'model n;' > '" + x.WorkDir() + "/new.dsm'");
  x.Key(wid, "shift+ctrl+s");
  std::string saveAs = x.WaitForWindow("Save DSM file as");
  ASSERT_FALSE(saveAs.empty());
  x.Key(saveAs, "Down ctrl+slash");
  xk::test::Observer o(x.DisplayName());
  EXPECT_EQ(o.WaitForPrimary(x.WorkDir() + "/new.dsm", 5), x.WorkDir() + "/new.dsm");
  x.Key(saveAs, "Escape");
  x.Key(wid, "ctrl+q");
  EXPECT_EQ(x.Wait(), 0);
}

// A file dialog keeps the width app/xkest.ad gives it at every showing,
// however the last one ended (OK, Cancel, Escape), with no window
// manager, under mwm and under openbox: after the managers' first
// placement each showing used to shrink it to its lists' width.
class FileDialogSize : public testing::TestWithParam<std::string> {};

TEST_P(FileDialogSize, EveryShowingAfterOkCancelOrEscape) {
  TempDir dir;
  dir.Write("templates/cpp_std.tem", "@# template\n");
  std::string dsm = dir.Write("m.dsm", "model m;\n");
  XkestRun x({}, {{"KESTHOME", dir.Path()}}, GetParam());
  std::string wid = x.WaitForWindow("xkest");
  ASSERT_FALSE(wid.empty()) << x.Stderr();
  // Shows a dialog by its menu key; its window, or "" when it never shows.
  auto show = [&](const char* key, const char* title) {
    std::string dlg;
    // A window manager settling its focus may drop the first key.
    for (int i = 0; i < 3 && dlg.empty(); ++i) {
      x.Key(wid, key);
      dlg = x.WaitForWindow(title, 5);
    }
    return dlg;
  };
  const char* open = "Open DSM file";
  std::string dlg = show("ctrl+o", open);
  ASSERT_FALSE(dlg.empty());
  EXPECT_EQ(x.Width(std::stoul(dlg)), 560u) << "first showing";
  x.Key(dlg, "ctrl+slash");  // OK with a file named
  x.Type(dlg, dsm);
  x.Key(dlg, "Return");
  ASSERT_FALSE(x.WaitForWindow("m.dsm - xkest", 10).empty());
  ASSERT_TRUE(x.WaitGone(open));
  for (const char* end : {"alt+c", "Escape", "Escape"}) {
    dlg = show("ctrl+o", open);
    ASSERT_FALSE(dlg.empty());
    EXPECT_EQ(x.Width(std::stoul(dlg)), 560u) << "showing before " << end;
    x.Key(dlg, end);
    ASSERT_TRUE(x.WaitGone(open)) << end;
  }
  // Save As by its menu key, after an OK that saved.
  const char* saveAs = "Save DSM file as";
  for (const char* end : {"Return", "Escape"}) {
    dlg = show("shift+ctrl+s", saveAs);
    ASSERT_FALSE(dlg.empty());
    EXPECT_EQ(x.Width(std::stoul(dlg)), 560u) << "showing before " << end;
    if (std::string(end) == "Return") {
      x.Key(dlg, "ctrl+slash");  // saved under the open file's own name
      x.Type(dlg, dsm);
    }
    x.Key(dlg, end);
    ASSERT_TRUE(x.WaitGone(saveAs)) << end;
  }
  x.Key(wid, "ctrl+q");
  EXPECT_EQ(x.Wait(), 0);
}

INSTANTIATE_TEST_SUITE_P(, FileDialogSize, testing::ValuesIn(WindowManagers()),
                         [](const testing::TestParamInfo<std::string>& p) {
                           return p.param.empty() ? std::string("none") : p.param;
                         });

}  // namespace
