// The DSM document on real Motif widgets, driven through the registered
// callbacks: the four states and their transitions, load failures, NUL
// bytes, and saving that never loses the file on disk (full disk, symbolic
// and hard links, permission bits, the copy an interrupted save left).
#include <gtest/gtest.h>

#include <csignal>
#include <cstring>
#include <functional>
#include <optional>
#include <string>

#include <dirent.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include "dsm_kit.h"
#include "support/SaveCopy.h"

namespace {

using dsmkit::FileCall;
using dsmkit::Fire;
using dsmkit::Load;
using dsmkit::Text;
using xk::test::Slurp;
using xk::test::TempDir;

// The document's whole state in one line, dialogs included.
std::string State(const dsmkit::Ui& ui) {
  std::string s = "has=" + std::to_string(theDsm.GetHasFileName()) +
                  " mod=" + std::to_string(theDsm.GetModified()) + " text=" + Text(ui.dsmText);
  const std::pair<const char*, Widget> dialogs[] = {{"open", ui.openDlg},
                                                    {"saveAs", ui.saveAsDlg},
                                                    {"saveLoad", ui.saveLoadDlg},
                                                    {"verifyClose", ui.verifyCloseDlg}};
  for (const auto& [name, w] : dialogs)
    if (XtIsManaged(w)) s += std::string(" +") + name;
  return s;
}

void SaveAs(const std::string& path) {
  FileCall call(path);
  Fire("xKestDoDsmSaveAsCB", nullptr, call.Get());
}

int FilesIn(const std::string& dir) {
  int n = 0;
  if (DIR* d = opendir(dir.c_str())) {
    while (dirent* e = readdir(d))
      if (std::strcmp(e->d_name, ".") && std::strcmp(e->d_name, "..")) ++n;
    closedir(d);
  }
  return n;
}

TEST(DsmDocument, EveryStateAndTransition) {
  TempDir dir;
  std::string path = dir.At("m.dsm");
  dsmkit::Ui ui = dsmkit::Build();
  struct Step {
    const char* what;
    std::function<void()> act;
    const char* expected;
  };
  const Step steps[] = {
      {"start: empty, save does nothing", [] { Fire("xKestDoDsmSaveCB"); }, "has=0 mod=0 text="},
      {"typing: edited, unnamed", [&] { dsmkit::Type(ui.dsmText, "a", 0); }, "has=0 mod=1 text=a"},
      {"save without a name asks for one", [] { Fire("xKestDoDsmSaveCB"); }, "has=0 mod=1 text=a +saveAs"},
      {"save as: clean", [&] { dsmkit::Dismiss(ui); SaveAs(path); }, "has=1 mod=0 text=a"},
      {"typing: edited", [&] { dsmkit::Type(ui.dsmText, "b", 1); }, "has=1 mod=1 text=ab"},
      {"save: clean", [] { Fire("xKestDoDsmSaveCB"); }, "has=1 mod=0 text=ab"},
      {"typing again", [&] { dsmkit::Type(ui.dsmText, "c", 2); }, "has=1 mod=1 text=abc"},
      {"close asks first", [] { Fire("xKestDoDsmCloseCB"); }, "has=1 mod=1 text=abc +verifyClose"},
      {"open asks first", [&] { dsmkit::Dismiss(ui); Fire("xKestDoDsmSafeLoadCB"); },
       "has=1 mod=1 text=abc +saveLoad"},
      {"save first, then open", [&] { dsmkit::Dismiss(ui); Fire("xKestDoDsmSaveAndLoadCB"); },
       "has=1 mod=0 text=abc +open"},
      {"typing", [&] { dsmkit::Dismiss(ui); dsmkit::Type(ui.dsmText, "d", 3); }, "has=1 mod=1 text=abcd"},
      {"close without saving: empty", [] { Fire("xKestDoDsmCloseWithNoSaveCB"); }, "has=0 mod=0 text="},
      {"typing in the empty state", [&] { dsmkit::Type(ui.dsmText, "x", 0); }, "has=0 mod=1 text=x"},
      {"save first without a name: save as, no open", [&] { Fire("xKestDoDsmSaveAndLoadCB"); },
       "has=0 mod=1 text=x +saveAs"},
      {"discard and open", [&] { dsmkit::Dismiss(ui); Fire("xKestDoDsmDiscardAndLoadCB"); },
       "has=0 mod=0 text= +open"},
      {"load: clean", [&] { dsmkit::Dismiss(ui); Load(path); }, "has=1 mod=0 text=abc"},
      {"open when clean shows the dialog at once", [] { Fire("xKestDoDsmSafeLoadCB"); },
       "has=1 mod=0 text=abc +open"},
      {"close when clean: empty", [&] { dsmkit::Dismiss(ui); Fire("xKestDoDsmCloseCB"); },
       "has=0 mod=0 text="},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.what);
    step.act();
    xk::test::Drain();
    EXPECT_EQ(State(ui), step.expected);
  }
  EXPECT_EQ(Slurp(path), "abc");
  EXPECT_EQ(dsmkit::Label(ui.title), kNoDsmFile);
  EXPECT_EQ(std::string(theDsm.GetFileName().c_str()), kNoDsmFile);
}

