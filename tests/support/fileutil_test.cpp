// File utilities: whole-file reading and writing with their failure paths,
// file tests, and the file edits (append, prepend, copy, section replace).
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "common/TempDir.h"
#include "support/FileStamp.h"
#include "support/FileUtil.h"

namespace fs = std::filesystem;

namespace {

class FileUtil : public ::testing::Test {
 protected:
  std::string Path(const char* name) const { return tmp_.At(name); }
  void Put(const char* name, const std::string& text) const { tmp_.Write(name, text); }
  std::string Get(const char* name) const { return xk::test::Slurp(Path(name)); }
  std::string Read(const char* name) const {
    char* p = ReadWholeFile(Path(name).c_str());
    std::string r = p ? p : "<null>";
    std::free(p);
    return r;
  }

  xk::test::TempDir tmp_{"fileutil"};
  const std::string dir_ = tmp_.Path();
};

TEST_F(FileUtil, ReadWholeFile) {
  Put("empty", "");
  Put("text", "line 1\r\nline 2");
  Put("nul", std::string("ab\0cd", 5));
  EXPECT_EQ(Read("empty"), "");
  EXPECT_EQ(Read("text"), "line 1\r\nline 2");
  size_t length = 0;
  char* p = ReadWholeFile(Path("nul").c_str(), &length);
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(length, 5u);
  EXPECT_EQ(std::string(p, 6), std::string("ab\0cd\0", 6));
  std::free(p);
  EXPECT_EQ(Read("missing"), "<null>");
  EXPECT_EQ(ReadWholeFile(dir_.c_str()), nullptr);  // a directory
  EXPECT_EQ(ReadWholeFile("/proc/self/fd/0/x"), nullptr);
  // A FIFO with no writer: refused at once instead of blocking in open().
  ASSERT_EQ(mkfifo(Path("fifo").c_str(), 0600), 0);
  EXPECT_EQ(ReadWholeFile(Path("fifo").c_str()), nullptr);
  EXPECT_EQ(ReadWholeFile(nullptr), nullptr);
}

// The stamp describes the file that was read, not what the name shows
// later: a file renamed over it afterwards compares as a change.
TEST_F(FileUtil, ReadWholeFileStampsTheFileItRead) {
  Put("m", "one");
  FileStamp stamp;
  size_t length = 0;
  char* p = ReadWholeFile(Path("m").c_str(), &length, &stamp);
  ASSERT_NE(p, nullptr);
  std::free(p);
  struct stat st;
  ASSERT_EQ(stat(Path("m").c_str(), &st), 0);
  EXPECT_TRUE(stamp.exists);
  EXPECT_EQ(stamp.ino, st.st_ino);
  EXPECT_EQ(stamp.size, 3);
  EXPECT_EQ(CompareWithDisk(stamp, Path("m").c_str()), DiskState::kSame);
  Put("n", "two");
  ASSERT_EQ(std::rename(Path("n").c_str(), Path("m").c_str()), 0);
  EXPECT_EQ(CompareWithDisk(stamp, Path("m").c_str()), DiskState::kChanged);
  EXPECT_EQ(ReadWholeFile(Path("gone").c_str(), &length, &stamp), nullptr);
  EXPECT_FALSE(stamp.exists);
}

// The limit is the smallest of the cap and each room, whichever it is.
TEST(LoadLimit, SmallestOfTheCapAndEachRoom) {
  constexpr uintmax_t kNone = UINTMAX_MAX;
  EXPECT_EQ(LoadLimit(100, kNone, kNone, kNone), 100u);
  EXPECT_EQ(LoadLimit(100, 41, 52, 63), 41u);
  EXPECT_EQ(LoadLimit(100, 72, 51, 63), 51u);
  EXPECT_EQ(LoadLimit(100, 72, 83, 61), 61u);
  EXPECT_EQ(LoadLimit(100, 0, kNone, kNone), 0u);
  EXPECT_LE(LoadLimit(), kLoadSizeCap);
}

// A file past the limit is refused before anything is allocated for it,
// with its size; sparse files cost no disk.
TEST_F(FileUtil, FileLargerThanTheLimitIsRefusedWithItsSize) {
  for (uintmax_t size : {uintmax_t(1) << 40, kLoadSizeCap + 1}) {
    SCOPED_TRACE(size);
    Put("sparse", "");
    std::string path = Path("sparse");
    ASSERT_EQ(truncate(path.c_str(), off_t(size)), 0);
    uintmax_t tooLarge = 7;
    size_t length = 9;
    EXPECT_EQ(ReadWholeFile(path.c_str(), &length, nullptr, &tooLarge), nullptr);
    EXPECT_EQ(tooLarge, size);
    EXPECT_EQ(length, 0u);
  }
  Put("small", "abc");
  uintmax_t tooLarge = 7;
  char* p = ReadWholeFile(Path("small").c_str(), nullptr, nullptr, &tooLarge);
  EXPECT_STREQ(p, "abc");
  EXPECT_EQ(tooLarge, 0u) << "cleared for a file that is read";
  std::free(p);
  EXPECT_EQ(ReadWholeFile(Path("missing").c_str(), nullptr, nullptr, &tooLarge), nullptr);
  EXPECT_EQ(tooLarge, 0u) << "a missing file is not a large one";
}

TEST_F(FileUtil, WriteWholeFile) {
  int status = 7;
  Put("old", "previous contents");
  WriteWholeFile(Path("old").c_str(), "", status);
  EXPECT_EQ(status, 1);
  EXPECT_EQ(Get("old"), "");
  WriteWholeFile(Path("new").c_str(), "abc\n", status);
  EXPECT_EQ(status, 1);
  EXPECT_EQ(Get("new"), "abc\n");
  WriteWholeFile(Path("nodir/x").c_str(), "abc", status);
  EXPECT_EQ(status, 0);
  WriteWholeFile(dir_.c_str(), "abc", status);
  EXPECT_EQ(status, 0);
}

TEST_F(FileUtil, WriteThatDoesNotReachTheDeviceFails) {
  if (access("/dev/full", W_OK) != 0) GTEST_SKIP() << "no /dev/full";
  int status = 1;
  WriteWholeFile("/dev/full", "data that cannot be stored", status);
  EXPECT_EQ(status, 0);
  AppendToFile("/dev/full", "more", status);
  EXPECT_EQ(status, 0);
}

TEST_F(FileUtil, FileAndNameTests) {
  Put("f", "x");
  struct Row { std::string path; int regular, directory; } rows[] = {
      {Path("f"), 1, 0},         {dir_, 0, 1},  {Path("missing"), 0, 0},
      {Path("missing/f"), 0, 0}, {"", 0, 0},    {"/dev/null", 0, 0},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.path);
    EXPECT_EQ(IsRegularFile(r.path.c_str()), r.regular);
    EXPECT_EQ(IsDirectory(r.path.c_str()), r.directory);
  }
  EXPECT_EQ(IsFileName("out-1_x.cpp"), 1);
  EXPECT_EQ(IsFileName("a/b"), 0);
  EXPECT_EQ(IsFileName(""), 0);
  EXPECT_EQ(IsPathName("~/src/out.cpp"), 1);
  EXPECT_EQ(IsPathName("a b"), 0);
  EXPECT_EQ(IsPathName(nullptr), 0);
}

