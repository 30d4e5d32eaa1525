// The standard operations that reach outside the widget tree: exit status,
// spawned programs (never waited for, never left as zombies), shell
// commands, resource files loaded once, and resource dumps.
#include "tests/wcl/StdTestSupport.h"

#include <Xm/BulletinB.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <string>

#include "tests/common/TempDir.h"
#include "tests/common/Wait.h"

namespace {

using namespace xk::test;

// Waits, boundedly, until path holds a text ending in a newline (or, with
// wholeLine false, any text at all).
std::string WaitForFile(const std::string& path, bool wholeLine = true) {
  std::string text;
  bool done = WaitUntil(
      [&] {
        text = Slurp(path);
        return !text.empty() && (!wholeLine || text.back() == '\n');
      },
      10);
  return done ? text : std::string();
}

class StandardProcess : public ::testing::Test {
 protected:
  void SetUp() override {
    WcInitialize(xk::test::TopLevel());
    box_ =
        XtCreateManagedWidget("box", xmBulletinBoardWidgetClass, xk::test::TopLevel(), nullptr, 0);
  }
  void TearDown() override { XtDestroyWidget(box_); }
  Widget box_ = nullptr;
};

using StandardProcessDeathTest = StandardProcess;

TEST_F(StandardProcessDeathTest, ExitEndsTheProcessWithItsStatus) {
  EXPECT_EXIT(Act(box_, "WcExitACT", "3"), ::testing::ExitedWithCode(3), "");
  EXPECT_EXIT(Fire(box_, "WcExitCB"), ::testing::ExitedWithCode(0), "");
  EXPECT_EXIT(Fire(box_, "WcExit(7)"), ::testing::ExitedWithCode(7), "");
}

TEST_F(StandardProcess, SpawnDoesNotWaitAndLeavesNoZombie) {
  TempDir dir("xkstd");
  const std::string go = dir / "go", done = dir / "done";
  // The program waits for a file that is only made after WcSpawn returned,
  // so a WcSpawn that waited would never return.
  const std::string script = "while [ ! -e " + go + " ]; do sleep 0.01; done; echo $PPID > " + done;
  Act(box_, "WcSpawnACT", "sh", "-c", script.c_str());
  std::ofstream(go) << "go\n";
  const std::string parent = WaitForFile(done);
  ASSERT_FALSE(parent.empty()) << "the program did not run";
  EXPECT_NE(std::atoi(parent.c_str()), getpid()) << "the program is not our child";

  // Nothing of ours is left to reap: no zombie now or later.
  errno = 0;
  EXPECT_EQ(waitpid(-1, nullptr, WNOHANG), -1);
  EXPECT_EQ(errno, ECHILD);
}

TEST_F(StandardProcess, SpawnOfAMissingProgramReportsFromTheChild) {
  TempDir dir("xkstd");
  const std::string err = dir / "err";
  // The child inherits standard error; point it at a file for the check.
  const int saved = dup(STDERR_FILENO);
  const int fd = open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  ASSERT_GE(fd, 0);
  dup2(fd, STDERR_FILENO);
  close(fd);
  CaptureWarnings warnings;
  Fire(box_, "WcSpawnCB(/nonexistent/program arg)");
  dup2(saved, STDERR_FILENO);
  close(saved);
  EXPECT_EQ(WaitForFile(err, false),
            "Wcl Error in Subprocess: WcSpawn(/nonexistent/program ...) - Could not execvp.");
  EXPECT_EQ(warnings.Text(), "") << "the fork itself succeeded";

  Fire(box_, "WcSpawnCB()");  // nothing to start
  errno = 0;
  EXPECT_EQ(waitpid(-1, nullptr, WNOHANG), -1);
}

TEST_F(StandardProcess, SystemRunsTheTextThroughTheShell) {
  TempDir dir("xkstd");
  const std::string out = dir / "system";
  const std::string text = "WcSystem(echo one two > " + out + ")";
  Fire(box_, text.c_str());
  EXPECT_EQ(Slurp(out), "one two\n") << "system waits for the shell";
}

TEST_F(StandardProcess, LoadResourceFileLoadsEachFileOnce) {
  TempDir dir("xkstd");
  const std::string file = dir / "res.ad";
  std::ofstream(file) << "*loadedOnce.value: first\n";
  Act(box_, "WcLoadResourceFileACT", file.c_str());
  std::ofstream(file) << "*loadedOnce.value: second\n";
  Fire(box_, ("WcLoadResourceFile(" + file + ")").c_str());

  XrmDatabase db = XtScreenDatabase(XtScreen(box_));
  char* type = nullptr;
  XrmValue value{};
  ASSERT_TRUE(XrmGetResource(db, "loadedOnce.value", "LoadedOnce.Value", &type, &value));
  EXPECT_STREQ(value.addr, "first");
}

TEST_F(StandardProcess, DumpResourcesOfNamedOrInvokingWidget) {
  CaptureWarnings warnings;
  Fire(box_, "WcDumpResources");
  Act(box_, "WcDumpResourcesACT", "this.nothing");
  const std::string& text = warnings.Text();
  EXPECT_EQ(
      text.rfind("==== Wcl PostCreate Resources: Widget xktest.box of class XmBulletinBoard\n", 0),
      0u)
      << text;
  EXPECT_NE(text.find("Wcl Warning: WcDumpResources(this.nothing) - Widget not found\n"),
            std::string::npos);
}

}  // namespace
