// Faults a user met in a hands-on session with xkest: keys typed straight
// after start-up were lost (the first keyboard focus was on the Replace
// button), and the file dialogs listed the folder as it was when they were
// made, so a file written since was missing from File > Open; and the
// output folder dialog ignored the folder picked from its list; and no
// file dialog could be closed with Cancel or Escape, nor the options
// dialog with Escape.
#include <gtest/gtest.h>

#include <Xm/FileSB.h>
#include <Xm/List.h>

#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include <sys/stat.h>

#include "XkestRun.h"
#include "app/OptsCl.h"
#include "app/dsm_kit.h"

namespace {

using xk::test::TempDir;
using xk::test::XkestRun;

TEST(ExploreStartup, TypingRightAwayGoesIntoTheDsmText) {
  XkestRun x({}, {{"KESTHOME", std::string(XK_SOURCE_DIR) + "/demo-home"}});
  std::string wid = x.WaitForWindow("xkest");
  ASSERT_FALSE(wid.empty()) << x.Stderr();
  x.Type(wid, "model m;");
  // Quit asks first only when the typing reached the DSM text.
  x.Key(wid, "ctrl+q");
  std::string ask = x.WaitForWindow("Quit xkest", 10);
  EXPECT_FALSE(ask.empty()) << "the keys went elsewhere and Quit ended the program at once";
  if (!ask.empty()) x.Key(ask, "Left space");  // Quit, left of the default Cancel
  EXPECT_EQ(x.Wait(), 0);
  EXPECT_EQ(x.Stderr(), "");
}

// Each file dialog and the options dialog, shown the way a user shows
// them, close on Escape (Cancel, or Close) without doing anything.
TEST(ExploreStartup, EscapeClosesTheDialogs) {
  XkestRun x({}, {{"KESTHOME", std::string(XK_SOURCE_DIR) + "/demo-home"}});
  std::string wid = x.WaitForWindow("xkest");
  ASSERT_FALSE(wid.empty()) << x.Stderr();
  const struct {
    const char* keys;
    const char* title;
  } dialogs[] = {
      {"ctrl+o", "Open DSM file"},
      {"shift+ctrl+s", "Save DSM file as"},
      {"ctrl+comma", "xkest options"},
  };
  for (const auto& d : dialogs) {
    SCOPED_TRACE(d.title);
    x.Key(wid, d.keys);
    std::string dlg = x.WaitForWindow(d.title, 10);
    ASSERT_FALSE(dlg.empty());
    x.Key(dlg, "Escape");
    EXPECT_TRUE(x.WaitGone(d.title, 5));
  }
  x.Key(wid, "ctrl+q");
  EXPECT_EQ(x.Wait(), 0);
  EXPECT_EQ(x.Stderr(), "");
}

bool Lists(Widget dialog, const std::string& path) {
  Widget list = XmFileSelectionBoxGetChild(dialog, XmDIALOG_LIST);
  for (const std::string& item : xk::test::ListItems(list))
    if (item == path || item.ends_with("/" + path.substr(path.rfind('/') + 1))) return true;
  return false;
}

TEST(ExploreFileDialogs, EveryWayOfShowingThemListsFilesWrittenSince) {
  struct Route {
    const char* what;
    bool saveAs;
    std::function<void(const dsmkit::Ui&)> show;
  };
  const Route routes[] = {
      {"open on a clean text", false, [](const dsmkit::Ui&) { dsmkit::Fire("xKestDoDsmSafeLoadCB"); }},
      {"open after discarding changes", false,
       [](const dsmkit::Ui& ui) {
         dsmkit::Type(ui.dsmText, "x", 0);
         dsmkit::Fire("xKestDoDsmDiscardAndLoadCB");
       }},
      {"save of an unnamed text", true,
       [](const dsmkit::Ui& ui) {
         dsmkit::Type(ui.dsmText, "x", 0);
         dsmkit::Fire("xKestDoDsmSaveCB");
       }},
  };
  for (const Route& r : routes) {
    SCOPED_TRACE(r.what);
    TempDir dir;
    dsmkit::Ui ui = dsmkit::Build();
    Widget dialog = r.saveAs ? ui.saveAsDlg : ui.openDlg;
    XmString mask = XmStringCreateLocalized(const_cast<char*>(dir.At("*.dsm").c_str()));
    XtVaSetValues(dialog, XmNdirMask, mask, nullptr);
    XmStringFree(mask);
    xk::test::Drain();
    std::string later = dir.At("later.dsm");
    ASSERT_FALSE(Lists(dialog, later));
    std::ofstream(later) << "model m;\n";

    r.show(ui);
    xk::test::Drain();
    ASSERT_TRUE(XtIsManaged(dialog));
    EXPECT_TRUE(Lists(dialog, later));
    dsmkit::Dismiss(ui);
  }
}

// OK in the output folder dialog as its callback receives it.
Str ChooseOutputDir(const std::string& shown, const std::string& selection) {
  XmString dir = XmStringCreateLocalized(const_cast<char*>(shown.c_str()));
  XmString value = XmStringCreateLocalized(const_cast<char*>(selection.c_str()));
  XmFileSelectionBoxCallbackStruct cbs{};
  cbs.reason = XmCR_OK;
  cbs.value = value;
  cbs.dir = dir;
  dsmkit::Fire("xKestDoOptsSetOutputDirCB", nullptr, reinterpret_cast<XtPointer>(&cbs));
  XmStringFree(dir);
  XmStringFree(value);
  return theOpts.GetOutputDir();
}

TEST(ExploreOutputFolder, PickedFolderWinsOverTheOneShown) {
  TempDir dir;
  std::string shown = dir.At("");
  std::string gen = dir.At("gen");
  mkdir(gen.c_str(), 0755);
  std::ofstream(dir.At("file.txt")) << "x";
  const struct {
    const char* what;
    std::string selection, expected;
  } cases[] = {
      {"folder picked from the list", gen, gen},
      {"nothing picked: the folder shown", shown, dir.Path()},
      // Refused with a message, not swapped for the folder shown.
      {"typed name of no folder", dir.At("missing"), "/before"},
      {"a plain file", dir.At("file.txt"), "/before"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    theOpts.SetOutputDir(Str("/before"));
    EXPECT_EQ(std::string(ChooseOutputDir(shown, c.selection).c_str()), c.expected);
  }
}

}  // namespace
