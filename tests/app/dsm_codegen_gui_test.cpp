// Generator and printer runs on real widgets with stand-in kestb and lpr
// programs on PATH: the exact command line and its trace, saving first,
// the report read back unbroken, quoting that keeps odd names one word and
// names starting with '-' names, a report that says when kestb could not
// run, and a report file that is never used through a link or when
// another user owns it.
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>
#include <thread>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include "app/OptsCl.h"
#include "common/ScopedEnv.h"
#include "common/Wait.h"
#include "dsm_kit.h"
#include "kestb/Options.h"

namespace {

using dsmkit::Fire;
using dsmkit::Load;
using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStdout;
using xk::test::ScopedEnv;
using xk::test::Slurp;
using xk::test::TempDir;
using xk::test::WaitUntil;

// A folder of stand-in tools put first on PATH, and the working directory
// moved into it, for one test.
class Tools {
 public:
  Tools() {
    char cwd[4096];
    oldCwd_ = getcwd(cwd, sizeof cwd) ? cwd : "/";
    dir_.Write("kestb",
               "#!/bin/sh\n"
               "printf '%s\\n' \"$@\" > \"$DSMTEST_OUT/kestb.args\"\n"
               "cat \"$1\"\n",
               true);
    dir_.Write("lpr", "#!/bin/sh\nprintf '%s\\n' \"$@\" > \"$DSMTEST_OUT/lpr.tmp\"\n"
                      "mv \"$DSMTEST_OUT/lpr.tmp\" \"$DSMTEST_OUT/lpr.args\"\n", true);
    if (chdir(dir_.Path().c_str()) != 0) ADD_FAILURE() << "chdir";
  }
  ~Tools() {
    if (chdir(oldCwd_.c_str()) != 0) ADD_FAILURE() << "chdir back";
  }
  const TempDir& Dir() const { return dir_; }
  void RemoveKestb() { unlink(dir_.At("kestb").c_str()); }
  void OnlyThisOnPath() { setenv("PATH", dir_.Path().c_str(), 1); }