TEST(DsmDocument, FailedLoadEmptiesTheTextButKeepsTheOldName) {
  TempDir dir;
  std::string good = dir.Write("good.dsm", "model a;\n");
  std::string missing = dir.At("missing.dsm");
  dsmkit::Ui ui = dsmkit::Build();
  Load(good);
  Load(missing);
  EXPECT_EQ(dsmkit::Message(ui), "Not able to access the file '" + missing + "'");
  EXPECT_EQ(State(ui), "has=0 mod=0 text=");
  EXPECT_EQ(dsmkit::Label(ui.title), good);
  dsmkit::Dismiss(ui);
  dsmkit::Type(ui.dsmText, "new", 0);
  Fire("xKestDoDsmSaveCB");
  EXPECT_EQ(State(ui), "has=0 mod=1 text=new +saveAs");
  EXPECT_EQ(Slurp(good), "model a;\n");
}

// A file too large for memory (here a sparse terabyte) is refused by its
// size before it is read: the text and its name stay, and the program goes
// on. Swapped in under an unmodified text, the focus asks once instead of
// reloading; loading it anyway is refused the same way.
TEST(DsmDocument, FileTooLargeToLoadKeepsTheTextAndTheFocusAsks) {
  TempDir dir;
  std::string path = dir.Write("m.dsm", "keep\n");
  std::string huge = dir.Write("huge.dsm", "");
  ASSERT_EQ(truncate(huge.c_str(), off_t(1) << 40), 0);
  const std::string tooLarge = ": it is too large (1099511627776 bytes)";
  dsmkit::Ui ui = dsmkit::Build();
  Widget changed = XmCreateQuestionDialog(ui.shell, const_cast<char*>("changedDlg"), nullptr, 0);
  Fire("xKestDoDsmSetChangedDlgWidgetCB", nullptr, nullptr, changed);
  Load(path);
  Load(huge);
  EXPECT_EQ(dsmkit::Message(ui), "Cannot load " + huge + tooLarge);
  EXPECT_EQ(State(ui), "has=1 mod=0 text=keep\n");
  EXPECT_EQ(dsmkit::Label(ui.title), path);
  dsmkit::Dismiss(ui);

  ASSERT_EQ(truncate(path.c_str(), off_t(1) << 40), 0);
  theDsm.WindowFocused();
  xk::test::Drain();
  ASSERT_TRUE(XtIsManaged(changed));
  EXPECT_EQ(dsmkit::Label(changed, XmNmessageString), "The file '" + path +
            "' changed on disk since xkest last read or wrote it.\nIt is now too large to load (1099511627776 bytes).");
  EXPECT_EQ(dsmkit::Message(ui), "");
  XtUnmanageChild(changed);
  theDsm.WindowFocused();
  xk::test::Drain();
  EXPECT_FALSE(XtIsManaged(changed)) << "asked once for this version of the file";
  Fire("xKestDoDsmReloadCB");
  EXPECT_EQ(dsmkit::Message(ui), "Cannot load " + path + tooLarge);
  EXPECT_EQ(State(ui), "has=1 mod=0 text=keep\n");
}