TEST_F(FileUtil, CreateAppendPrependAndMakeDirectory) {
  int status = 0;
  CreateEmptyFile(Path("e").c_str(), status);
  EXPECT_EQ(status, 1);
  AppendToFile(Path("e").c_str(), "middle\n", status);
  AppendToFile(Path("e").c_str(), "end\n", status);
  PrependToFile(Path("e").c_str(), "start\n", status);
  EXPECT_EQ(status, 1);
  EXPECT_EQ(Get("e"), "start\nmiddle\nend\n");
  PrependToFile(Path("fresh").c_str(), "only\n", status);
  EXPECT_EQ(Get("fresh"), "only\n");
  CreateEmptyFile(Path("nodir/e").c_str(), status);
  EXPECT_EQ(status, 0);
  MakeDirectory(Path("sub").c_str(), status);
  EXPECT_EQ(status, 1);
  EXPECT_EQ(IsDirectory(Path("sub").c_str()), 1);
  MakeDirectory(Path("sub").c_str(), status);
  EXPECT_EQ(status, 0);
}

TEST_F(FileUtil, PrependLeavesWhatItCannotRead) {
  fs::create_directory(Path("d"));
  Put("d/inside", "kept");
  int status = 1;
  PrependToFile(Path("d").c_str(), "new ", status);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(Get("d/inside"), "kept");
  EXPECT_EQ(IsDirectory(Path("d").c_str()), 1);
}

