// Whole-file saving without a display: link chains, new-file permissions,
// targets that are no regular file, a write cut short by a file size
// limit in a child process, which must leave the old content, and names
// swapped under a save (by a hook at the worst moment, and by a racing
// thread), the copy an in-place save killed midway leaves and how it is
// found, and a full disk that leaves no room for a temporary file.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include <fcntl.h>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "common/TempDir.h"
#include "support/FileUtil.h"
#include "support/SafeSave.h"
#include "support/SaveCopy.h"

namespace {

using xk::test::Slurp;
using xk::test::TempDir;

int Save(const std::string& path, const std::string& text) {
  int status = 0;
  SafeWriteWholeFile(path.c_str(), text.data(), text.size(), status);
  return status;
}

TEST(SafeSave, FollowsLinkChainsAndRefusesLoops) {
  TempDir d("safesave");
  d.Write("real", "old");
  ASSERT_EQ(symlink("real", d.At("one").c_str()), 0);
  ASSERT_EQ(symlink(d.At("one").c_str(), d.At("two").c_str()), 0);
  ASSERT_EQ(symlink("missing", d.At("dangling").c_str()), 0);
  ASSERT_EQ(symlink("loopB", d.At("loopA").c_str()), 0);
  ASSERT_EQ(symlink("loopA", d.At("loopB").c_str()), 0);
  EXPECT_EQ(ResolveLinks(d.At("two")), d.At("real"));
  EXPECT_EQ(ResolveLinks(d.At("real")), d.At("real"));
  EXPECT_EQ(ResolveLinks(d.At("dangling")), d.At("missing"));
  EXPECT_EQ(ResolveLinks(d.At("loopA")), "");

  EXPECT_EQ(Save(d.At("two"), "new"), 1);
  EXPECT_EQ(Slurp(d.At("real")), "new");
  EXPECT_EQ(Save(d.At("dangling"), "made"), 1);
  EXPECT_EQ(Slurp(d.At("missing")), "made");
  EXPECT_EQ(Save(d.At("loopA"), "x"), 0);
  // A name at the system's length limit leaves no room for a longer
  // temporary name beside it.
  std::string longName(255, 'n');
  d.Write(longName, "old");
  EXPECT_EQ(Save(d.At(longName), "new"), 1);
  EXPECT_EQ(Slurp(d.At(longName)), "new");
}

// A link another user put in a shared folder must not steer the save
// into a file only the saver may write; a link of the saver's own still
// leads there.
TEST(SafeSave, AnotherUsersLinkIsNotFollowed) {
  if (geteuid() != 0) GTEST_SKIP() << "needs root to give a link away";
  TempDir d("safesave");
  d.Write("victim", "root's");
  ASSERT_EQ(symlink(d.At("victim").c_str(), d.At("planted").c_str()), 0);
  ASSERT_EQ(lchown(d.At("planted").c_str(), 12345, 12345), 0);
  ASSERT_EQ(symlink("planted", d.At("own").c_str()), 0);
  const std::string text = "model";
  SaveResult r = SafeSave(d.At("planted").c_str(), text.data(), text.size());
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(SaveFailureText(r), "it is a link that belongs to another user");
  // Reached through a link of one's own, the foreign one still stops it.
  EXPECT_EQ(Save(d.At("own"), text), 0);
  EXPECT_EQ(Slurp(d.At("victim")), "root's");
  ASSERT_EQ(lchown(d.At("planted").c_str(), 0, 0), 0);
  EXPECT_EQ(Save(d.At("own"), text), 1);
  EXPECT_EQ(Slurp(d.At("victim")), text);
}

TEST(SafeSave, NewFilesFollowTheUmaskAndOddTargetsFail) {
  TempDir d("safesave");
  mode_t old = umask(027);
  EXPECT_EQ(Save(d.At("fresh"), ""), 1);
  umask(old);
  struct stat st;
  ASSERT_EQ(stat(d.At("fresh").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);
  EXPECT_EQ(st.st_size, 0);
  ASSERT_EQ(mkdir(d.At("folder").c_str(), 0755), 0);
  EXPECT_EQ(Save(d.At("folder"), "x"), 0);
  EXPECT_EQ(Save(d.At("none/x"), "x"), 0);
  EXPECT_EQ(Save("", "x"), 0);
}

// The whole mode is kept, the set-group-ID and sticky bits too, whether
// the new copy is renamed over the file or the file is rewritten in place.
TEST(SafeSave, KeepsTheSpecialPermissionBits) {
  TempDir d("safesave");
  for (mode_t mode : {mode_t(02775), mode_t(01644), mode_t(04750)}) {
    for (bool linked : {false, true}) {
      SCOPED_TRACE(std::to_string(mode) + (linked ? " hard-linked" : ""));
      std::string path = d.Write("m.dsm", "old");
      if (linked) {
        ASSERT_EQ(link(path.c_str(), d.At("other").c_str()), 0);
      }
      ASSERT_EQ(chmod(path.c_str(), mode), 0);
      EXPECT_EQ(Save(path, "new"), 1);
      struct stat st;
      ASSERT_EQ(stat(path.c_str(), &st), 0);
      EXPECT_EQ(st.st_mode & 07777, mode);
      std::remove(d.At("other").c_str());
    }
  }
}

TEST(SafeSave, WriteCutShortInAChildKeepsTheOldContent) {
  TempDir d("safesave");
  std::string path = d.Write("m.dsm", std::string(5000, 'o'));
  pid_t pid = fork();
  ASSERT_GE(pid, 0);
  if (pid == 0) {
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit lim{4096, 4096};
    setrlimit(RLIMIT_FSIZE, &lim);
    _exit(Save(path, std::string(100000, 'n')) == 0 ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(waitpid(pid, &status, 0), pid);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0) << "the failure was reported";
  EXPECT_EQ(Slurp(path), std::string(5000, 'o'));
  EXPECT_EQ(std::system(("test $(ls -A " + d.At("") + " | wc -l) -eq 1").c_str()), 0) << "no leftovers";
}

// Another user in a child: a write-protected file in a folder anyone may
// write into is refused (a rename would have replaced it), and a writable
// one beside it is saved.
TEST(SafeSave, WriteProtectedFileIsNotReplaced) {
  TempDir d("safesave");
  ASSERT_EQ(chmod(d.At("").c_str(), 0777), 0);
  std::string locked = d.Write("locked.dsm", "keep\n");
  std::string open = d.Write("open.dsm", "old\n");
  chmod(locked.c_str(), 0444);
  chmod(open.c_str(), 0666);
  const uid_t nobody = 65534;
  if (getuid() != 0) {
    // Without root the test user itself stands in for the other user.
    EXPECT_EQ(Save(locked, "lost\n"), 0);
    EXPECT_EQ(Slurp(locked), "keep\n");
    return;
  }
  ASSERT_EQ(chown(locked.c_str(), nobody, nobody), 0);
  ASSERT_EQ(chown(open.c_str(), nobody, nobody), 0);
  pid_t pid = fork();
  ASSERT_GE(pid, 0);
  if (pid == 0) {
    if (setgid(nobody) != 0 || setuid(nobody) != 0) _exit(3);
    int code = (Save(locked, "lost\n") == 0 ? 0 : 1) | (Save(open, "new\n") == 1 ? 0 : 2);
    _exit(code);
  }
  int status = 0;
  ASSERT_EQ(waitpid(pid, &status, 0), pid);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_EQ(Slurp(locked), "keep\n");
  EXPECT_EQ(Slurp(open), "new\n");
  struct stat st;
  ASSERT_EQ(stat(locked.c_str(), &st), 0);
  EXPECT_EQ(st.st_uid, nobody);
}

// In a sticky folder (as /tmp) no one may rename over another user's file,
// so a writable file of another user is rewritten in place: saved, with
// its owner kept.
TEST(SafeSave, OtherUsersWritableFileInAStickyFolderIsSaved) {
  if (getuid() != 0) GTEST_SKIP() << "needs root to act as another user";
  TempDir d("safesave");
  ASSERT_EQ(chmod(d.At("").c_str(), 01777), 0);
  std::string shared = d.Write("shared.dsm", "old\n");
  ASSERT_EQ(chmod(shared.c_str(), 0666), 0);
  const uid_t nobody = 65534;
  pid_t pid = fork();
  ASSERT_GE(pid, 0);
  if (pid == 0) {
    if (setgid(nobody) != 0 || setuid(nobody) != 0) _exit(3);
    _exit(Save(shared, "new\n") == 1 ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(waitpid(pid, &status, 0), pid);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_EQ(Slurp(shared), "new\n");
  struct stat st;
  ASSERT_EQ(stat(shared.c_str(), &st), 0);
  EXPECT_EQ(st.st_uid, 0u);
  EXPECT_EQ(std::system(("test $(ls -A " + d.At("") + " | wc -l) -eq 1").c_str()), 0) << "no leftovers";
}

// The file a swap puts in the target's place: the victim's file, through a
// link (the attack) or itself (a rename over the name).
std::string g_swapFrom, g_swapTo;
int SwapName(SaveStep step, const char* target) {
  if (step == SaveStep::kBeforeInPlaceOpen && g_swapFrom == target) std::rename(g_swapTo.c_str(), target);
  return 0;
}

std::string ReadFd(int fd) {
  std::string out(4096, '\0');
  ssize_t n = pread(fd, out.data(), out.size(), 0);
  out.resize(n > 0 ? size_t(n) : 0);
  return out;
}

// A hard-linked file is rewritten in place; when its name is made to name
// another file after the checks, nothing is written anywhere and the save
// says why.
TEST(SafeSave, NameSwappedBeforeTheRewriteIsRefused) {
  TempDir d("safesave");
  std::string victim = d.Write("victim", "precious\n");
  std::string path = d.Write("m.dsm", "old\n");
  ASSERT_EQ(link(path.c_str(), d.At("m.link").c_str()), 0);
  for (const std::string& swapped : {std::string("link"), std::string("other")}) {
    SCOPED_TRACE(swapped);
    if (swapped == "link") ASSERT_EQ(symlink(victim.c_str(), d.At("evil").c_str()), 0);
    else d.Write("evil", "other\n");
    g_swapFrom = path;
    g_swapTo = d.At("evil");
    SetSaveHookForTests(SwapName);
    SaveResult r = SafeSave(path.c_str(), "new\n", 4);
    SetSaveHookForTests(nullptr);
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.replaced);
    EXPECT_EQ(SaveFailureText(r), "the file was replaced while it was being saved");
    EXPECT_EQ(Slurp(victim), "precious\n");
    EXPECT_EQ(Slurp(d.At("m.link")), "old\n");
    EXPECT_EQ(Slurp(path), swapped == "link" ? "precious\n" : "other\n");
    EXPECT_EQ(std::system(("test -z \"$(ls -A " + d.At("") + " | grep '^\\.')\"").c_str()), 0) << "no temporary left";
    // The original back in its place for the next round.
    ASSERT_EQ(std::remove(path.c_str()), 0);
    ASSERT_EQ(link(d.At("m.link").c_str(), path.c_str()), 0);
  }
  // Untouched, the same save succeeds and says which file it wrote.
  SaveResult r = SafeSave(path.c_str(), "new\n", 4);
  EXPECT_TRUE(r.ok);
  EXPECT_EQ(Slurp(d.At("m.link")), "new\n");
  struct stat st;
  ASSERT_EQ(stat(path.c_str(), &st), 0);
  EXPECT_TRUE(r.stamp.exists);
  EXPECT_EQ(r.stamp.ino, st.st_ino);
  EXPECT_EQ(r.stamp.size, 4);
}

// A racing thread swaps the hard-linked target with a link to the
// victim's file as fast as it can while saves run. A save may follow the
// link when it finds one (the victim's name then gets a new file, by a
// rename), but the victim's own file, held open here, must never be
// written. Bounded to about two seconds.
TEST(SafeSave, RacingSwapsNeverWriteThroughALink) {
  TempDir d("safesave");
  std::string victim = d.Write("victim", "precious\n");
  int held = open(victim.c_str(), O_RDONLY);
  ASSERT_GE(held, 0);
  std::string path = d.Write("m.dsm", "old\n");
  ASSERT_EQ(link(path.c_str(), d.At("m.link").c_str()), 0);
  ASSERT_EQ(symlink(victim.c_str(), d.At("evil").c_str()), 0);
  std::atomic<bool> stop{false};
  std::atomic<long> swaps{0};
  std::thread swapper([&] {
    while (!stop) {
      if (renameat2(AT_FDCWD, path.c_str(), AT_FDCWD, d.At("evil").c_str(), RENAME_EXCHANGE) == 0) ++swaps;
    }
  });
  long saves = 0, refused = 0;
  auto end = std::chrono::steady_clock::now() + std::chrono::seconds(2);
  while (std::chrono::steady_clock::now() < end) {
    SaveResult r = SafeSave(path.c_str(), "new\n", 4);
    ++saves;
    if (r.replaced) ++refused;
  }
  stop = true;
  swapper.join();
  std::printf("%ld saves, %ld swaps, %ld refused as replaced\n", saves, swaps.load(), refused);
  EXPECT_EQ(ReadFd(held), "precious\n");
  close(held);
  EXPECT_GT(swaps.load(), 0);
}

int g_signalFd = -1;
// Tells the parent that the rewrite is under way, then waits for its kill.
int HoldForKill(SaveStep step, const char*) {
  if (step != SaveStep::kInPlaceWrite) return 0;
  (void)!write(g_signalFd, "x", 1);
  for (;;) pause();
}

FileStamp StampNow(const std::string& path) { return StampOf(path.c_str()); }

// A child killed (SIGKILL) in the middle of rewriting a hard-linked file
// leaves it part new, part old; the complete copy beside it is found for
// that file and gives the whole new text. A copy is not offered when it
// equals the file, is cut short or altered, or was made for another file.
TEST(SafeSave, KillDuringInPlaceRewriteLeavesACompleteCopy) {
  TempDir d("safesave");
  const size_t size = 3u << 20;
  std::string path = d.Write("m.dsm", std::string(size, 'o'));
  ASSERT_EQ(link(path.c_str(), d.At("m.link").c_str()), 0);
  const std::string fresh = std::string(size - 1, 'n') + "\n";
  int pipeFds[2];
  ASSERT_EQ(pipe(pipeFds), 0);
  pid_t pid = fork();
  ASSERT_GE(pid, 0);
  if (pid == 0) {
    g_signalFd = pipeFds[1];
    SetSaveHookForTests(HoldForKill);
    SafeSave(path.c_str(), fresh.data(), fresh.size());
    _exit(1);
  }
  char c;
  ASSERT_EQ(read(pipeFds[0], &c, 1), 1);
  kill(pid, SIGKILL);
  int status = 0;
  ASSERT_EQ(waitpid(pid, &status, 0), pid);
  ASSERT_TRUE(WIFSIGNALED(status));
  close(pipeFds[0]);
  close(pipeFds[1]);
  const std::string torn = Slurp(d.At("m.link"));
  ASSERT_EQ(torn.size(), size);
  EXPECT_EQ(torn.substr(0, 1u << 20), fresh.substr(0, 1u << 20));
  EXPECT_EQ(torn.substr(1u << 20), std::string(size - (1u << 20), 'o'));

  SaveCopy copy = FindSaveCopy(path.c_str(), StampNow(path), torn, size);
  ASSERT_TRUE(copy.found);
  EXPECT_EQ(copy.path.substr(0, d.At(".m.dsm.").size()), d.At(".m.dsm."));
  std::string text;
  ASSERT_TRUE(ReadSaveCopy(copy, text));
  EXPECT_TRUE(text == fresh);
  struct stat st;
  ASSERT_EQ(stat(copy.path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);
  // Limits: the text must fit; one byte less of room refuses it.
  EXPECT_FALSE(FindSaveCopy(path.c_str(), StampNow(path), torn, size - 1).found);
  // Equal to the file: a save that finished and was killed before it
  // removed its copy.
  EXPECT_FALSE(FindSaveCopy(path.c_str(), StampNow(path), fresh, size).found);
  // Made for another file (a file renamed into the name since).
  d.Write("other.dsm", torn);
  EXPECT_FALSE(FindSaveCopy(path.c_str(), StampNow(d.At("other.dsm")), torn, size).found);
  const std::string whole = Slurp(copy.path);
  for (const std::string& broken : {whole.substr(0, whole.size() - 1), whole.substr(1),
                                    std::string(whole).replace(10, 1, "x")}) {
    ASSERT_EQ(std::system(("chmod u+w " + copy.path).c_str()), 0);
    d.Write(LeafOf(copy.path), broken);
    EXPECT_FALSE(FindSaveCopy(path.c_str(), StampNow(path), torn, size).found) << broken.size();
  }
  d.Write(LeafOf(copy.path), whole);
  copy = FindSaveCopy(path.c_str(), StampNow(path), torn, size);
  ASSERT_TRUE(copy.found);
  if (getuid() == 0) {
    // Another user's file of that name may hold any text.
    ASSERT_EQ(chown(copy.path.c_str(), 65534, 65534), 0);
    EXPECT_FALSE(FindSaveCopy(path.c_str(), StampNow(path), torn, size).found);
    ASSERT_EQ(chown(copy.path.c_str(), 0, 0), 0);
  }
  EXPECT_TRUE(RemoveSaveCopy(copy));
  EXPECT_FALSE(FindSaveCopy(path.c_str(), StampNow(path), torn, size).found);
  EXPECT_FALSE(RemoveSaveCopy(copy));
}

int g_failStep = 0;
int FailTemporary(SaveStep step, const char*) { return step == SaveStep::kTemporaryWrite ? g_failStep : 0; }
int FailTemporaryAndRewrite(SaveStep step, const char* target) {
  return step == SaveStep::kInPlaceWrite ? EIO : FailTemporary(step, target);
}

// No room for the temporary copy: a hard-linked file is rewritten in place
// all the same (only the growth needs room), and a write failing midway
// puts the old bytes back. A file with one link is not rewritten without a
// copy: the failure is reported and the file kept.
TEST(SafeSave, FullDiskRewritesAHardLinkedFileInPlace) {
  TempDir d("safesave");
  std::string path = d.Write("m.dsm", "old\n");
  ASSERT_EQ(link(path.c_str(), d.At("m.link").c_str()), 0);
  std::string single = d.Write("single.dsm", "one\n");
  const std::string big = std::string((1u << 20) + 5, 'b');
  for (int error : {ENOSPC, EDQUOT}) {
    SCOPED_TRACE(error);
    g_failStep = error;
    SetSaveHookForTests(FailTemporary);
    SaveResult r = SafeSave(path.c_str(), "grown text\n", 11);
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(Slurp(d.At("m.link")), "grown text\n");
    r = SafeSave(single.c_str(), "two\n", 4);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.error, error);
    EXPECT_EQ(Slurp(single), "one\n");
    SetSaveHookForTests(FailTemporaryAndRewrite);
    r = SafeSave(path.c_str(), big.data(), big.size());
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.error, EIO);
    EXPECT_TRUE(r.keptCopy.empty());
    EXPECT_EQ(Slurp(d.At("m.link")), "grown text\n");
    SetSaveHookForTests(nullptr);
    EXPECT_EQ(std::system(("test -z \"$(ls -A " + d.At("") + " | grep '^\\.')\"").c_str()), 0) << "no temporary left";
    ASSERT_TRUE(SafeSave(path.c_str(), "old\n", 4).ok);
  }
  // Any other failure of the temporary stops the save.
  g_failStep = EIO;
  SetSaveHookForTests(FailTemporary);
  SaveResult r = SafeSave(path.c_str(), "new\n", 4);
  SetSaveHookForTests(nullptr);
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(Slurp(path), "old\n");
}

}  // namespace
