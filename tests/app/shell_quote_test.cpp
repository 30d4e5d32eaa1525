// Paths and pages reach /bin/sh inside editor and browser commands: plain
// words pass unchanged, everything else arrives at the tool as one
// argument, byte for byte, and never runs as a command.
#include <gtest/gtest.h>

#include <string>

#include <sys/stat.h>
#include <unistd.h>

#include "app/ShellQuote.h"
#include "app/SysftnsCl.h"
#include "common/TempDir.h"

namespace {

// What the shell hands to a program as its one argument for word.
std::string ShellEcho(const std::string& word) {
  return xk::test::Shell("printf '[%s]' " + xkest::ShellWord(word));
}

TEST(ShellWord, PlainWordsStayAsTheyAre) {
  for (const char* word : {"/opt/k/doc/index.html", "out/gen.cpp", "a-b_c.tem", "x=1,y:2",
                           "user@host", "100%", "C++", ""}) {
    SCOPED_TRACE(word);
    EXPECT_EQ(xkest::ShellWord(word), word);
  }
}

TEST(ShellWord, OtherWordsReachTheProgramUnchanged) {
  const char* words[] = {
      "my file.dsm", "it's", "a\"b", "$HOME/x", "`id`", "a;b", "a|b", "a&b", "*.tem",
      "~/x.tem", "a\\b", "tab\there", "new\nline", "(x)", "{a,b}", "x > y", "''", "'",
  };
  for (const char* word : words) {
    SCOPED_TRACE(word);
    EXPECT_NE(xkest::ShellWord(word), word);
    EXPECT_EQ(ShellEcho(word), std::string("[") + word + "]");
  }
}

TEST(ShellWord, AHostilePageNameRunsNothing) {
  xk::test::TempDir dir("xkquote");
  std::string marker = dir / "ran";
  std::string page = "x.html; touch " + marker + " $(touch " + marker + ")";
  Str cmd = xkest::BackgroundCommand("true", page.c_str());
  ASSERT_EQ(std::system(cmd.c_str()), 0);
  struct stat st;
  EXPECT_NE(stat(marker.c_str(), &st), 0) << cmd.c_str();
}

TEST(BackgroundCommand, ToolWordAndAmpersand) {
  EXPECT_STREQ(xkest::BackgroundCommand("netscape", "/opt/k/doc/index.html").c_str(),
               "netscape /opt/k/doc/index.html &");
  EXPECT_STREQ(xkest::BackgroundCommand("xterm -e vi", "/k/cpp_std.tem").c_str(),
               "xterm -e vi /k/cpp_std.tem &");
  EXPECT_STREQ(xkest::BackgroundCommand("emacs", "/k/my t.tem").c_str(), "emacs '/k/my t.tem' &");
}

}  // namespace