 private:
  TempDir dir_;
  ScopedEnv out_{"DSMTEST_OUT", dir_.Path()};
  ScopedEnv path_{"PATH", xk::test::PathFirst(dir_.Path())};
  ScopedEnv trace_{"KESTBTRACE", std::nullopt};
  std::string oldCwd_;
};

void SetExampleOptions() {
  theOpts.SetTemplatePath("t.tem");
  theOpts.SetOutputDir("out");
  theOpts.SetHomeDir("/k");
  theOpts.SetShowFiles(1);
  theOpts.SetShowSummary(1);
  theOpts.SetNoAdaKeywords(0);
  theOpts.SetNoCxxKeywords(1);
  theOpts.SetTemTrace(0);
  theOpts.SetMakeBackups(1);
  theOpts.SetBackupExts(".bak");
}

bool WaitForFile(const std::string& path) {
  return WaitUntil([&] { return access(path.c_str(), F_OK) == 0; }, 5);
}

// Options as kestb reads them from the command line, after /bin/sh has
// made its words (the redirection of the report left off).
std::optional<kestb::Options> AsKestbReadsIt(const Str& cmd) {
  std::string line = cmd.c_str();
  const std::string head = "kestb ", tail = " > /tmp/kestout.txt";
  EXPECT_EQ(line.rfind(head, 0), 0u) << line;
  EXPECT_TRUE(line.size() > tail.size() && line.ends_with(tail)) << line;
  line = line.substr(head.size(), line.size() - head.size() - tail.size());
  std::string words = xk::test::Shell("w() { for a; do printf '%s\\n' \"$a\"; done; }; w " + line);
  std::vector<std::string> args;
  for (size_t at = 0, nl; (nl = words.find('\n', at)) != std::string::npos; at = nl + 1)
    args.push_back(words.substr(at, nl - at));
  std::string err;
  std::optional<kestb::Options> o = kestb::ParseCommandLine(args, err);
  EXPECT_TRUE(o) << err << "\n" << line;
  return o;
}

TEST(DsmCodegen, EveryOptionReachesKestbInItsOwnField) {
  // Round r sets flag r alone, and gives each text field a value of its own.
  for (int r = 0; r < 7; ++r) {
    SCOPED_TRACE(r);
    std::string n = std::to_string(r);
    OptsCl opts;
    opts.SetTemplatePath(("t" + n + ".tem").c_str());
    opts.SetOutputDir(("out" + n).c_str());
    opts.SetHomeDir(("/home" + n).c_str());
    opts.SetBackupExts(("C bk" + n).c_str());
    opts.SetShowFiles(r == 0);
    opts.SetShowSummary(r == 1);
    opts.SetNoAdaKeywords(r == 2);
    opts.SetNoCxxKeywords(r == 3);
    opts.SetTemTrace(r == 4);
    opts.SetMakeBackups(r == 5);
    std::optional<kestb::Options> o = AsKestbReadsIt(KestbCommandLine(("m" + n + ".dsm").c_str(), opts));
    ASSERT_TRUE(o);
    EXPECT_EQ(o->dsm, "m" + n + ".dsm");
    EXPECT_EQ(o->tem, "t" + n + ".tem");
    EXPECT_EQ(o->outDir, "out" + n);
    EXPECT_EQ(o->homeDir, "/home" + n);
    EXPECT_EQ(o->backupExts, "C bk" + n);
    EXPECT_FALSE(o->banner);
    EXPECT_TRUE(o->noIni);
    EXPECT_EQ(o->showFiles, r == 0);
    EXPECT_EQ(o->showSummary, r == 1);
    EXPECT_EQ(o->noAdaKeywords, r == 2);
    EXPECT_EQ(o->noCxxKeywords, r == 3);
    EXPECT_EQ(o->temTrace, r == 4);
    EXPECT_EQ(o->makeBackups, r == 5);
  }
}

TEST(DsmCodegen, BackupExtensionsReachKestbAsTyped) {
  // One character the shell still reads inside double quotes per value.
  for (const char* exts : {"C bk$(echo x)C", "C bk`echo x`C", "C bk\"C", "C bk\\\\C", "C bkC h bkh"}) {
    SCOPED_TRACE(exts);
    OptsCl opts;
    opts.SetBackupExts(exts);
    std::optional<kestb::Options> o = AsKestbReadsIt(KestbCommandLine("a.dsm", opts));
    ASSERT_TRUE(o);
    EXPECT_EQ(o->backupExts, exts);
  }
}

TEST(DsmCodegen, TheShellsStatusesAreReportedAndKestbsOwnAreNot) {
  const std::pair<int, const char*> cases[] = {
      {2 << 8, ""},
      {125 << 8, ""},
      {126 << 8, "xkest: kestb could not be run (status 126)"},
      {127 << 8, "xkest: kestb could not be run (status 127)"},
      {128 << 8, ""},
      {129 << 8, "xkest: kestb was ended by signal 1"},
      {SIGKILL, "xkest: kestb was ended by signal 9"},
      {-1, "xkest: kestb could not be run (status -1)"},
  };
  for (const auto& [status, line] : cases) EXPECT_EQ(RunFailureLine(status), line) << status;
}

TEST(DsmCodegen, WithoutAFileNameNothingRuns) {
  Tools tools;
  dsmkit::Ui ui = dsmkit::Build();
  XmTextSetString(ui.msgText, const_cast<char*>("previous report"));
  dsmkit::Type(ui.dsmText, "model m;", 0);
  Fire("xKestDoDsmRunCodegenCB");
  EXPECT_EQ(dsmkit::Message(ui), "Please save the DSM file before generating code");
  EXPECT_NE(access(tools.Dir().At("kestb.args").c_str(), F_OK), 0);
  EXPECT_EQ(dsmkit::Text(ui.msgText), "previous report");
  EXPECT_FALSE(XtIsManaged(ui.saveAsDlg));
}

TEST(DsmCodegen, ExactCommandLineTracedOnlyWithKestbTrace) {
  Tools tools;
  tools.Dir().Write("a.dsm", "model a;\n");
  dsmkit::Ui ui = dsmkit::Build();
  SetExampleOptions();
  Load("a.dsm");
  const std::string line =
      "kestb a.dsm t.tem out -nb -noini -homedir /k -showfiles true -showsummary true "
      "-nokwada false -nokwcxx true -ttrace false -makebak true -backext \".bak\" > /tmp/kestout.txt";
  EXPECT_EQ(std::string(KestbCommandLine(theDsm.GetFileName(), theOpts).c_str()), line);

  setenv("KESTBTRACE", "", 1);
  CaptureStdout();
  Fire("xKestDoDsmRunCodegenCB");
  EXPECT_EQ(GetCapturedStdout(), "\n" + line + "\n");
  EXPECT_EQ(Slurp(tools.Dir().At("kestb.args")),
            "a.dsm\nt.tem\nout\n-nb\n-noini\n-homedir\n/k\n-showfiles\ntrue\n-showsummary\ntrue\n"
            "-nokwada\nfalse\n-nokwcxx\ntrue\n-ttrace\nfalse\n-makebak\ntrue\n-backext\n.bak\n");
  EXPECT_EQ(dsmkit::Text(ui.msgText), "model a;\n");

  unsetenv("KESTBTRACE");
  CaptureStdout();
  Fire("xKestDoDsmRunCodegenCB");
  EXPECT_EQ(GetCapturedStdout(), "");
}

TEST(DsmCodegen, ModifiedTextIsSavedBeforeTheRun) {
  Tools tools;
  std::string path = tools.Dir().Write("m.dsm", "old\n");
  dsmkit::Ui ui = dsmkit::Build();
  SetExampleOptions();
  Load(path);
  dsmkit::Type(ui.dsmText, "new ", 0);
  Fire("xKestDoDsmRunCodegenCB");
  EXPECT_EQ(theDsm.GetModified(), 0);
  EXPECT_EQ(dsmkit::Text(ui.msgText), "new old\n") << "the generator read the saved text";
}

TEST(DsmCodegen, FailedSaveIsReportedAndTheRunUsesTheFileOnDisk) {
  Tools tools;
  std::string path = tools.Dir().Write("m.dsm", "on disk\n");
  dsmkit::Ui ui = dsmkit::Build();
  SetExampleOptions();
  Load(path);
  dsmkit::Type(ui.dsmText, std::string(20000, 'n'), 0);
  // A file size limit stands in for a full disk; the stand-in generator
  // writes far less than the limit.
  rlimit old{};
  getrlimit(RLIMIT_FSIZE, &old);
  auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit lim = old;
  lim.rlim_cur = 8192;
  setrlimit(RLIMIT_FSIZE, &lim);
  Fire("xKestDoDsmRunCodegenCB");
  setrlimit(RLIMIT_FSIZE, &old);
  std::signal(SIGXFSZ, oldHandler);
  EXPECT_EQ(dsmkit::Message(ui), "Cannot save to filepath " + path + ": File too large");
  EXPECT_EQ(theDsm.GetModified(), 1);
  EXPECT_EQ(dsmkit::Text(ui.msgText), "on disk\n");
}

TEST(DsmCodegen, OddNamesStayOneWordAndRunNothing) {
  Tools tools;
  std::string path = tools.Dir().Write("my model.dsm", "m\n");
  dsmkit::Build();
  SetExampleOptions();
  theOpts.SetOutputDir("out dir;touch pwned1");
  theOpts.SetBackupExts("C bkC \"$(touch pwned2)`touch pwned3`");
  Load(path);
  Fire("xKestDoDsmRunCodegenCB");
  std::string args = Slurp(tools.Dir().At("kestb.args"));
  EXPECT_EQ(args.substr(0, path.size() + 1), path + "\n");
  EXPECT_NE(args.find("\nout dir;touch pwned1\n"), std::string::npos) << args;
  EXPECT_NE(args.find("\n-backext\nC bkC \"$(touch pwned2)`touch pwned3`\n"), std::string::npos) << args;
  for (const char* f : {"pwned1", "pwned2", "pwned3"}) EXPECT_NE(access(f, F_OK), 0) << f;
  // Plain extension lists keep their double quotes.
  theOpts.SetBackupExts("C bkC h bkh");
  EXPECT_NE(std::string(KestbCommandLine("a.dsm", theOpts).c_str()).find("-backext \"C bkC h bkh\" >"),
            std::string::npos);
  // An empty value stays a word: left out, it shifted the later arguments.
  theOpts.SetOutputDir("");
  theOpts.SetHomeDir("");
  EXPECT_NE(std::string(KestbCommandLine("a.dsm", theOpts).c_str()).find(" '' -nb -noini -homedir '' -showfiles"),
            std::string::npos);
}

TEST(DsmCodegen, EmptyValuesKeepTheirPlaceOnTheCommandLine) {
  Tools tools;
  std::string path = tools.Dir().Write("a.dsm", "m\n");
  dsmkit::Build();
  SetExampleOptions();
  theOpts.SetTemplatePath("");
  theOpts.SetOutputDir("");
  theOpts.SetHomeDir("");
  Load(path);
  Fire("xKestDoDsmRunCodegenCB");
  std::string args = Slurp(tools.Dir().At("kestb.args"));
  EXPECT_EQ(args.find(path + "\n\n\n-nb\n-noini\n-homedir\n\n-showfiles\n"), 0u) << args;
}

TEST(DsmCodegen, ReportLinesLongerThanAReadBufferArriveUnbroken) {
  Tools tools;
  std::string longLine(3000, 'L');
  longLine[1023] = 'X';
  std::string report = "short\n" + longLine + "\nlast line without newline";
  std::string path = tools.Dir().Write("r.dsm", report);
  dsmkit::Ui ui = dsmkit::Build();
  Load(path);
  Fire("xKestDoDsmRunCodegenCB");
  EXPECT_EQ(dsmkit::Text(ui.msgText), report);
}

// Names that start with '-' reach kestb, lpr and the editor as names.
TEST(DsmCodegen, DashNamesAreNeverOptions) {
  Tools tools;
  tools.Dir().Write("-m.dsm", "model m;\n");
  std::string editor = tools.Dir().Write(
      "ed", "#!/bin/sh\nprintf '%s\\n' \"$@\" >> \"$DSMTEST_OUT/ed.args\"\n", true);
  dsmkit::Ui ui = dsmkit::Build();
  SetExampleOptions();
  theOpts.SetTemplatePath("-t.tem");
  theOpts.SetOutputDir("-out");
  theOpts.SetToolFileEditor(editor.c_str());
  Load("-m.dsm");
  Fire("xKestDoDsmRunCodegenCB");
  EXPECT_EQ(Slurp(tools.Dir().At("kestb.args")).substr(0, 25), "./-m.dsm\n./-t.tem\n./-out\n");
  Fire("xKestDoDsmPrintCB");
  ASSERT_TRUE(WaitForFile(tools.Dir().At("lpr.args")));
  EXPECT_EQ(Slurp(tools.Dir().At("lpr.args")), "./-m.dsm\n");
  XmTextSetString(ui.msgText, const_cast<char*>("-f.h"));
  XmTextSetSelection(ui.msgText, 0, 4, 0);
  Fire("xKestDoMsgOpenSelectedFileCB");
  Fire("xKestDoSysftnsEditTemplateCB");
  std::string edited = tools.Dir().At("ed.args");
  WaitUntil([&] { return Slurp(edited).size() >= 16; }, 5);
  std::string args = Slurp(edited);
  EXPECT_TRUE(args == "./-f.h\n./-t.tem\n" || args == "./-t.tem\n./-f.h\n") << args;
}

// A desktop user reads no terminal: a generator that could not start, or
// that was killed, says so at the end of the report.
TEST(DsmCodegen, GeneratorThatCouldNotRunOrWasKilledIsNamedInTheReport) {
  Tools tools;
  std::string path = tools.Dir().Write("a.dsm", "x\n");
  tools.OnlyThisOnPath();
  dsmkit::Ui ui = dsmkit::Build();
  Load(path);
  std::string kestb = tools.Dir().Write("kestb", "#!/bin/sh\nprintf partial\nkill -SEGV $$\n", true);
  Fire("xKestDoDsmRunCodegenCB");
  EXPECT_EQ(dsmkit::Text(ui.msgText), "partial\nxkest: kestb was ended by signal 11\n");
  // Not executable: 126 from bash, 127 from dash, which reports it as not found.
  chmod(kestb.c_str(), 0644);
  Fire("xKestDoDsmRunCodegenCB");
  EXPECT_EQ(dsmkit::Text(ui.msgText).substr(0, 40), "xkest: kestb could not be run (status 12");
  tools.RemoveKestb();
  Fire("xKestDoDsmRunCodegenCB");
  EXPECT_EQ(dsmkit::Text(ui.msgText), "xkest: kestb could not be run (status 127)\n");
}

// Another run holds the report file: this one waits with the window
// served, says so after a moment with Cancel as the only button, and runs
// once the lock comes (Cancel: tests/gui/edit_loop_e2e_test.cpp).
TEST(DsmCodegen, RunWaitsForTheReportLockWithoutBlocking) {
  Tools tools;
  std::string runs = tools.Dir().At("runs");
  tools.Dir().Write("kestb", "#!/bin/sh\necho run >> \"$DSMTEST_OUT/runs\"\ncat \"$1\"\n", true);
  std::string path = tools.Dir().Write("a.dsm", "model a;\n");
  dsmkit::Ui ui = dsmkit::Build();
  Load(path);
  ASSERT_TRUE(PrepareReportFile(kReportFile));
  int holder = open(kReportFile, O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
  ASSERT_GE(holder, 0);
  ASSERT_EQ(flock(holder, LOCK_EX), 0);
  const std::string waiting = "Another run is writing /tmp/kestout.txt; waiting...";
  Widget ok = XmMessageBoxGetChild(ui.msgDlg, XmDIALOG_OK_BUTTON);
  Widget cancel = XmMessageBoxGetChild(ui.msgDlg, XmDIALOG_CANCEL_BUTTON);
  XtUnmanageChild(cancel);  // as the resource description has it
  auto saysWaiting = [&] {
    xk::test::Drain();
    return dsmkit::Message(ui) == waiting;
  };

  Fire("xKestDoDsmRunCodegenCB");
  EXPECT_EQ(dsmkit::Message(ui), "") << "not said at once";
  ASSERT_TRUE(WaitUntil(saysWaiting, 20)) << dsmkit::Message(ui);
  EXPECT_TRUE(XtIsManaged(cancel));
  EXPECT_FALSE(XtIsManaged(ok));
  // A message meanwhile goes below; the lock comes: the run goes on, one
  // for both requests, and only the waiting line leaves the dialog.
  Fire("xKestDoDsmRunCodegenCB");
  theMsg.ShowMessage("meanwhile");
  EXPECT_EQ(dsmkit::Message(ui), waiting + "\nmeanwhile");
  ASSERT_EQ(flock(holder, LOCK_UN), 0);
  EXPECT_TRUE(WaitUntil([&] {
    xk::test::Drain();
    return dsmkit::Message(ui) == "meanwhile";
  }, 20)) << dsmkit::Message(ui);
  EXPECT_EQ(Slurp(runs), "run\n");
  EXPECT_EQ(dsmkit::Text(ui.msgText), "model a;\n");
  EXPECT_TRUE(XtIsManaged(ok));
  EXPECT_FALSE(XtIsManaged(cancel));
  close(holder);
}

// Reports are for their owner alone: the file is created 0600, and a file
// of the user's own with any wider bits is narrowed.
TEST(DsmReportFile, OwnerOnly) {
  TempDir dir;
  mode_t oldMask = umask(0);
  std::string report = dir.At("kestout.txt");
  struct stat st;
  ASSERT_TRUE(PrepareReportFile(report.c_str()));
  ASSERT_EQ(stat(report.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0600u);
  for (mode_t wide : {0644, 0640, 0604, 0700}) {
    SCOPED_TRACE(wide);
    ASSERT_EQ(chmod(report.c_str(), wide), 0);
    ASSERT_TRUE(PrepareReportFile(report.c_str()));
    ASSERT_EQ(stat(report.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0600u);
  }
  umask(oldMask);
}

TEST(DsmReportFile, NeverThroughALinkNorAnotherUsersFile) {
  TempDir dir;
  std::string report = dir.At("kestout.txt");
  std::string out;
  ASSERT_TRUE(PrepareReportFile(report.c_str())) << "created when missing";
  struct stat st;
  ASSERT_EQ(lstat(report.c_str(), &st), 0);
  EXPECT_TRUE(S_ISREG(st.st_mode));
  dir.Write("kestout.txt", std::string("a\0b\nc", 5));
  ASSERT_TRUE(ReadReportFile(report.c_str(), out));
  EXPECT_EQ(out, "ab\nc") << "NUL bytes are left out, nothing else";

  std::string victim = dir.Write("victim", "keep");
  std::string link = dir.At("link.txt");
  ASSERT_EQ(symlink(victim.c_str(), link.c_str()), 0);
  EXPECT_FALSE(PrepareReportFile(link.c_str()));
  EXPECT_FALSE(ReadReportFile(link.c_str(), out));
  EXPECT_EQ(Slurp(victim), "keep");

  // A second name for a file of this user is refused as a link is: it
  // may have been made by someone else to a file the user keeps.
  std::string hard = dir.At("hard.txt");
  ASSERT_EQ(::link(victim.c_str(), hard.c_str()), 0);
  EXPECT_FALSE(PrepareReportFile(hard.c_str()));
  EXPECT_FALSE(ReadReportFile(hard.c_str(), out));
  EXPECT_EQ(Slurp(victim), "keep");

  std::string fifo = dir.At("fifo");
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  EXPECT_FALSE(PrepareReportFile(fifo.c_str()));

  std::string foreign = dir.Write("foreign.txt", "theirs");
  if (geteuid() == 0 && chown(foreign.c_str(), 65534, 65534) == 0) {
    EXPECT_FALSE(PrepareReportFile(foreign.c_str()));
    EXPECT_FALSE(ReadReportFile(foreign.c_str(), out));
  }
}

TEST(DsmPrint, NothingWithoutANameThenLprInTheBackground) {
  Tools tools;
  dsmkit::Build();
  Fire("xKestDoDsmPrintCB");
  std::string args = tools.Dir().At("lpr.args");
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  EXPECT_NE(access(args.c_str(), F_OK), 0) << "no file name: nothing printed";
  std::string path = tools.Dir().Write("my model.dsm", "m\n");
  Load(path);
  Fire("xKestDoDsmPrintCB");
  ASSERT_TRUE(WaitForFile(args));
  EXPECT_EQ(Slurp(args), path + "\n");
}

}  // namespace
