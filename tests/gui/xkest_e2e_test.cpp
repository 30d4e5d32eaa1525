// The real xkest, started as a user would start it, under the test X
// server: start-up failures, quitting, the window manager's close request,
// the template catalogue and the outside tools.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <string>

#include "XkestRun.h"

namespace {

using xk::test::TempDir;
using xk::test::XkestRun;

constexpr const char* kKestHomeUnset =
    "Please set your enviroment variable KESTHOME to kest's home directory.\n";

// A kest home with the bundled template name, one help page, and a
// recorder script that writes its arguments (one a line) to a file, to
// stand in for the editor and the browser.
struct Home {
  TempDir dir;
  std::string cpp = dir.Write("templates/cpp_std.tem", "@# template\n");
  std::string index = dir.Write("doc/index.html", "<p>help</p>\n");
  std::string record = dir.Path() + "/tool-args";
  std::string recorder =
      dir.Write("rec.sh", "#!/bin/sh\nprintf '%s\\n' \"$@\" > '" + record + ".tmp'\nmv '" + record +
                              ".tmp' '" + record + "'\n",
                true);
  std::map<std::string, std::optional<std::string>> Env() const { return {{"KESTHOME", dir.Path()}}; }

  // The recorded arguments, once the tool has run.
  std::string Recorded(int seconds = 20) const {
    for (int i = 0; i < seconds * 20; ++i) {
      std::ifstream in(record);
      if (in) return std::string(std::istreambuf_iterator<char>(in), {});
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return "<tool did not run>";
  }
};

// The quick-item buttons of the options dialog (the one row of the dialog
// whose widget holds windows of its own), left to right.
std::vector<unsigned long> QuickItemWindows(XkestRun& x, const std::string& dialog) {
  std::vector<unsigned long> buttons;
  for (unsigned long table : x.ChildWindows(std::stoul(dialog)))
    for (unsigned long row : x.ChildWindows(table))
      if (!x.ChildWindows(row).empty()) buttons = x.ChildWindows(row);
  std::sort(buttons.begin(), buttons.end(),
            [&](unsigned long a, unsigned long b) { return x.X(a) < x.X(b); });
  return buttons;
}

TEST(XkestStart, WithoutKestHomePrintsItsMessageAndExitsOne) {
  XkestRun x({}, {{"KESTHOME", std::nullopt}});
  EXPECT_EQ(x.Wait(), 1);
  EXPECT_EQ(x.Stdout(), kKestHomeUnset);
}

TEST(XkestStart, MisnamedTopLevelWidgetFailsCreation) {
  // The interface description names its top widget under another name.
  TempDir ad;
  std::ifstream in(std::string(XK_SOURCE_DIR) + "/app/xkest.ad");
  std::string text(std::istreambuf_iterator<char>(in), {});
  size_t at = text.find("xkest.wcChildren:");
  ASSERT_NE(at, std::string::npos);
  text.replace(at, 5, "xkst");
  ad.Write("xkest.ad", text);
  Home home;
  auto env = home.Env();
  env["XFILESEARCHPATH"] = ad.Path() + "/%N.ad";
  XkestRun x({}, env);
  EXPECT_EQ(x.Wait(), 1);
  EXPECT_NE(x.Stderr().find("Wcl Error: WcWidgetCreation(xkest) - Failed"), std::string::npos)
      << x.Stderr();
  EXPECT_NE(x.Stderr().find("top level widget in resource file not named 'xkest'"), std::string::npos);
  EXPECT_EQ(x.Stdout(), "");
}

TEST(XkestQuit, UnknownWordsAreIgnoredAndQuitAtOnceExitsZero) {
  Home home;
  XkestRun x({"model.dsm", "-zzz", "two words"}, home.Env());
  std::string wid = x.WaitForWindow("xkest");
  ASSERT_FALSE(wid.empty()) << x.Stderr();
  x.Key(wid, "ctrl+q");
  EXPECT_EQ(x.Wait(), 0);
  EXPECT_EQ(x.Stdout(), "");
  // The interface description converts and binds without a single warning.
  EXPECT_EQ(x.Stderr(), "");
}

TEST(XkestQuit, UnsavedTextAsksFirstAndQuitConfirmsWithoutWriting) {
  Home home;
  XkestRun x({}, home.Env());
  std::string wid = x.WaitForWindow("xkest");
  ASSERT_FALSE(wid.empty()) << x.Stderr();
  x.Click(wid, 300, 200);  // into the DSM text
  x.Type(wid, "x");
  x.Key(wid, "ctrl+q");
  std::string dlg = x.WaitForWindow("Quit xkest", 10);
  ASSERT_FALSE(dlg.empty());
  EXPECT_TRUE(x.Running());
  // Quit is the button left of the default one (Cancel).
  x.Key(dlg, "Left space");
  EXPECT_EQ(x.Wait(), 0);
}

TEST(XkestWindowManager, CloseRequestIsReportedAndTheWindowStays) {
  Home home;
  XkestRun x({}, home.Env());
  std::string wid = x.WaitForWindow("xkest");
  ASSERT_FALSE(wid.empty()) << x.Stderr();
  // Unsaved text: the close request neither quits nor asks about it.
  x.Click(wid, 300, 200);
  x.Type(wid, "x");
  x.SendDeleteWindow(wid);
  EXPECT_TRUE(x.WaitForStdout("Closed by window manager.\n"));
  EXPECT_TRUE(x.WaitForWindow("Quit xkest", 1).empty());
  EXPECT_TRUE(x.Running());
  x.Key(wid, "ctrl+q");
  std::string dlg = x.WaitForWindow("Quit xkest", 10);
  ASSERT_FALSE(dlg.empty());
  x.Key(dlg, "Left space");
  EXPECT_EQ(x.Wait(), 0);
  EXPECT_EQ(x.Stdout(), "Closed by window manager.\n");
}

TEST(XkestCatalogue, MissingTitleIsReportedAndQuickItemsAppearInOrder) {
  Home home;
  XkestRun x({"-xrm", "*quickItems.wcCallback: xKestDoOptsSetQuickItemsCB(cpp notitle a bb)",
              "-xrm", "xkest.notitle-file: x.tem", "-xrm", "xkest.notitle-desc: no title",
              "-xrm", "xkest.a-file: a.tem", "-xrm", "xkest.a-title: A", "-xrm", "xkest.a-desc: d",
              "-xrm", "xkest.bb-file: b.tem", "-xrm", "xkest.bb-title: Much longer title",
              "-xrm", "xkest.bb-desc: d"},
             home.Env());
  std::string wid = x.WaitForWindow("xkest");
  ASSERT_FALSE(wid.empty()) << x.Stderr();
  EXPECT_EQ(x.Stdout(), "**Unsuccessful getting 'title' resource for template ID notitle\n");

  x.Key(wid, "ctrl+comma");
  std::string dlg = x.WaitForWindow("xkest options", 10);
  ASSERT_FALSE(dlg.empty());
  std::vector<unsigned long> buttons = QuickItemWindows(x, dlg);
  ASSERT_EQ(buttons.size(), 3u);
  unsigned widths[3];
  for (int i = 0; i < 3; ++i) widths[i] = x.Width(buttons[i]);
  // Left to right by their labels' widths: cpp ("C++ classes"), a ("A"),
  // then bb (the long title).
  EXPECT_GT(widths[0], widths[1]);
  EXPECT_GT(widths[2], widths[0]);
  x.Key(wid, "ctrl+q");
  EXPECT_EQ(x.Wait(), 0);
}

TEST(XkestCatalogue, MissingTemplateFileIsRefusedAndTheOldPathStays) {
  Home home;
  XkestRun x({"-tooleditor", home.recorder, "-xrm", "xkest.cpp-file: $KESTHOME/templates/gone.tem"},
             home.Env());
  std::string wid = x.WaitForWindow("xkest");
  ASSERT_FALSE(wid.empty()) << x.Stderr();
  x.Key(wid, "ctrl+comma");
  std::string dlg = x.WaitForWindow("xkest options", 10);
  ASSERT_FALSE(dlg.empty());
  std::vector<unsigned long> buttons = QuickItemWindows(x, dlg);
  ASSERT_EQ(buttons.size(), 2u);  // the bundled catalogue: cpp, cppmodel
  x.ClickWindow(buttons[0]);
  EXPECT_TRUE(x.WaitForStdout("**Error"));
  EXPECT_EQ(x.Stdout(), "**Error: The template file path (" + home.dir.Path() +
                            "/templates/gone.tem) does not exist.  Template path unchanged.\n");
  // Edit Template opens the template that stayed current.
  x.Key(wid, "ctrl+e");
  EXPECT_EQ(home.Recorded(), home.cpp + "\n");
  x.Key(wid, "ctrl+q");
  EXPECT_EQ(x.Wait(), 0);
}

TEST(XkestCatalogue, TemplateChosenInItsDialogBecomesCurrent) {
  Home home;
  std::string other = home.dir.Write("templates/other tem.tem", "@# other\n");
  XkestRun x({"-tooleditor", home.recorder}, home.Env());
  std::string wid = x.WaitForWindow("xkest");
  ASSERT_FALSE(wid.empty()) << x.Stderr();
  x.Key(wid, "ctrl+comma");
  std::string dlg = x.WaitForWindow("xkest options", 10);
  ASSERT_FALSE(dlg.empty());
  // The buttons of the dialog's right-hand column; the toolkit stacks the
  // windows of a manager's children first child on top, so the template's
  // Choose button, the column's first widget, comes last.
  std::vector<unsigned long> widgets, column;
  for (unsigned long table : x.ChildWindows(std::stoul(dlg)))
    if (x.ChildWindows(table).size() > widgets.size()) widgets = x.ChildWindows(table);
  int right = 0;
  for (unsigned long w : widgets) right = std::max(right, x.X(w));
  for (unsigned long w : widgets)
    if (x.X(w) == right) column.push_back(w);
  ASSERT_EQ(column.size(), 4u);  // Choose, Edit, Choose, Close
  x.ClickWindow(column.back());
  std::string chooser = x.WaitForWindow("Choose a template", 10);
  ASSERT_FALSE(chooser.empty());
  // The selection field has the focus: replace its text and press OK.
  x.Key(chooser, "ctrl+slash");
  x.Type(chooser, other);
  x.Key(chooser, "Return");
  x.Key(wid, "ctrl+e");
  EXPECT_EQ(home.Recorded(), other + "\n");
  x.Key(wid, "ctrl+q");
  EXPECT_EQ(x.Wait(), 0);
  EXPECT_EQ(x.Stdout(), "");
}

TEST(XkestHelp, HelpPageOpensInTheBrowser) {
  Home home;
  XkestRun x({"-toolhtml", home.recorder}, home.Env());
  std::string wid = x.WaitForWindow("xkest");
  ASSERT_FALSE(wid.empty()) << x.Stderr();
  x.Key(wid, "F1");
  EXPECT_EQ(home.Recorded(), home.index + "\n");
  x.Key(wid, "ctrl+q");
  EXPECT_EQ(x.Wait(), 0);
}

}  // namespace