// Text changed while the Open dialog is up is never dropped unasked.
TEST(DsmDocument, LoadNeverDropsUnsavedChanges) {
  TempDir dir;
  std::string path = dir.Write("m.dsm", "from file\n");
  dsmkit::Ui ui = dsmkit::Build();
  dsmkit::Type(ui.dsmText, "keep", 0);
  Load("");
  EXPECT_EQ(State(ui), "has=0 mod=1 text=keep") << "OK with no name changes nothing";
  EXPECT_EQ(dsmkit::Message(ui), "");
  Fire("xKestDoDsmCloseCB");
  EXPECT_EQ(State(ui), "has=0 mod=1 text=keep +verifyClose") << "so closing still asks";
  dsmkit::Dismiss(ui);
  Load(path);
  EXPECT_EQ(State(ui), "has=0 mod=1 text=keep +saveLoad") << "a name chosen: ask first";
  dsmkit::Dismiss(ui);
  Fire("xKestDoDsmDiscardAndLoadCB");
  dsmkit::Dismiss(ui);
  Load(path);
  EXPECT_EQ(State(ui), "has=1 mod=0 text=from file\n");
}

TEST(DsmDocument, NulByteEndsTheTextAndTheUserIsTold) {
  TempDir dir;
  std::string path = dir.Write("nul.dsm", std::string("ab\0cd\n", 6));
  dsmkit::Ui ui = dsmkit::Build();
  Load(path);
  EXPECT_EQ(State(ui), "has=1 mod=0 text=ab");
  std::string msg = dsmkit::Message(ui);
  EXPECT_NE(msg.find(path), std::string::npos) << msg;
  EXPECT_NE(msg.find("NUL byte"), std::string::npos) << msg;
}

TEST(DsmDocument, SaveWritesOnlyModifiedTextButSaveAsAlwaysWrites) {
  TempDir dir;
  std::string path = dir.Write("m.dsm", "one\n");
  dsmkit::Ui ui = dsmkit::Build();
  Load(path);
  dir.Write("m.dsm", "changed outside\n");
  Fire("xKestDoDsmSaveCB");
  EXPECT_EQ(Slurp(path), "changed outside\n");
  std::string other = dir.At("copy.dsm");
  SaveAs(other);
  EXPECT_EQ(Slurp(other), "one\n");
  EXPECT_EQ(dsmkit::Label(ui.title), other);
}

// Bound by the resource description to a widget that is no question
// dialog, the changed-on-disk question showed nowhere: Save did nothing,
// without a word. Told in the message dialog instead, the user saves
// again to overwrite (it used to say the same at every Save, for good).
TEST(DsmDocument, ChangedOnDiskWithoutItsDialogIsToldAndTheNextSaveOverwrites) {
  TempDir dir;
  std::string path = dir.Write("m.dsm", "one\n");
  dsmkit::Ui ui = dsmkit::Build();
  Fire("xKestDoDsmSetChangedDlgWidgetCB", nullptr, nullptr, ui.lineLabel);
  Load(path);
  dsmkit::Type(ui.dsmText, "x", 0);
  dir.Write("m.dsm", "theirs\n");
  Fire("xKestDoDsmSaveCB");
  EXPECT_EQ(dsmkit::Message(ui), "The file '" + path +
                                     "' changed on disk since xkest last read or wrote it. Save again to overwrite it.");
  EXPECT_EQ(Slurp(path), "theirs\n");
  dsmkit::Dismiss(ui);
  Fire("xKestDoDsmSaveCB");
  EXPECT_EQ(Slurp(path), "xone\n");
  EXPECT_EQ(dsmkit::Message(ui), "");
  // Changed once more, it is told once more.
  dsmkit::Type(ui.dsmText, "y", 0);
  dir.Write("m.dsm", "theirs again\n");
  Fire("xKestDoDsmSaveCB");
  EXPECT_EQ(Slurp(path), "theirs again\n");
  EXPECT_NE(dsmkit::Message(ui), "");
}

// The changed-on-disk question in a dialog of its own.
Widget ChangedDialog(const dsmkit::Ui& ui) {
  Widget dlg = XmCreateQuestionDialog(ui.shell, const_cast<char*>("changedDlg"), nullptr, 0);
  Fire("xKestDoDsmSetChangedDlgWidgetCB", nullptr, nullptr, dlg);
  return dlg;
}

