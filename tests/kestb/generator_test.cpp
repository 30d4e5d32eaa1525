// Whole kestb runs: the report, every switch, backups, and bad input that
// must leave the output folder as it was.
#include "kestb/Generator.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <fstream>
#include <functional>
#include <sstream>

#include "common/TempDir.h"
#include "common/Wait.h"
#include "kestb/Dsm.h"
#include "kestb/Template.h"

namespace kestb {
namespace {

using xk::test::Slurp;
using xk::test::TempDir;
using xk::test::WaitUntil;

const char* kDsm =
    "model m;\n"
    "record A { x : int; b : B; }\n"
    "record B { y : string; }\n";

const char* kTem =
    "@file ${model}.h\n"
    "@include part.inc\n"
    "@end\n"
    "@file ${model}.cxx\n"
    "// ${records}\n"
    "@end\n";

class GeneratorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir.Write("m.dsm", kDsm);
    dir.Write("t.tem", kTem);
    std::filesystem::create_directory(dir / "home");
    dir.Write("home/part.inc", "@foreach record\nstruct ${record};\n@end\n");
    std::filesystem::create_directory(dir / "out");
  }

  // The front end's command line with the given switch values.
  std::vector<std::string> Args(const std::string& files, const std::string& summary,
                                const std::string& ada, const std::string& cxx,
                                const std::string& trace, const std::string& bak,
                                const std::string& ext = "h bkh cxx bkc") {
    return {dir / "m.dsm", dir / "t.tem", dir / "out", "-nb", "-noini",
            "-homedir", dir / "home", "-showfiles", files, "-showsummary", summary,
            "-nokwada", ada, "-nokwcxx", cxx, "-ttrace", trace, "-makebak", bak,
            "-backext", ext};
  }

  int Generate(const std::vector<std::string>& args) {
    std::ostringstream out;
    int status = kestb::Run(args, out);
    report = Scrubbed(out.str());
    return status;
  }

