// Loading resource files: the name checks, "~" expansion, the path
// searches, and the start-up chain through wclResFiles.
#include <gtest/gtest.h>

#include <X11/IntrinsicP.h>
#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "creation_support.h"
#include "wcl/WcCreate.h"

namespace {

using xk::test::CaptureWarnings;

std::vector<std::string> g_reads;  // every path handed to the reader

XrmDatabase RecordRead(const char* path) {
  g_reads.push_back(path);
  return XrmGetFileDatabase(path);
}

std::string TempDir() {
  static std::string dir = [] {
    char pattern[] = "/tmp/wclresXXXXXX";
    return std::string(mkdtemp(pattern));
  }();
  return dir;
}

// Xt reads XFILESEARCHPATH once, when the first display opens: set it
// before any test runs.
const bool kAppDefaultsPathSet = [] {
  return setenv("XFILESEARCHPATH", (TempDir() + "/app/%N").c_str(), 1) == 0;
}();

std::string WriteFile(const std::string& relative, const std::string& text) {
  std::string path = TempDir() + "/" + relative;
  std::filesystem::create_directories(path.substr(0, path.rfind('/')));
  std::ofstream(path) << text;
  return path;
}

// Sets (or with nullopt unsets) an environment variable for one scope.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, std::optional<std::string> value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    if (value) setenv(name, value->c_str(), 1);
    else unsetenv(name);
  }
  ~ScopedEnv() {
    if (old_) setenv(name_, old_->c_str(), 1);
    else unsetenv(name_);
  }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

std::string Lookup(XrmDatabase db, const char* name) {
  char* type = nullptr;
  XrmValue value{};
  if (!XrmGetResource(db, name, name, &type, &value)) return "";
  return value.addr;
}

class ResFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    g_reads.clear();
    saved_ = WcSetReadFileProc(RecordRead);
  }
  void TearDown() override { WcSetReadFileProc(saved_); }
  WcReadFileProc saved_ = nullptr;
};

TEST_F(ResFiles, NameChecksRefuseBeforeReading) {
  Widget w = xk::test::TopLevel();
  struct Case {
    std::string name;
    const char* warning;  // null: the name is tried as given
  };
  const Case cases[] = {
      {"", "Wcl Warning: WcLoadResourceFile() - No file name provided."},
      {"/tmp/dir/", "Wcl Warning: WcLoadResourceFile( /tmp/dir/ ) - File must not end with "
                    "slash ('/')"},
      {"/" + std::string(1022, 'x'), nullptr},
      {"/" + std::string(1023, 'x'), "File name too long."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name.size());
    g_reads.clear();
    CaptureWarnings capture;
    XrmDatabase db = nullptr;
    EXPECT_EQ(WcLoadResourceFile(w, c.name.c_str(), &db), 0);
    ASSERT_EQ(capture.Messages().size(), 1u);
    if (c.warning) {
      EXPECT_NE(capture.Messages()[0].find(c.warning), std::string::npos) << capture.All();
      EXPECT_TRUE(g_reads.empty());
    } else {
      EXPECT_EQ(g_reads, std::vector<std::string>{c.name});
      EXPECT_NE(capture.Messages()[0].find("not found, not readable"), std::string::npos);
    }
  }
}

TEST_F(ResFiles, TildeUsesHomeThenTheUsersPasswordEntry) {
  Widget w = xk::test::TopLevel();
  WriteFile("home/tilde.ad", "*fromHome: yes\n");
  const struct passwd* me = getpwuid(getuid());
  ASSERT_NE(me, nullptr);
  std::string myHome = me->pw_dir;
  {
    ScopedEnv home("HOME", TempDir() + "/home");
    XrmDatabase db = nullptr;
    EXPECT_EQ(WcLoadResourceFile(w, "~/tilde.ad", &db), 1);
    EXPECT_EQ(Lookup(db, "x.fromHome"), "yes");
  }
  {
    ScopedEnv home("HOME", std::nullopt);
    ScopedEnv user("USER", std::string(me->pw_name));
    CaptureWarnings capture;
    XrmDatabase db = nullptr;
    WcLoadResourceFile(w, "~/surely-missing.ad", &db);
    EXPECT_EQ(g_reads.back(), myHome + "/surely-missing.ad");
    ASSERT_EQ(capture.Messages().size(), 1u);
    EXPECT_EQ(capture.Messages()[0],
              "Wcl Warning: WcLoadResourceFile( ~/surely-missing.ad )\n\t- File <" + myHome +
                  "/surely-missing.ad> not found, not readable, or wrong type.");
  }
  {
    CaptureWarnings capture;
    XrmDatabase db = nullptr;
    std::string longRest = "~/" + std::string(1020, 'y');
    EXPECT_EQ(WcLoadResourceFile(w, longRest.c_str(), &db), 0);
    ASSERT_EQ(capture.Messages().size(), 1u);
    EXPECT_NE(capture.Messages()[0].find("- Expanded name too long: "), std::string::npos);
  }
}