// Loading the version on disk, asked or quietly on focus, is one step of
// the history: Undo brings back the text as it was (modified, as it now
// differs from the file), Redo the file's version, and what came before
// stays in the history.
TEST(DsmDocument, ReloadFromDiskIsOneUndoStep) {
  TempDir dir;
  std::string path = dir.Write("m.dsm", "one\n");
  dsmkit::Ui ui = dsmkit::Build();
  Widget changed = ChangedDialog(ui);
  Load(path);
  dsmkit::Type(ui.dsmText, "a", 0);
  XmTextSetInsertionPosition(ui.dsmText, 4);
  dsmkit::Type(ui.dsmText, "\nb", 4);
  dir.Write("m.dsm", "theirs\n");
  Fire("xKestDoDsmSaveCB");
  ASSERT_TRUE(XtIsManaged(changed));
  EXPECT_EQ(xk::test::Label(changed, XmNmessageString),
            "The file '" + path + "' changed on disk since xkest last read or wrote it.");
  XtUnmanageChild(changed);
  Fire("xKestDoDsmReloadCB");
  EXPECT_EQ(State(ui), "has=1 mod=0 text=theirs\n");
  Fire("xKestDoDsmUndoCB");
  EXPECT_EQ(State(ui), "has=1 mod=1 text=aone\nb\n");
  Fire("xKestDoDsmRedoCB");
  EXPECT_EQ(State(ui), "has=1 mod=0 text=theirs\n");
  Fire("xKestDoDsmUndoCB");
  Fire("xKestDoDsmUndoCB");
  Fire("xKestDoDsmUndoCB");
  EXPECT_EQ(State(ui), "has=1 mod=1 text=one\n") << "the file's old version is no longer what is saved";
  EXPECT_EQ(Slurp(path), "theirs\n");

  // Quietly, when the window gets the focus.
  Fire("xKestDoDsmCloseWithNoSaveCB");
  Load(path);
  dir.Write("m.dsm", "theirs, later\n");
  theDsm.WindowFocused();
  EXPECT_EQ(State(ui), "has=1 mod=0 text=theirs, later\n");
  Fire("xKestDoDsmUndoCB");
  EXPECT_EQ(State(ui), "has=1 mod=1 text=theirs\n");
  Fire("xKestDoDsmRedoCB");
  EXPECT_EQ(State(ui), "has=1 mod=0 text=theirs, later\n");
}

// Save As onto the open file, by any name of it, asks as Save does when
// the file changed on disk; a file unchanged is saved at once.
TEST(DsmDocument, SaveAsOntoTheOpenFileAsksWhenItChangedOnDisk) {
  TempDir dir;
  std::string path = dir.Write("m.dsm", "one\n");
  dsmkit::Ui ui = dsmkit::Build();
  Widget changed = ChangedDialog(ui);
  Load(path);
  dsmkit::Type(ui.dsmText, "x", 0);
  SaveAs(dir.Path() + "/./m.dsm");
  EXPECT_FALSE(XtIsManaged(changed));
  EXPECT_EQ(Slurp(path), "xone\n");
  dsmkit::Type(ui.dsmText, "y", 0);
  dir.Write("m.dsm", "theirs\n");
  SaveAs(path);
  EXPECT_TRUE(XtIsManaged(changed));
  EXPECT_EQ(Slurp(path), "theirs\n");
  XtUnmanageChild(changed);
  Fire("xKestDoDsmOverwriteCB");
  EXPECT_EQ(Slurp(path), "yxone\n");
  EXPECT_EQ(State(ui), "has=1 mod=0 text=yxone\n");
}