  // The names in a folder, sorted.
  static std::vector<std::string> Entries(const std::string& folder) {
    std::vector<std::string> names;
    for (auto& e : std::filesystem::directory_iterator(folder)) {
      names.push_back(e.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
  }

  // A file of that size holding nothing but its length.
  static void Sparse(const std::string& path, off_t size) {
    ASSERT_EQ(0, ::truncate(path.c_str(), size));
  }

  // Generate in a child process after prepare (which sets a limit on it);
  // "STATUS REPORT" as the child saw them, or how it ended.
  std::string GenerateInChild(const std::function<void()>& prepare,
                              const std::vector<std::string>& args) {
    int fds[2];
    if (pipe(fds) != 0) return "no pipe";
    pid_t pid = fork();
    if (pid == 0) {
      prepare();
      std::string line = std::to_string(Generate(args)) + " " + report;
      _exit(write(fds[1], line.data(), line.size()) == ssize_t(line.size()) ? 0 : 1);
    }
    close(fds[1]);
    std::string got;
    char buf[512];
    for (ssize_t n; (n = read(fds[0], buf, sizeof buf)) > 0;) got.append(buf, size_t(n));
    close(fds[0]);
    int status = 0;
    if (pid < 0 || waitpid(pid, &status, 0) != pid) return "no child";
    if (WIFSIGNALED(status)) got += "ended by signal " + std::to_string(WTERMSIG(status));
    return got;
  }

  // Tests compare paths without the scratch folder's random name.
  std::string Scrubbed(std::string text) const {
    for (size_t at; (at = text.find(dir.Path())) != std::string::npos;) {
      text.replace(at, dir.Path().size(), "D");
    }
    return text;
  }

  TempDir dir;
  std::string report;
};

TEST_F(GeneratorTest, ReportsFilesBackupsAndSummaryInOrder) {
  ASSERT_EQ(kOk, Generate(Args("true", "true", "false", "false", "false", "true")));
  EXPECT_EQ(
      "wrote D/out/m.h\n"
      "wrote D/out/m.cxx\n"
      "kestb: 2 files written\n"
      "summary: 2 records, 3 fields, 2 files, 0 errors\n",
      report);
  EXPECT_EQ("struct B;\nstruct A;\n", Slurp(dir / "out/m.h"));

  dir.Write("m.dsm", "model m;\nrecord C {}\n");
  ASSERT_EQ(kOk, Generate(Args("true", "false", "false", "false", "false", "true")));
  EXPECT_EQ(
      "wrote D/out/m.h\n"
      "backup D/out/m.bkh\n"
      "wrote D/out/m.cxx\n"
      "backup D/out/m.bkc\n"
      "kestb: 2 files written\n",
      report);
  EXPECT_EQ("struct C;\n", Slurp(dir / "out/m.h"));
  EXPECT_EQ("struct B;\nstruct A;\n", Slurp(dir / "out/m.bkh"));
  EXPECT_EQ("// 2\n", Slurp(dir / "out/m.bkc"));
}

TEST_F(GeneratorTest, BannerTraceAndQuietSwitches) {
  std::vector<std::string> args = Args("false", "false", "false", "false", "true", "false");
  args.erase(args.begin() + 3);  // without -nb
  ASSERT_EQ(kOk, Generate(args));
  EXPECT_EQ(
      "kestb: D/m.dsm with D/t.tem into D/out\n"
      "D/t.tem:1: trace: @file ${model}.h\n"
      "D/home/part.inc:1: trace: @foreach record\n"
      "D/home/part.inc:2: trace: struct ${record};\n"
      "D/home/part.inc:2: trace: struct ${record};\n"
      "D/t.tem:4: trace: @file ${model}.cxx\n"
      "D/t.tem:5: trace: // ${records}\n"
      "kestb: 2 files written\n",
      report);
}

TEST_F(GeneratorTest, WithoutBackupsTheOldVersionIsGone) {
  ASSERT_EQ(kOk, Generate(Args("true", "false", "false", "false", "false", "false")));
  ASSERT_EQ(kOk, Generate(Args("true", "false", "false", "false", "false", "false")));
  EXPECT_EQ(std::string::npos, report.find("backup"));
  EXPECT_FALSE(std::filesystem::exists(dir / "out/m.bkh"));
}

TEST_F(GeneratorTest, BackupExtensionsComeFromTheList) {
  struct Case {
    const char* ext;
    const char* hBackup;
    const char* cxxBackup;
  } cases[] = {
      {"C bkC h bkh cxx bkc hxx bkh", "m.bkh", "m.bkc"},
      {".bak", "m.h.bak", "m.cxx.bak"},  // one word: for every extension
      {"", "m.h.bak", "m.cxx.bak"},
      {"h old cxx old", "m.old", "m.cxx.old"},  // never two files on one backup
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.ext);
    TempDir out;
    std::vector<std::string> args = Args("true", "false", "false", "false", "false", "true", c.ext);
    args[2] = out.Path();
    dir.Write("m.dsm", kDsm);
    ASSERT_EQ(kOk, Generate(args));
    dir.Write("m.dsm", "model m;\nrecord C {}\n");  // a file that is the same is kept as it is
    ASSERT_EQ(kOk, Generate(args));
    EXPECT_EQ("struct B;\nstruct A;\n", Slurp(out / c.hBackup));
    EXPECT_EQ("// 2\n", Slurp(out / c.cxxBackup));
  }
}

TEST_F(GeneratorTest, KeywordSwitches) {
  dir.Write("m.dsm", "record R { new : int;\n range : int; }\n");
  struct Case {
    const char* ada;
    const char* cxx;
    int status;
    const char* errors;
  } cases[] = {
      {"false", "false", kFailed,
       "D/m.dsm:1:12: error: field name 'new' is a C++ keyword\n"
       "D/m.dsm:1:12: error: field name 'new' is an Ada reserved word\n"
       "D/m.dsm:2:2: error: field name 'range' is an Ada reserved word\n"
       "kestb: 3 errors, no files written\n"},
      {"true", "false", kFailed,
       "D/m.dsm:1:12: error: field name 'new' is a C++ keyword\n"
       "kestb: 1 error, no files written\n"},
      {"false", "true", kFailed,
       "D/m.dsm:1:12: error: field name 'new' is an Ada reserved word\n"
       "D/m.dsm:2:2: error: field name 'range' is an Ada reserved word\n"
       "kestb: 2 errors, no files written\n"},
      {"true", "true", kOk, "kestb: 2 files written\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "nokwada " << c.ada << " nokwcxx " << c.cxx);
    EXPECT_EQ(c.status, Generate(Args("false", "false", c.ada, c.cxx, "false", "false")));
    EXPECT_EQ(c.errors, report);
  }
}

TEST_F(GeneratorTest, HomedirIsWhereIncludesAreFound) {
  std::vector<std::string> args = Args("false", "false", "false", "false", "false", "false");
  args[6] = dir / "elsewhere";
  EXPECT_EQ(kFailed, Generate(args));
  EXPECT_EQ(
      "D/t.tem:2:1: error: cannot find included template 'part.inc'\n"
      "kestb: 1 error, no files written\n",
      report);

  // Also found in the home folder's templates/ and beside the template.
  std::filesystem::create_directories(dir / "elsewhere/templates");
  std::filesystem::rename(dir / "home/part.inc", dir / "elsewhere/templates/part.inc");
  EXPECT_EQ(kOk, Generate(args));
  std::filesystem::rename(dir / "elsewhere/templates/part.inc", dir / "part.inc");
  args[6] = dir / "nowhere";
  EXPECT_EQ(kOk, Generate(args));
}

// Bad input of any kind: a clear report, a failure status, and the output
// folder exactly as it was.
TEST_F(GeneratorTest, BadInputWritesNothing) {
  dir.Write("out/m.h", "previous");
  struct Case {
    const char* name;
    std::function<void(std::vector<std::string>&)> spoil;
    const char* report;
  } cases[] = {
      {"malformed DSM",
       [&](auto&) { dir.Write("m.dsm", "record A {\n  x int;\n}\n"); },
       "D/m.dsm:2:5: error: expected ':' after field name, found 'int'\n"
       "kestb: 1 error, summary follows\n"},
      {"malformed template",
       [&](auto&) { dir.Write("t.tem", "@file ${model}.h\n@foreach records\n@end\n@end\n"); },
       "D/t.tem:2:1: error: @foreach needs 'record' or 'field', found 'records'\n"
       "kestb: 1 error, summary follows\n"},
      {"template that fails only when expanded",
       [&](auto&) { dir.Write("t.tem", "@foreach record\n@file x.h\n@end\n@end\n"); },
       "D/t.tem:2:1: error: output file 'x.h' is written twice\n"
       "kestb: 1 error, summary follows\n"},
      {"missing DSM", [&](auto& a) { a[0] = dir / "none.dsm"; },
       "D/none.dsm: error: cannot read DSM file: No such file or directory\n"
       "kestb: 1 error, summary follows\n"},
      {"DSM that is a folder", [&](auto& a) { a[0] = dir / "out"; },
       "D/out: error: cannot read DSM file: not a regular file\n"
       "kestb: 1 error, summary follows\n"},
      {"missing template", [&](auto& a) { a[1] = dir / "none.tem"; },
       "D/none.tem: error: cannot read template: No such file or directory\n"
       "kestb: 1 error, summary follows\n"},
      {"empty output folder name", [&](auto& a) { a[2] = ""; },
       "'': error: output folder does not exist\n"
       "kestb: 1 error, summary follows\n"},
      {"template errors in line order",
       [&](auto&) { dir.Write("t.tem", "@file f\n@foreach record\n${nope}\n"); },
       "D/t.tem:1:1: error: @file has no @end\n"
       "D/t.tem:2:1: error: @foreach has no @end\n"
       "D/t.tem:3:1: error: unknown placeholder '${nope}'\n"
       "kestb: 3 errors, summary follows\n"},
      {"missing output folder", [&](auto& a) { a[2] = dir / "gone"; },
       "D/gone: error: output folder does not exist\n"
       "kestb: 1 error, summary follows\n"},
      {"output folder that is a file", [&](auto& a) { a[2] = dir / "m.dsm"; },
       "D/m.dsm: error: output folder is not a folder\n"
       "kestb: 1 error, summary follows\n"},
      // Sizes are checked before reading: a sparse file of terabytes once
      // ran the program out of memory.
      {"DSM past its limit", [&](auto& a) { Sparse(a[0], kMaxDsmBytes + 1); },
       "D/m.dsm: error: cannot read DSM file: larger than 16 MB (16777217 bytes)\n"
       "kestb: 1 error, summary follows\n"},
      {"template past its limit", [&](auto& a) { Sparse(a[1], kMaxTemplateBytes + 1); },
       "D/t.tem: error: cannot read template: larger than 16 MB (16777217 bytes)\n"
       "kestb: 1 error, summary follows\n"},
      {"included template past the limit", [&](auto&) { Sparse(dir / "home/part.inc", off_t(1) << 40); },
       "D/t.tem:2:1: error: included templates exceed 16 MB in all\n"
       "kestb: 1 error, summary follows\n"},
      // FIFOs once blocked the run (and the front end waiting for it).
      {"DSM that is a FIFO", [&](auto& a) { ::mkfifo((a[0] = dir / "p").c_str(), 0600); },
       "D/p: error: cannot read DSM file: not a regular file\n"
       "kestb: 1 error, summary follows\n"},
      {"template that is a FIFO", [&](auto& a) { ::mkfifo((a[1] = dir / "p").c_str(), 0600); },
       "D/p: error: cannot read template: not a regular file\n"
       "kestb: 1 error, summary follows\n"},
      {"included template that is a FIFO", [&](auto&) { ::mkfifo((dir / "part.inc").c_str(), 0600); },
       "D/t.tem:2:1: error: cannot read included template 'part.inc': not a regular file\n"
       "kestb: 1 error, summary follows\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetUp();
    std::vector<std::string> args = Args("true", "true", "false", "false", "false", "true");
    c.spoil(args);
    EXPECT_EQ(kFailed, Generate(args));
    std::string want = c.report;
    want.replace(want.find("summary follows"), 15, "no files written");
    want += "summary: ";
    EXPECT_EQ(want, report.substr(0, want.size()));
    EXPECT_EQ("previous", Slurp(dir / "out/m.h"));
    EXPECT_FALSE(std::filesystem::exists(dir / "out/m.cxx"));
    EXPECT_FALSE(std::filesystem::exists(dir / "out/m.bkh"));
  }
}

TEST_F(GeneratorTest, AFloodOfErrorsIsCutShortButCounted) {
  // More than are kept in memory: still counted, one by one.
  dir.Write("m.dsm", std::string(25000, '%'));
  EXPECT_EQ(kFailed, Generate(Args("false", "true", "false", "false", "false", "false")));
  std::string tail =
      "D/m.dsm:1:200: error: unexpected character '%'\n"
      "kestb: 24800 more errors not shown\n"
      "kestb: 25000 errors, no files written\n"
      "summary: 0 records, 0 fields, 0 files, 25000 errors\n";
  ASSERT_GT(report.size(), tail.size());
  EXPECT_EQ(tail, report.substr(report.size() - tail.size()));
  EXPECT_EQ(200 + 3, std::count(report.begin(), report.end(), '\n'));
}

// A run writes all of its files or none: one that cannot be written once
// left the others written and the report saying only "kestb: 1 error".
TEST_F(GeneratorTest, AFileThatCannotBeWrittenMeansNoneIsWritten) {
  std::filesystem::create_directory(dir / "out/m.h");
  EXPECT_EQ(kFailed, Generate(Args("true", "true", "false", "false", "false", "false")));
  EXPECT_EQ(
      "D/out/m.h: error: cannot write: exists and is not a regular file\n"
      "kestb: 1 error, no files written\n"
      "summary: 2 records, 3 fields, 0 files, 1 error\n",
      report);
  EXPECT_EQ(std::vector<std::string>{"m.h"}, Entries(dir / "out"));

  // A name that fits the file system but whose temporary name did not.
  std::filesystem::remove(dir / "out/m.h");
  const std::string longName(250, 'R');
  dir.Write("m.dsm", "model m;\nrecord A {}\nrecord " + longName + " {}\n");
  dir.Write("t.tem", "@foreach record\n@file ${record}.h\n@end\n@end\n");
  EXPECT_EQ(kOk, Generate(Args("false", "false", "false", "false", "false", "false")));
  EXPECT_EQ((std::vector<std::string>{"A.h", longName + ".h"}), Entries(dir / "out"));
}

// A folder under a backup name once stopped the run after the files before
// it had been replaced and backed up.
TEST_F(GeneratorTest, AFolderUnderABackupNameMeansNoneIsWritten) {
  dir.Write("out/m.h", "old\n");
  dir.Write("out/m.cxx", "old\n");
  std::filesystem::create_directory(dir / "out/m.bkc");
  EXPECT_EQ(kFailed, Generate(Args("true", "false", "false", "false", "false", "true")));
  EXPECT_EQ("D/out/m.cxx: error: cannot write: backup D/out/m.bkc is a folder\n"
            "kestb: 1 error, no files written\n",
            report);
  EXPECT_EQ((std::vector<std::string>{"m.bkc", "m.cxx", "m.h"}), Entries(dir / "out"));
  EXPECT_EQ("old\n", Slurp(dir / "out/m.h"));
}

// The program passing the file-size limit: SIGXFSZ once killed it with a
// partly written temporary file behind.
TEST_F(GeneratorTest, FileSizeLimitIsAWriteError) {
  std::string program = XK_BINARY_DIR "/kestb/kestb";
  if (!std::filesystem::exists(program)) GTEST_SKIP() << "build the kestb target first";
  dir.Write("t.tem", "@file small.h\nx\n@end\n@file big.h\n" +
                               std::string(100000, 'x') + "\n@end\n");
  std::string line = "ulimit -f 16 && " + program + " " + dir / "m.dsm" + " " +
                     dir / "t.tem" + " " + dir / "out" + " -nb > " + dir / "kestout.txt";
  int status = std::system(("sh -c '" + line + "'").c_str());
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(1, WEXITSTATUS(status));
  EXPECT_EQ("D/out/big.h: error: cannot write: File too large\n"
            "kestb: 1 error, no files written\n",
            Scrubbed(Slurp(dir / "kestout.txt")));
  EXPECT_TRUE(Entries(dir / "out").empty());
}

// Killed part-way, the program removes the temporary files it made.
TEST_F(GeneratorTest, SignalsLeaveNoTemporaryFiles) {
  std::string program = XK_BINARY_DIR "/kestb/kestb";
  if (!std::filesystem::exists(program)) GTEST_SKIP() << "build the kestb target first";
  std::string model;
  for (int i = 0; i < 2000; ++i) model += "record R" + std::to_string(i) + " {}\n";
  dir.Write("m.dsm", model);
  dir.Write("t.tem", "@foreach record\n@file ${record}.h\n" +
                               std::string(20000, 'x') + "\n@end\n@end\n");
  for (int sig : {SIGINT, SIGTERM, SIGHUP}) {
    SCOPED_TRACE(sig);
    std::string dsm = dir / "m.dsm", tem = dir / "t.tem", out = dir / "out";
    pid_t pid = ::fork();
    ASSERT_LE(0, pid);
    if (pid == 0) {
      ::execl(program.c_str(), "kestb", dsm.c_str(), tem.c_str(), out.c_str(),
              "-showfiles", "false", static_cast<char*>(nullptr));
      ::_exit(127);
    }
    // A temporary file, with the run still going: look often, as it lasts only a moment.
    bool seen = WaitUntil(
        [&] {
          for (const std::string& e : Entries(out))
            if (e.find(".kestb-") != std::string::npos) return true;
          return false;
        },
        10, std::chrono::microseconds(500));
    ::kill(pid, sig);
    int status = 0;
    ::waitpid(pid, &status, 0);
    ASSERT_TRUE(seen);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == sig);
    EXPECT_TRUE(Entries(out).empty());  // nothing committed before all were written
  }
}

// A report reader that goes away (SIGPIPE) once stopped the run while it
// replaced files, leaving some replaced and every other temporary behind.
TEST_F(GeneratorTest, AClosedReportStillWritesAllOrNone) {
  std::string program = XK_BINARY_DIR "/kestb/kestb";
  if (!std::filesystem::exists(program)) GTEST_SKIP() << "build the kestb target first";
  std::string model;
  for (int i = 0; i < 2000; ++i) model += "record R" + std::to_string(i) + " {}\n";
  dir.Write("m.dsm", model);
  dir.Write("t.tem", "@foreach record\n@file ${record}.h\nx\n@end\n@end\n");
  std::string dsm = dir / "m.dsm", tem = dir / "t.tem", out = dir / "out";
  int fds[2];
  ASSERT_EQ(0, ::pipe(fds));
  ::close(fds[0]);
  pid_t pid = ::fork();
  ASSERT_LE(0, pid);
  if (pid == 0) {
    ::signal(SIGPIPE, SIG_DFL);
    ::dup2(fds[1], 1);
    ::execl(program.c_str(), "kestb", dsm.c_str(), tem.c_str(), out.c_str(), "-nb",
            static_cast<char*>(nullptr));
    ::_exit(127);
  }
  ::close(fds[1]);
  int status = 0;
  ::waitpid(pid, &status, 0);
  EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGPIPE);
  std::vector<std::string> entries = Entries(out);
  EXPECT_EQ(2000u, entries.size());
  EXPECT_EQ(entries.end(), std::find_if(entries.begin(), entries.end(), [](const std::string& e) {
              return e.find(".kestb-") != std::string::npos;
            }));
}

// A full disk, as a file size limit in a child: the reason follows one
// "cannot write: ", not two.
TEST_F(GeneratorTest, AWriteThatRunsOutOfRoomSaysWhyOnce) {
  std::string got = GenerateInChild(
      [] {
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit lim{8, 8};
        setrlimit(RLIMIT_FSIZE, &lim);
      },
      Args("true", "true", "false", "false", "false", "false"));
  EXPECT_NE(std::string::npos, got.find("D/out/m.h: error: cannot write: File too large\n")) << got;
}

// A second run that generates the same text leaves every file alone: no
// new modification time for make to rebuild from, no backup made of the
// current version over the previous one.
TEST_F(GeneratorTest, FilesThatWouldNotChangeAreLeftAlone) {
  std::vector<std::string> args = Args("true", "true", "false", "false", "false", "true");
  ASSERT_EQ(kOk, Generate(args));
  const auto old = std::filesystem::last_write_time(dir / "out/m.h") - std::chrono::hours(1);
  std::filesystem::last_write_time(dir / "out/m.h", old);
  ASSERT_EQ(kOk, Generate(args));
  EXPECT_EQ(
      "unchanged D/out/m.h\n"
      "unchanged D/out/m.cxx\n"
      "kestb: 0 files written, 2 unchanged\n"
      "summary: 2 records, 3 fields, 0 files, 2 unchanged, 0 errors\n",
      report);
  EXPECT_EQ(old, std::filesystem::last_write_time(dir / "out/m.h"));
  EXPECT_EQ((std::vector<std::string>{"m.cxx", "m.h"}), Entries(dir / "out"));

  // Same length, one letter different: written, and only that one.
  dir.Write("m.dsm", "model m;\nrecord A { x : int; b : C; }\nrecord C { y : string; }\n");
  ASSERT_EQ(kOk, Generate(args));
  EXPECT_EQ(
      "wrote D/out/m.h\n"
      "backup D/out/m.bkh\n"
      "unchanged D/out/m.cxx\n"
      "kestb: 1 file written, 1 unchanged\n"
      "summary: 2 records, 3 fields, 1 file, 1 unchanged, 0 errors\n",
      report);
  EXPECT_EQ("struct C;\nstruct A;\n", Slurp(dir / "out/m.h"));
  EXPECT_EQ("struct B;\nstruct A;\n", Slurp(dir / "out/m.bkh"));
}

// Memory that runs out ends the run with one line, not an abort, and
// leaves no temporary file behind.
TEST_F(GeneratorTest, RunningOutOfMemoryIsOneErrorLine) {
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
  GTEST_SKIP() << "the sanitizers reserve more address space than the limit allows";
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(memory_sanitizer)
  GTEST_SKIP() << "the sanitizers reserve more address space than the limit allows";
#endif
#endif
  std::string model;
  for (int i = 0; i < 300000; ++i) model += "record R" + std::to_string(i) + " {}\n";
  dir.Write("m.dsm", model);
  dir.Write("t.tem", "@file a.h\nx\n@end\n");
  std::string got = GenerateInChild(
      [] {
        long pages = 0;
        std::ifstream("/proc/self/statm") >> pages;
        rlim_t now = rlim_t(pages) * rlim_t(sysconf(_SC_PAGESIZE));
        rlimit lim{now + (32u << 20), now + (32u << 20)};
        setrlimit(RLIMIT_AS, &lim);
      },
      Args("false", "false", "false", "false", "false", "false"));
  EXPECT_EQ("1 kestb: error: out of memory\n", got);
  EXPECT_TRUE(Entries(dir / "out").empty());
}

// A file name ending in a backslash once continued the generated comment
// that names it onto the next line; one that merely ends in blanks keeps them.
TEST_F(GeneratorTest, FileNamesInCommentsCannotContinueThem) {
  dir.Write("m\\ \\", kDsm);
  dir.Write("t\\", "@file f\n// ${dsm}.\n// ${template}.\n@end\n");
  dir.Write("s ", "@file f\n// ${template}.\n@end\n");
  std::vector<std::string> args = Args("false", "false", "false", "false", "false", "false");
  args[0] = dir / "m\\ \\";
  args[1] = dir / "t\\";
  ASSERT_EQ(kOk, Generate(args));
  EXPECT_EQ("// m.\n// t.\n", Slurp(dir / "out/f"));
  args[1] = dir / "s ";
  ASSERT_EQ(kOk, Generate(args));
  EXPECT_EQ("// s .\n", Slurp(dir / "out/f"));
}

TEST_F(GeneratorTest, UsageErrorsSayWhatIsWrong) {
  EXPECT_EQ(kBadUsage, Generate({"a.dsm", "t.tem", "out", "-ttrace", "yes"}));
  EXPECT_EQ(0u, report.find("kestb: error: option -ttrace needs true or false, not 'yes'\n"
                            "usage: kestb DSM TEMPLATE OUTDIR"));
  // A word with a newline once split its error over two report lines.
  EXPECT_EQ(kBadUsage, Generate({"a.dsm", "t.tem", "out", "x\ny"}));
  EXPECT_EQ(0u, report.find("kestb: error: unexpected argument 'x\\x0Ay'\n"));
  EXPECT_EQ(kOk, Generate({"--help"}));
  EXPECT_EQ(0u, report.find("usage: "));
}

// The program itself, run through the shell exactly as the front end does.
TEST_F(GeneratorTest, ProgramRunsFromTheFrontEndsCommandLine) {
  std::string program = XK_BINARY_DIR "/kestb/kestb";
  if (!std::filesystem::exists(program)) GTEST_SKIP() << "build the kestb target first";
  std::string line = program + " " + dir / "m.dsm" + " " + dir / "t.tem" + " " +
                     dir / "out" + " -nb -noini -homedir " + dir / "home" +
                     " -showfiles true -showsummary true -nokwada false"
                     " -nokwcxx true -ttrace false -makebak true"
                     " -backext \"C bkC h bkh cxx bkc hxx bkh\" > " + dir / "kestout.txt";
  int status = std::system(line.c_str());
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(0, WEXITSTATUS(status));
  EXPECT_EQ("wrote " + dir / "out/m.h\nwrote " + dir / "out/m.cxx\n"
            "kestb: 2 files written\n"
            "summary: 2 records, 3 fields, 2 files, 0 errors\n",
            Slurp(dir / "kestout.txt"));

  dir.Write("m.dsm", "record R {\n  a : Nope;\n}\n");
  status = std::system(line.c_str());
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(1, WEXITSTATUS(status));
  EXPECT_EQ(0u, Slurp(dir / "kestout.txt").find(
                    dir / "m.dsm:2:7: error: unknown type 'Nope' for field 'a'\n"));

  // A report that cannot be written is a failed run, even when the files were.
  dir.Write("m.dsm", kDsm);
  line.replace(line.rfind("> "), std::string::npos, "> /dev/full 2>/dev/null");
  status = std::system(line.c_str());
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(1, WEXITSTATUS(status));
}

}  // namespace
}  // namespace kestb
