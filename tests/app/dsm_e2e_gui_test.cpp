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

}  // namespace