// Save As onto another existing file asks first and writes only when the
// answer is Replace; a new name, or the file's own, is saved at once.
TEST(DsmDocument, SaveAsAsksBeforeReplacingAnotherFile) {
  TempDir dir;
  std::string theirs = dir.Write("theirs.dsm", "theirs\n");
  std::string mine = dir.At("mine.dsm");
  dsmkit::Ui ui = dsmkit::Build();
  dsmkit::Type(ui.dsmText, "mine\n", 0);
  SaveAs(mine);
  dsmkit::Type(ui.dsmText, "more ", 0);
  SaveAs(mine);
  EXPECT_EQ(dsmkit::Message(ui), "");
  EXPECT_EQ(Slurp(mine), "more mine\n");
  dsmkit::Type(ui.dsmText, "x", 0);
  SaveAs(theirs);
  EXPECT_EQ(dsmkit::Message(ui), "The file '" + theirs + "' exists. Replace it?");
  EXPECT_EQ(Slurp(theirs), "theirs\n");
  EXPECT_EQ(dsmkit::Label(ui.title), mine);
  Fire("xKestDoDsmSaveAsReplaceCB");
  EXPECT_EQ(Slurp(theirs), "xmore mine\n");
  EXPECT_EQ(State(ui), "has=1 mod=0 text=xmore mine\n");
  EXPECT_EQ(dsmkit::Label(ui.title), theirs);
}

TEST(DsmDocument, SaveAsIntoAMissingFolderReportsAndKeepsTheNewName) {
  TempDir dir;
  dsmkit::Ui ui = dsmkit::Build();
  dsmkit::Type(ui.dsmText, "text", 0);
  std::string bad = dir.At("no/such/dir.dsm");
  SaveAs(bad);
  EXPECT_EQ(dsmkit::Message(ui), "Cannot save to filepath " + bad + ": No such file or directory");
  EXPECT_EQ(State(ui), "has=1 mod=1 text=text");
  EXPECT_EQ(dsmkit::Label(ui.title), bad);
  // Save first, then open: the save fails again, so the Open dialog must
  // not follow, or loading would replace the unsaved text.
  dsmkit::Dismiss(ui);
  Fire("xKestDoDsmSafeLoadCB");
  EXPECT_EQ(State(ui), "has=1 mod=1 text=text +saveLoad");
  dsmkit::Dismiss(ui);
  Fire("xKestDoDsmSaveAndLoadCB");
  EXPECT_EQ(dsmkit::Message(ui), "Cannot save to filepath " + bad + ": No such file or directory");
  EXPECT_EQ(State(ui), "has=1 mod=1 text=text");
}

// A file size limit stands in for a full disk: writes stop with EFBIG.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    getrlimit(RLIMIT_FSIZE, &old_);
    oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit lim = old_;
    lim.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &lim);
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &old_);
    std::signal(SIGXFSZ, oldHandler_);
  }

 private:
  rlimit old_{};
  void (*oldHandler_)(int) = nullptr;
};

TEST(DsmSaveSafety, FullDiskLeavesTheOldFileAndTheTextModified) {
  TempDir dir;
  std::string old(3000, 'o');
  std::string path = dir.Write("big.dsm", old);
  dsmkit::Ui ui = dsmkit::Build();
  Load(path);
  dsmkit::Type(ui.dsmText, std::string(20000, 'n'), 0);
  {
    FileSizeLimit limit(8192);
    Fire("xKestDoDsmSaveCB");
  }
  EXPECT_EQ(dsmkit::Message(ui), "Cannot save to filepath " + path + ": File too large");
  EXPECT_EQ(theDsm.GetModified(), 1);
  EXPECT_EQ(Slurp(path), old);
  EXPECT_EQ(FilesIn(dir.Path()), 1) << "no temporary file is left behind";
  // With room again the same text saves.
  dsmkit::Dismiss(ui);
  Fire("xKestDoDsmSaveCB");
  EXPECT_EQ(theDsm.GetModified(), 0);
  EXPECT_EQ(Slurp(path).size(), 23000u);
}

