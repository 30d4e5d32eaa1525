// Reading the inputs: the size limit is checked before reading and holds
// while reading; what is not a file, or not there, says so.
#include "kestb/Input.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "common/TempDir.h"

namespace kestb {
namespace {

using xk::test::TempDir;

TEST(ReadInput, TheLimitHoldsBeforeAndWhileReading) {
  TempDir dir;
  struct Case {
    const char* name;
    off_t size;  // a sparse file, written as nothing but its length
    bool ok;
    const char* error;
  } cases[] = {
      {"at the limit", 10, true, ""},
      {"one byte past", 11, false, "larger than 10 bytes (11 bytes)"},
      {"sparse and huge", off_t(1) << 40, false, "larger than 10 bytes (1099511627776 bytes)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::string path = dir.Write(c.name, "");
    ASSERT_EQ(0, ::truncate(path.c_str(), c.size));
    InputFile in = ReadInput(path, 10);
    EXPECT_EQ(c.ok, in.ok);
    EXPECT_EQ(!c.ok, in.tooLarge);
    EXPECT_EQ(c.error, in.error);
    EXPECT_EQ(c.ok ? size_t(c.size) : 0u, in.text.size());
  }
  // A size that says nothing: /proc files claim to be empty.
  InputFile proc = ReadInput("/proc/self/status", 10);
  EXPECT_TRUE(proc.tooLarge);
  EXPECT_EQ("larger than 10 bytes", proc.error);
  EXPECT_TRUE(ReadInput("/proc/self/status", 1u << 20).ok);
}

TEST(ReadInput, WhatIsNotThereIsToldFromWhatCannotBeRead) {
  TempDir dir;
  InputFile gone = ReadInput(dir / "none", 10);
  EXPECT_TRUE(gone.missing && !gone.ok);
  EXPECT_EQ("No such file or directory", gone.error);
  InputFile folder = ReadInput(dir.Path(), 10);
  EXPECT_FALSE(folder.missing || folder.ok);
  EXPECT_EQ("not a regular file", folder.error);
  dir.Write("closed", "x");
  ::chmod((dir / "closed").c_str(), 0);
  if (::geteuid() != 0) {
    InputFile closed = ReadInput(dir / "closed", 10);
    EXPECT_FALSE(closed.missing || closed.ok);
    EXPECT_EQ("Permission denied", closed.error);
  }
}

// The first candidate that is there is the one, even when it cannot be
// read; one that is too large is said to be so, unread.
TEST(IncludeResolver, FirstThereWinsAndTooLargeIsUnread) {
  TempDir dir;
  dir.Write("home/templates/a.tem", "home");
  dir.Write("t/a.tem", "beside");
  IncludeResolver resolve = MakeResolver(dir / "home");
  EXPECT_EQ("beside", resolve("a.tem", dir / "t/main.tem")->text);
  EXPECT_EQ("home", resolve("a.tem", dir / "elsewhere/main.tem")->text);
  EXPECT_FALSE(resolve("b.tem", dir / "t/main.tem"));

  ::mkdir((dir / "t/b.tem").c_str(), 0755);
  dir.Write("home/b.tem", "home");
  EXPECT_EQ("not a regular file", resolve("b.tem", dir / "t/main.tem")->error);

  ASSERT_EQ(0, ::truncate(dir.Write("t/big.tem", "").c_str(), kMaxTemplateBytes + 1));
  std::optional<TemplateSource> big = resolve("big.tem", dir / "t/main.tem");
  EXPECT_TRUE(big->tooLarge);
  EXPECT_TRUE(big->text.empty());
}

}  // namespace
}  // namespace kestb
