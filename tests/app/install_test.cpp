// "cmake --install" puts xkest where a desktop finds it: the program, its
// app-defaults file in the folder the X toolkit searches, the demo kest
// home, and a desktop entry that passes desktop-file-validate.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include <unistd.h>

#include "common/TempDir.h"

namespace {

using xk::test::Shell;
using xk::test::Slurp;

class Install : public testing::Test {
 protected:
  void SetUp() override { InstallUnder("/usr/local"); }
  void InstallUnder(const std::string& prefix) {
    int status = 0;
    std::string out = Shell("DESTDIR='" + dest_.Path() + "' cmake --install '" XK_BINARY_DIR
                            "' --prefix " + prefix + " 2>&1",
                            &status);
    ASSERT_EQ(status, 0) << out;
  }
  std::string At(const std::string& path) const { return dest_.Path() + path; }

  xk::test::TempDir dest_{"xkinstall"};
};

TEST_F(Install, ProgramAppDefaultsAndDemoHome) {
  EXPECT_EQ(access(At("/usr/local/bin/xkest").c_str(), X_OK), 0);
  // Installed under the class name, unchanged.
  EXPECT_EQ(Slurp(At("/etc/X11/app-defaults/xkest")), Slurp(XK_SOURCE_DIR "/app/xkest.ad"));
  for (const char* file : {"doc/index.html", "doc/xkest.html", "doc/dsm.html", "doc/templates.html",
                           "doc/options.html", "templates/cpp_std.tem"}) {
    SCOPED_TRACE(file);
    EXPECT_EQ(access(At(std::string("/usr/local/share/xkest/demo-home/") + file).c_str(), R_OK), 0);
  }
}

TEST_F(Install, DesktopEntryStartsOnTheInstalledDemoHome) {
  std::string entry = At("/usr/local/share/applications/xkest.desktop");
  std::string text = Slurp(entry);
  EXPECT_NE(text.find("KESTHOME:-/usr/local/share/xkest/demo-home"), std::string::npos) << text;
  EXPECT_NE(text.find("exec xkest"), std::string::npos);
  if (system("command -v desktop-file-validate >/dev/null") != 0)
    GTEST_SKIP() << "desktop-file-validate is not installed";
  int status = 0;
  std::string out = Shell("desktop-file-validate '" + entry + "' 2>&1", &status);
  EXPECT_EQ(status, 0) << out;
  EXPECT_EQ(out, "");
}

// The prefix given to "cmake --install" is the one the desktop entry names,
// and both manual pages are installed, compressed as man and Debian expect,
// with the copyright file beside the other documentation.
class InstallElsewhere : public Install {
 protected:
  void SetUp() override { InstallUnder("/opt/xk"); }
};

TEST_F(InstallElsewhere, DesktopEntryAndManualPagesFollowThePrefix) {
  std::string text = Slurp(At("/opt/xk/share/applications/xkest.desktop"));
  EXPECT_NE(text.find("KESTHOME:-/opt/xk/share/xkest/demo-home"), std::string::npos) << text;
  for (const char* page : {"xkest.1", "kestb.1"}) {
    SCOPED_TRACE(page);
    int status = 0;
    std::string text = Shell("gzip -dc '" + At(std::string("/opt/xk/share/man/man1/") + page) + ".gz'", &status);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(text, Slurp(std::string(XK_SOURCE_DIR "/man/") + page));
  }
  EXPECT_EQ(Slurp(At("/opt/xk/share/doc/xkest/copyright")), Slurp(XK_SOURCE_DIR "/packaging/copyright"));
}

// The manuals name the report's command as the menu shows it, the kestb
// page renders its quotes in pairs, and the README's demo edits a copy of
// the demo home rather than the checkout.
TEST(Docs, SayWhatTheProgramShows) {
  std::string ad = Slurp(XK_SOURCE_DIR "/app/xkest.ad");
  const std::string key = "*popGoTo.labelString:";
  size_t at = ad.find(key);
  ASSERT_NE(at, std::string::npos);
  size_t from = ad.find_first_not_of(' ', at + key.size());
  std::string label = ad.substr(from, ad.find('\n', from) - from);
  std::string readme = Slurp(XK_SOURCE_DIR "/README.md");
  std::string man = Slurp(XK_SOURCE_DIR "/man/kestb.1");
  for (const std::string* doc : {&readme, &man}) {
    EXPECT_EQ(doc->find("Go To Line"), std::string::npos);
    EXPECT_NE(doc->find(label), std::string::npos) << label;
  }
  int status = 0;
  std::string page = Shell("groff -man -Tascii -P-cbou '" XK_SOURCE_DIR "/man/kestb.1' | tr -s ' \\n' ' ' 2>&1",
                           &status);
  EXPECT_NE(page.find("(\"wrote PATH\")"), std::string::npos);
  EXPECT_NE(page.find("(\"backup PATH\")"), std::string::npos);
  EXPECT_EQ(readme.find("choose `demo-home/shop.dsm`"), std::string::npos);
  EXPECT_NE(readme.find("cp -r demo-home"), std::string::npos);
}

}  // namespace