TEST_F(ResFiles, RelativeNamesSearchTheCurrentDirectoryThenBothPaths) {
  Widget w = xk::test::TopLevel();
  WriteFile("cwd/local.ad", "*where: cwd\n");
  WriteFile("app/both.ad", "*where: app\n*onlyApp: yes\n");
  WriteFile("user/both.ad", "*where: user\n");
  ScopedEnv userPath("XUSERFILESEARCHPATH", TempDir() + "/user/%N");
  ASSERT_TRUE(kAppDefaultsPathSet);
  char saved[4096];
  ASSERT_NE(getcwd(saved, sizeof saved), nullptr);
  ASSERT_EQ(chdir((TempDir() + "/cwd").c_str()), 0);

  XrmDatabase local = nullptr;
  EXPECT_EQ(WcLoadResourceFile(w, "local.ad", &local), 1);
  EXPECT_EQ(g_reads, std::vector<std::string>{"local.ad"}) << "nothing else is searched";

  g_reads.clear();
  XrmDatabase both = nullptr;
  EXPECT_EQ(WcLoadResourceFile(w, "both.ad", &both), 1);
  EXPECT_EQ(Lookup(both, "x.where"), "user") << "the user's file wins";
  EXPECT_EQ(Lookup(both, "x.onlyApp"), "yes") << "the application defaults are read too";

  ASSERT_EQ(chdir(saved), 0);
}

// Without XUSERFILESEARCHPATH the user's path is built from XAPPLRESDIR
// and HOME; with it, that path alone is searched.
TEST_F(ResFiles, UserPathComesFromTheEnvironment) {
  Widget w = xk::test::TopLevel();
  const std::string dir = TempDir() + "/applres", home = TempDir() + "/userhome";
  WriteFile("applres/inDir.ad", "*inDir: yes\n");
  WriteFile("userhome/inHome.ad", "*inHome: yes\n");
  WriteFile("other/inOther.ad", "*inOther: yes\n");
  struct Case {
    std::optional<std::string> userFileSearchPath, applResDir;
    const char* name;
    int loaded;
  };
  const Case cases[] = {
      {std::nullopt, dir, "inDir.ad", 1},
      {std::nullopt, dir, "inHome.ad", 1},
      {std::nullopt, std::nullopt, "inHome.ad", 1},
      {std::nullopt, std::nullopt, "inDir.ad", 0},
      {TempDir() + "/other/%N", dir, "inOther.ad", 1},
      {TempDir() + "/other/%N", dir, "inHome.ad", 0},
      {"", std::nullopt, "inHome.ad", 1},  // set but empty counts as unset
  };
  ScopedEnv homeEnv("HOME", home);
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.name) + " " + c.userFileSearchPath.value_or("-") + " " +
                 c.applResDir.value_or("-"));
    ScopedEnv userPath("XUSERFILESEARCHPATH", c.userFileSearchPath);
    ScopedEnv applResDir("XAPPLRESDIR", c.applResDir);
    CaptureWarnings capture;
    XrmDatabase db = nullptr;
    EXPECT_EQ(WcLoadResourceFile(w, c.name, &db), c.loaded);
    EXPECT_EQ(capture.Messages().size(), c.loaded ? 0u : 1u) << capture.All();
  }
}

TEST_F(ResFiles, StartupLoadsChainedFilesOnce) {
  std::string b =
      WriteFile("chain/b.ad", "*fromB: yes\n*wclResFiles: " + TempDir() + "/chain/a.ad\n");
  std::string a = WriteFile("chain/a.ad", "*fromA: yes\n*wclResFiles: " + b + " " + b + "\n");
  std::string init = WriteFile("chain/init.ad", "*fromInit: yes\n");
  Widget root = xk::test::NewContextRoot(
      "chained", {"*wclInitResFile: " + init + " ignored.ad", "*wclResFiles: " + a + ", " + a,
                  "*wclTraceResFiles: True"});
  ASSERT_NE(root, nullptr);
  CaptureWarnings capture;
  WcInitialize(root);
  EXPECT_EQ(g_reads, (std::vector<std::string>{init, a, b}));
  EXPECT_EQ(capture.All(),
            "Wcl loaded: " + init + "\nWcl loaded: " + a + "\nWcl loaded: " + b + "\n");
  XrmDatabase db = XtScreenDatabase(XtScreen(root));
  EXPECT_EQ(Lookup(db, "chained.fromB"), "yes");

  g_reads.clear();
  WcInitialize(root);
  EXPECT_TRUE(g_reads.empty()) << "the start-up runs once per application context";
  EXPECT_EQ(WcLoadResourceFileOnce(root, a.c_str()), 0);
  EXPECT_TRUE(g_reads.empty());
}

}  // namespace
