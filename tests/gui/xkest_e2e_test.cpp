// The real xkest, started as a user would start it, under the test X
// server: start-up failures, quitting, the window manager's close request,
// the template catalogue and the outside tools.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "XkestRun.h"

namespace {

using xk::test::Slurp;
using xk::test::TempDir;
using xk::test::WaitUntil;
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
  std::string recorder = dir.WriteRecorder("rec.sh", record);
  std::map<std::string, std::optional<std::string>> Env() const { return {{"KESTHOME", dir.Path()}}; }

  // The recorded arguments, once the tool has run.
  std::string Recorded(int seconds = 20) const {
    if (!WaitUntil([&] { return access(record.c_str(), F_OK) == 0; }, seconds))
      return "<tool did not run>";
    return Slurp(record);
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

// Opens path through File > Open, typing it into the dialog, and waits
// for the title that names it.
void Open(XkestRun& x, const std::string& wid, const std::string& path) {
  // A window manager settling its focus right after the window maps may
  // drop the first key: press again until the dialog shows.
  std::string dlg;
  for (int i = 0; i < 3 && dlg.empty(); ++i) {
    x.Key(wid, "ctrl+o");
    dlg = x.WaitForWindow("Open DSM file", 5);
  }
  ASSERT_FALSE(dlg.empty());
  x.Key(dlg, "ctrl+slash");  // the selection field has the focus
  x.Type(dlg, path);
  x.Key(dlg, "Return");
  std::string name = path.substr(path.rfind('/') + 1);
  ASSERT_FALSE(x.WaitForWindow(name + " - xkest", 10).empty());
}

// Waits until the file holds text; says whether it did.
bool WaitForContent(const std::string& path, const std::string& text, int seconds = 10) {
  return WaitUntil([&] { return Slurp(path) == text; }, seconds);
}

// The same user steps with no window manager, under Motif's own and
// under an EWMH one: the window manager's close quits as File > Quit
// does, menus open by their mnemonics, and a new dialog takes the keys.
class XkestUnderWm : public testing::TestWithParam<std::string> {
 protected:
  // Alt+F4 under a window manager; without one, its protocol message.
  void Close(XkestRun& x, const std::string& wid) {
    if (GetParam().empty()) {
      x.SendDeleteWindow(wid);
      return;
    }
    x.Key(wid, "alt+F4");
  }
  // Keys to a dialog that just appeared. A window manager gives it the
  // keyboard focus by itself; without one the test does.
  void KeysToNewDialog(XkestRun& x, const std::string& dlg, const std::string& keys) {
    if (GetParam().empty()) {
      x.Key(dlg, keys);
      return;
    }
    WaitUntil([&] { return x.FocusWindow() == dlg; }, 5);
    EXPECT_EQ(x.FocusWindow(), dlg) << "the new dialog did not get the keyboard focus";
    x.KeyToFocus(keys);
  }
};

TEST_P(XkestUnderWm, CloseQuitsAskingFirstAboutUnsavedText) {
  Home home;
  std::string dsm = home.dir.Write("m.dsm", "model m;\n");
  XkestRun x({}, home.Env(), GetParam());
  std::string wid = x.WaitForWindow("xkest");
  ASSERT_FALSE(wid.empty()) << x.Stderr() << x.Windows();
  Open(x, wid, dsm);
  x.Type(wid, "x");
  ASSERT_FALSE(x.WaitForWindow("\\*m.dsm - xkest", 10).empty());
  Close(x, wid);
  std::string dlg = x.WaitForWindow("Quit xkest", 10);
  ASSERT_FALSE(dlg.empty());
  KeysToNewDialog(x, dlg, "alt+c");  // Cancel, by its mnemonic: the window stays
  EXPECT_TRUE(x.WaitGone("Quit xkest"));
  EXPECT_TRUE(x.Running());
  // Saved, there is nothing to lose: the close quits at once.
  x.Key(wid, "ctrl+s");
  ASSERT_FALSE(x.WaitForWindow("m.dsm - xkest", 10).empty());
  Close(x, wid);
  EXPECT_EQ(x.Wait(), 0);
  EXPECT_EQ(x.Stdout(), "Closed by window manager.\nClosed by window manager.\n");
  EXPECT_EQ(Slurp(dsm), "xmodel m;\n");
}

TEST_P(XkestUnderWm, MenusOpenByMnemonicAndDialogsTakeTheKeys) {
  Home home;
  std::string dsm = home.dir.Write("m.dsm", "model m;\n");
  XkestRun x({}, home.Env(), GetParam());
  std::string wid = x.WaitForWindow("xkest");
  ASSERT_FALSE(wid.empty()) << x.Stderr() << x.Windows();
  // File > Open..., again if a window manager settling its focus dropped
  // the first keys.
  std::string dlg;
  for (int i = 0; i < 3 && dlg.empty(); ++i) {
    x.AltKey(wid, "f");
    x.KeyToFocus("o");
    dlg = x.WaitForWindow("Open DSM file", 5);
    if (dlg.empty()) x.KeyToFocus("Escape");
  }
  ASSERT_FALSE(dlg.empty());
  KeysToNewDialog(x, dlg, "ctrl+slash");
  x.Type(dlg, dsm);
  x.Key(dlg, "Return");
  EXPECT_FALSE(x.WaitForWindow("m.dsm - xkest", 10).empty());
  x.AltKey(wid, "f");
  x.KeyToFocus("q");  // File > Quit
  EXPECT_EQ(x.Wait(), 0);
  EXPECT_EQ(x.Stderr(), "");
}

INSTANTIATE_TEST_SUITE_P(, XkestUnderWm, testing::ValuesIn(xk::test::WindowManagers()),
                         [](const testing::TestParamInfo<std::string>& p) {
                           return p.param.empty() ? std::string("none") : p.param;
                         });

// Edit keys act on the text that has the keyboard focus: Ctrl+V in the
// Replace field pastes there (it used to paste into the DSM text, out of
// sight), and so it does in the Find dialog's field.
TEST(XkestEditKeys, PasteGoesToTheFieldWithTheFocus) {
  Home home;
  std::string dsm = home.dir.Write("m.dsm", "model m;");
  XkestRun x({}, home.Env());
  std::string wid = x.WaitForWindow("xkest");
  ASSERT_FALSE(wid.empty()) << x.Stderr() << x.Windows();
  Open(x, wid, dsm);
  x.Key(wid, "ctrl+slash ctrl+c");  // all of the DSM text, copied
  // Into the Replace field (left of the Replace button), paste, add a
  // letter, and replace the DSM text's selection with that.
  x.Click(wid, int(x.Width(std::stoul(wid))) - 120, 57);
  x.Key(wid, "ctrl+v");
  x.Type(wid, "X");
  x.Key(wid, "Return");
  ASSERT_FALSE(x.WaitForWindow("\\*m.dsm - xkest", 10).empty());
  x.Key(wid, "ctrl+s");
  EXPECT_TRUE(WaitForContent(dsm, "model m;X")) << Slurp(dsm);

  // The same in the Find dialog's field: the pasted text is found and
  // selected, and the Replace field (which kept the focus) replaces it.
  x.Key(wid, "ctrl+f");
  std::string find = x.WaitForWindow("Find in DSM", 10);
  ASSERT_FALSE(find.empty());
  x.Key(find, "ctrl+v Return Escape");
  ASSERT_TRUE(x.WaitGone("Find in DSM"));
  x.Type(wid, "Y");
  x.Key(wid, "Return ctrl+s");
  EXPECT_TRUE(WaitForContent(dsm, "model m;XYX")) << Slurp(dsm);
  x.Key(wid, "ctrl+q");
  EXPECT_EQ(x.Wait(), 0);
}

// Control keys that nothing is bound to put no control character into
// the text; what the file held comes back unchanged.
TEST(XkestTyping, UnboundControlKeysInsertNothing) {
  Home home;
  std::string dsm = home.dir.Write("m.dsm", "model\tm; \x01\n");
  XkestRun x({}, home.Env());
  std::string wid = x.WaitForWindow("xkest");
  ASSERT_FALSE(wid.empty()) << x.Stderr() << x.Windows();
  Open(x, wid, dsm);
  x.Key(wid, "ctrl+End ctrl+z ctrl+a ctrl+b");
  x.Type(wid, "x");
  x.Key(wid, "Tab ctrl+s");
  EXPECT_TRUE(WaitForContent(dsm, "model\tm; \x01\nx\t")) << Slurp(dsm);
  x.Key(wid, "ctrl+q");
  EXPECT_EQ(x.Wait(), 0);
}

}  // namespace