TEST_F(FileUtil, CopyFile) {
  std::string big(20000, 'q');
  big += "end";
  Put("src", big);
  int status = 0;
  CopyFile(Path("dst").c_str(), Path("src").c_str(), status);
  EXPECT_EQ(status, 1);
  EXPECT_EQ(Get("dst"), big);
  struct Row { const char* name; std::string dest, src; } bad[] = {
      {"empty dest", "", Path("src")},
      {"empty source", Path("dst"), ""},
      {"missing source", Path("dst2"), Path("missing")},
      {"bad dest", Path("nodir/x"), Path("src")},
      {"onto itself", Path("src"), Path("src")},
  };
  for (const Row& r : bad) {
    SCOPED_TRACE(r.name);
    status = 1;
    CopyFile(r.dest.c_str(), r.src.c_str(), status);
    EXPECT_EQ(status, 0);
  }
  EXPECT_EQ(Get("src"), big);  // copying onto itself did not truncate it
}

TEST_F(FileUtil, ReplaceSection) {
  const std::string target = "head\n//-- gen\nold 1\nold 2\n//-- gen end\ntail\n";
  std::string longLine(10000, 'L');
  Put("ins", "new 1\n" + longLine + "\n");
  struct Row { const char* name; std::string text; int statusIn, statusOut; std::string want; } rows[] = {
      {"replaced", target, 1, 1,
       "head\n//-- gen\nnew 1\n" + longLine + "\n//-- gen end\ntail\n"},
      {"no second marker", "head\n//-- gen\nold\n", 1, 0, "head\n//-- gen\nold\n"},
      {"no marker", "head\n", 1, 0, "head\n"},
      {"status already 0", target, 0, 0, target},
      // A marker inside a long line is not a line start.
      {"long line", "//-- gen\n" + std::string(5000, 'x') + "//-- gen\nkeep\n", 1, 0,
       "//-- gen\n" + std::string(5000, 'x') + "//-- gen\nkeep\n"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    Put("t", r.text);
    int status = r.statusIn;
    ReplaceFileSection(Path("t").c_str(), Path("ins").c_str(), "//-- gen", status);
    EXPECT_EQ(status, r.statusOut);
    EXPECT_EQ(Get("t"), r.want);
  }
  int status = 1;
  ReplaceFileSection(Path("t").c_str(), Path("missing").c_str(), "//", status);
  EXPECT_EQ(status, 0);
  status = 1;
  ReplaceFileSection(Path("t").c_str(), Path("ins").c_str(), nullptr, status);
  EXPECT_EQ(status, 0);
}

TEST_F(FileUtil, ReplaceSectionKeepsPermissions) {
  Put("t", "m\nold\nm\n");
  Put("ins", "new\n");
  chmod(Path("t").c_str(), 0640);
  int status = 1;
  ReplaceFileSection(Path("t").c_str(), Path("ins").c_str(), "m", status);
  EXPECT_EQ(status, 1);
  EXPECT_EQ(Get("t"), "m\nnew\nm\n");
  struct stat st;
  ASSERT_EQ(stat(Path("t").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 2);
}

}  // namespace
