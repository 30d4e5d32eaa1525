// The test X server is reachable and a realized shell maps a window; the
// script that gives a command a private server takes server and command
// down with it when it is stopped.
#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <fstream>
#include <string>
#include <thread>

#include <dirent.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include "common/XFixture.h"

extern char** environ;

TEST(XServer, RealizedShellHasWindow) {
  Widget top = xk::test::TopLevel();
  XtRealizeWidget(top);
  xk::test::Drain();
  EXPECT_NE(XtWindow(top), 0u);
}

namespace {

bool Gone(pid_t pid) { return kill(pid, 0) == -1 && errno == ESRCH; }

// The Xvfb among pid's children, or 0.
pid_t XvfbChild(pid_t pid) {
  DIR* proc = opendir("/proc");
  pid_t found = 0;
  while (dirent* e = proc ? readdir(proc) : nullptr) {
    std::ifstream stat(std::string("/proc/") + e->d_name + "/stat");
    std::string self, name, state;
    pid_t parent = 0;
    if (stat >> self >> name >> state >> parent && parent == pid && name == "(Xvfb)") found = std::stoi(self);
  }
  if (proc) closedir(proc);
  return found;
}

}  // namespace

// A kill, or Ctrl-C at the terminal (SIGINT to the whole process group),
// once left the server and the command running.
TEST(XServer, PrivateServerScriptStopsServerAndCommandWhenStopped) {
  for (int sig : {SIGTERM, SIGINT}) {
    SCOPED_TRACE(sig == SIGTERM ? "kill" : "Ctrl-C");
    std::string pidFile = "/tmp/xk-with-xvfb-" + std::to_string(getpid());
    unlink(pidFile.c_str());
    std::string script = std::string(XK_SOURCE_DIR) + "/scripts/with-xvfb.sh";
    std::string command = "echo $$ >" + pidFile + ".new && mv " + pidFile + ".new " + pidFile + " && exec sleep 300";
    const char* argv[] = {script.c_str(), "sh", "-c", command.c_str(), nullptr};
    // As from a terminal: a process group of its own, Ctrl-C not ignored.
    posix_spawnattr_t attr;
    posix_spawnattr_init(&attr);
    sigset_t defaults;
    sigemptyset(&defaults);
    sigaddset(&defaults, SIGINT);
    posix_spawnattr_setsigdefault(&attr, &defaults);
    posix_spawnattr_setpgroup(&attr, 0);
    posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETPGROUP);
    pid_t run = 0;
    ASSERT_EQ(posix_spawn(&run, script.c_str(), nullptr, &attr, const_cast<char**>(argv), environ), 0);
    posix_spawnattr_destroy(&attr);

    pid_t commandPid = 0;
    for (int i = 0; i < 400 && !commandPid; ++i) {
      std::ifstream(pidFile) >> commandPid;
      if (!commandPid) std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    ASSERT_NE(commandPid, 0) << "the command did not start";
    unlink(pidFile.c_str());
    pid_t server = XvfbChild(run);
    ASSERT_NE(server, 0);

    if (sig == SIGINT) kill(-run, SIGINT); else kill(run, SIGTERM);
    int status = 0;
    ASSERT_EQ(waitpid(run, &status, 0), run);
    for (int i = 0; i < 100 && !(Gone(commandPid) && Gone(server)); ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    EXPECT_TRUE(Gone(server)) << "Xvfb " << server << " left running";
    EXPECT_TRUE(Gone(commandPid)) << "the command " << commandPid << " left running";
    if (!Gone(commandPid)) kill(commandPid, SIGKILL);
    if (!Gone(server)) kill(server, SIGKILL);
  }
}