TEST(DsmSaveSafety, SymbolicLinkIsSavedThroughAndStaysALink) {
  TempDir dir;
  std::string real = dir.Write("real.dsm", "old\n");
  chmod(real.c_str(), 0640);
  std::string link = dir.At("link.dsm");
  ASSERT_EQ(symlink("real.dsm", link.c_str()), 0);
  dsmkit::Ui ui = dsmkit::Build();
  Load(link);
  dsmkit::Type(ui.dsmText, "new ", 0);
  Fire("xKestDoDsmSaveCB");
  EXPECT_EQ(theDsm.GetModified(), 0);
  struct stat st;
  ASSERT_EQ(lstat(link.c_str(), &st), 0);
  EXPECT_TRUE(S_ISLNK(st.st_mode));
  EXPECT_EQ(Slurp(real), "new old\n");
  ASSERT_EQ(stat(real.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
  EXPECT_EQ(FilesIn(dir.Path()), 2);
}

TEST(DsmSaveSafety, HardLinksKeepSharingTheFile) {
  TempDir dir;
  std::string a = dir.Write("a.dsm", "old\n");
  std::string b = dir.At("b.dsm");
  ASSERT_EQ(link(a.c_str(), b.c_str()), 0);
  dsmkit::Ui ui = dsmkit::Build();
  Load(a);
  dsmkit::Type(ui.dsmText, "x", 0);
  Fire("xKestDoDsmSaveCB");
  EXPECT_EQ(Slurp(b), "xold\n");
  struct stat sa, sb;
  ASSERT_EQ(stat(a.c_str(), &sa), 0);
  ASSERT_EQ(stat(b.c_str(), &sb), 0);
  EXPECT_EQ(sa.st_ino, sb.st_ino);
  EXPECT_EQ(sa.st_nlink, 2u);
  EXPECT_EQ(FilesIn(dir.Path()), 2);
}

// A small file system of its own, private to this process, when it may
// mount one (as root); else a file size limit stands in for the full disk.
class SmallDisk {
 public:
  SmallDisk(const std::string& dir, const char* size) : dir_(dir) {
    mounted_ = unshare(CLONE_NEWNS) == 0 && mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0 &&
               mount("tmpfs", dir.c_str(), "tmpfs", 0, (std::string("size=") + size).c_str()) == 0;
  }
  ~SmallDisk() {
    if (mounted_) umount2(dir_.c_str(), MNT_DETACH);
  }
  bool Mounted() const { return mounted_; }

 private:
  std::string dir_;
  bool mounted_ = false;
};

// 16 KiB with a second link, on a disk with room neither for the
// temporary copy of 32 KiB nor for the file to grow to it: the save must
// stop before the shared file changes. With room for the growth alone it
// succeeds.
TEST(DsmSaveSafety, HardLinkOnANearlyFullDiskKeepsItsOldText) {
  TempDir dir;
  SmallDisk disk(dir.Path(), "64k");
  std::string old(16384, 'o');
  std::string a = dir.Write("a.dsm", old);
  std::string b = dir.At("b.dsm");
  ASSERT_EQ(link(a.c_str(), b.c_str()), 0);
  std::string filler = dir.Write("filler", std::string(disk.Mounted() ? 36864 : 8192, 'f'));
  dsmkit::Ui ui = dsmkit::Build();
  Load(a);
  dsmkit::Type(ui.dsmText, std::string(16384, 'n'), 0);
  {
    std::optional<FileSizeLimit> limit;
    if (!disk.Mounted()) limit.emplace(24576);
    Fire("xKestDoDsmSaveCB");
  }
  std::string reason = disk.Mounted() ? "No space left on device" : "File too large";
  EXPECT_EQ(dsmkit::Message(ui), "Cannot save to filepath " + a + ": " + reason);
  EXPECT_EQ(theDsm.GetModified(), 1);
  EXPECT_EQ(Slurp(a), old);
  EXPECT_EQ(Slurp(b), old);
  EXPECT_EQ(FilesIn(dir.Path()), 3) << "no temporary file is left behind";
  dsmkit::Dismiss(ui);
  unlink(filler.c_str());
  Fire("xKestDoDsmSaveCB");
  EXPECT_EQ(theDsm.GetModified(), 0);
  EXPECT_EQ(Slurp(b), std::string(16384, 'n') + old);
}

// 16 KiB with a second link grown to 32 KiB on a disk with 28 KiB free:
// no room for the temporary copy, but room for the growth, so the file is
// rewritten in place and both names see the new text.
TEST(DsmSaveSafety, HardLinkGrownOnADiskWithRoomOnlyForTheGrowthIsSaved) {
  TempDir dir;
  SmallDisk disk(dir.Path(), "64k");
  if (!disk.Mounted()) GTEST_SKIP() << "needs a small file system of its own (root)";
  std::string old(16384, 'o');
  std::string a = dir.Write("a.dsm", old);
  std::string b = dir.At("b.dsm");
  ASSERT_EQ(link(a.c_str(), b.c_str()), 0);
  dir.Write("filler", std::string(20480, 'f'));
  dsmkit::Ui ui = dsmkit::Build();
  Load(a);
  dsmkit::Type(ui.dsmText, std::string(16384, 'n'), 0);
  Fire("xKestDoDsmSaveCB");
  EXPECT_EQ(dsmkit::Message(ui), "");
  EXPECT_EQ(theDsm.GetModified(), 0);
  EXPECT_EQ(Slurp(b), std::string(16384, 'n') + old);
  EXPECT_EQ(FilesIn(dir.Path()), 3) << "no temporary file is left behind";
}

// A complete copy that an interrupted save of the file left beside it is
// offered when the file is reloaded on focus and when it is loaded; Keep,
// the default, leaves the text; Open the copy puts the copy's text in,
// modified, as one undo step. An answered copy is not offered again by a
// reload, and it goes with the first save after the answer, not before.
TEST(DsmSaveSafety, InterruptedSavesCopyIsOfferedAndGoesWithTheNextSave) {
  TempDir dir;
  std::string path = dir.Write("m.dsm", "old\nold\n");
  dsmkit::Ui ui = dsmkit::Build();
  Widget copyDlg = XmCreateQuestionDialog(ui.shell, const_cast<char*>("copyDlg"), nullptr, 0);
  Fire("xKestDoDsmSetCopyDlgWidgetCB", nullptr, nullptr, copyDlg);
  Load(path);
  EXPECT_FALSE(XtIsManaged(copyDlg));
  // What a save killed midway leaves: the file part new, part old (same
  // inode), and the whole new text beside it.
  dir.Write("m.dsm", "new\nold\n");
  struct stat st;
  ASSERT_EQ(stat(path.c_str(), &st), 0);
  const std::string fresh = "new\nnew\n";
  std::string copy = dir.Write(".m.dsm.Ab12yZ", fresh + SaveCopyTrailer(fresh, st.st_dev, st.st_ino));
  ASSERT_EQ(chmod(copy.c_str(), 0600), 0);
  theDsm.WindowFocused();
  ASSERT_TRUE(XtIsManaged(copyDlg));
  EXPECT_EQ(dsmkit::Label(copyDlg, XmNmessageString),
            "An interrupted save left a complete copy of " + path + ".");
  EXPECT_EQ(State(ui), "has=1 mod=0 text=new\nold\n");
  XtUnmanageChild(copyDlg);
  Fire("xKestDoDsmKeepFileCB");
  EXPECT_EQ(State(ui), "has=1 mod=0 text=new\nold\n");
  dir.Write("m.dsm", "newer\nold\n");
  theDsm.WindowFocused();
  EXPECT_EQ(State(ui), "has=1 mod=0 text=newer\nold\n");
  EXPECT_FALSE(XtIsManaged(copyDlg)) << "asked once per copy";
  EXPECT_EQ(Slurp(copy).substr(0, fresh.size()), fresh);

  Load(path);
  ASSERT_TRUE(XtIsManaged(copyDlg));
  XtUnmanageChild(copyDlg);
  Fire("xKestDoDsmOpenCopyCB");
  EXPECT_EQ(State(ui), "has=1 mod=1 text=new\nnew\n");
  EXPECT_EQ(Slurp(path), "newer\nold\n");
  EXPECT_EQ(FilesIn(dir.Path()), 2) << "the copy stays until a save";
  // One Undo brings back the text as read, unmodified.
  Fire("xKestDoDsmUndoCB");
  EXPECT_EQ(State(ui), "has=1 mod=0 text=newer\nold\n");
  Fire("xKestDoDsmRedoCB");
  EXPECT_EQ(State(ui), "has=1 mod=1 text=new\nnew\n");
  Fire("xKestDoDsmSaveCB");
  EXPECT_EQ(Slurp(path), fresh);
  EXPECT_EQ(theDsm.GetModified(), 0);
  EXPECT_EQ(FilesIn(dir.Path()), 1);
}

// No temporary file can be made in a folder the user may not write, yet a
// writable file there is saved, in place; one that is not writable is
// refused with the reason. Root stands in as another user for the save.
TEST(DsmSaveSafety, WritableFileInAFolderTheUserCannotWrite) {
  TempDir dir;
  std::string open = dir.Write("open.dsm", "old\n");
  std::string locked = dir.Write("locked.dsm", "keep\n");
  chmod(locked.c_str(), 0444);
  const uid_t nobody = 65534;
  bool asRoot = geteuid() == 0;
  if (asRoot) {
    ASSERT_EQ(chown(open.c_str(), nobody, nobody), 0);
    ASSERT_EQ(chmod(dir.Path().c_str(), 0755), 0);
  } else {
    ASSERT_EQ(chmod(dir.Path().c_str(), 0555), 0);
  }
  auto save = [&] {
    if (asRoot) {
      ASSERT_EQ(seteuid(nobody), 0);
    }
    Fire("xKestDoDsmSaveCB");
    if (asRoot) {
      ASSERT_EQ(seteuid(0), 0);
    }
  };
  dsmkit::Ui ui = dsmkit::Build();
  Load(open);
  dsmkit::Type(ui.dsmText, "new ", 0);
  save();
  EXPECT_EQ(dsmkit::Message(ui), "");
  EXPECT_EQ(theDsm.GetModified(), 0);
  EXPECT_EQ(Slurp(open), "new old\n");
  Load(locked);
  dsmkit::Type(ui.dsmText, "lost ", 0);
  save();
  EXPECT_EQ(dsmkit::Message(ui), "Cannot save to filepath " + locked + ": Permission denied");
  EXPECT_EQ(Slurp(locked), "keep\n");
  chmod(dir.Path().c_str(), 0700);
}

// With showFileInTitle, the main window's title follows the DSM file and
// its unsaved changes through load, typing, save, save as and close.
TEST(DsmTitle, NamesTheFileAndMarksUnsavedChanges) {
  TempDir dir;
  std::string path = dir.Write("m.dsm", "model m;\n");
  dsmkit::Ui ui = dsmkit::Build();
  theOpts.SetShowFileInTitle(1);
  auto title = [&] {
    char* t = nullptr;
    XtVaGetValues(ui.shell, XtNtitle, &t, nullptr);
    return std::string(t ? t : "");
  };
  std::string steps;
  auto step = [&](const char* what, const std::function<void()>& act) {
    act();
    steps += std::string(what) + ": " + title() + "\n";
  };
  step("load", [&] { Load(path); });
  step("type", [&] { dsmkit::Type(ui.dsmText, "x", 0); });
  step("save", [&] { Fire("xKestDoDsmSaveCB"); });
  step("type", [&] { dsmkit::Type(ui.dsmText, "y", 0); });
  step("save as", [&] { SaveAs(dir.At("n.dsm")); });
  step("type", [&] { dsmkit::Type(ui.dsmText, "z", 0); });
  step("close", [&] { Fire("xKestDoDsmCloseWithNoSaveCB"); });
  EXPECT_EQ(steps,
            "load: m.dsm - xkest\n"
            "type: *m.dsm - xkest\n"
            "save: m.dsm - xkest\n"
            "type: *m.dsm - xkest\n"
            "save as: n.dsm - xkest\n"
            "type: *n.dsm - xkest\n"
            "close: xkest\n");
  theOpts.SetShowFileInTitle(0);
}

TEST(DsmDocument, TypedNameIsInTheFolderTheDialogShows) {
  TempDir dir;
  dir.Write("typed.dsm", "model t;\n");
  dsmkit::Ui ui = dsmkit::Build();
  dsmkit::FileCall call("typed.dsm");  // typed into the field, not picked
  auto* cbs = static_cast<XmFileSelectionBoxCallbackStruct*>(call.Get());
  cbs->dir = XmStringCreateLocalized(const_cast<char*>((dir.Path() + "/").c_str()));
  dsmkit::Fire("xKestDoDsmLoadCB", nullptr, call.Get());
  XmStringFree(cbs->dir);
  EXPECT_EQ(dsmkit::Text(ui.dsmText), "model t;\n");
  EXPECT_EQ(theDsm.GetFileName().c_str(), dir.Path() + "/typed.dsm");
}

}  // namespace
