// The command line and the backup naming rules.
#include "kestb/Options.h"
#include "kestb/Output.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cerrno>
#include <sstream>

#include "common/TempDir.h"

namespace kestb {
namespace {

std::string Dump(const Options& o) {
  std::ostringstream s;
  s << o.dsm << "|" << o.tem << "|" << o.outDir << "|home=" << o.homeDir
    << " banner=" << o.banner << " noini=" << o.noIni << " files=" << o.showFiles
    << " summary=" << o.showSummary << " ada=" << o.noAdaKeywords
    << " cxx=" << o.noCxxKeywords << " trace=" << o.temTrace
    << " bak=" << o.makeBackups << " ext=" << o.backupExts;
  return s.str();
}

TEST(CommandLine, TakesTheFrontEndsLineAndAnyOrder) {
  struct Case {
    std::vector<std::string> args;
    const char* want;
  } cases[] = {
      {{"a.dsm", "t.tem", "out", "-nb", "-noini", "-homedir", "/k", "-showfiles",
        "false", "-showsummary", "true", "-nokwada", "true", "-nokwcxx", "false",
        "-ttrace", "false", "-makebak", "true", "-backext", "C bkC h bkh"},
       "a.dsm|t.tem|out|home=/k banner=0 noini=1 files=0 summary=1 ada=1 cxx=0 "
       "trace=0 bak=1 ext=C bkC h bkh"},
      {{"-makebak", "true", "a.dsm", "-ttrace", "true", "t.tem", "out", "-makebak",
        "false", "-nokwcxx", "true"},
       "a.dsm|t.tem|out|home= banner=1 noini=0 files=1 summary=0 ada=0 cxx=1 "
       "trace=1 bak=0 ext=C bkC h bkh cxx bkc hxx bkh"},
      {{"a", "b", "c", "-homedir", "-showfiles", "false"},  // KESTHOME set but empty
       "a|b|c|home= banner=1 noini=0 files=0 summary=0 ada=0 cxx=0 trace=0 bak=0 "
       "ext=C bkC h bkh cxx bkc hxx bkh"},
      {{"a", "b", "c", "-homedir", "-nb"},  // the empty folder before the last option
       "a|b|c|home= banner=0 noini=0 files=1 summary=0 ada=0 cxx=0 trace=0 bak=0 "
       "ext=C bkC h bkh cxx bkc hxx bkh"},
      {{"a", "b", "c", "-backext", ""},
       "a|b|c|home= banner=1 noini=0 files=1 summary=0 ada=0 cxx=0 trace=0 bak=0 ext="},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.want);
    std::string err;
    std::optional<Options> o = ParseCommandLine(c.args, err);
    ASSERT_TRUE(o) << err;
    EXPECT_EQ(c.want, Dump(*o));
  }
}

TEST(CommandLine, RefusesWhatItCannotUnderstand) {
  struct Case {
    std::vector<std::string> args;
    const char* error;
  } cases[] = {
      {{"a", "b"}, "expected DSM, TEMPLATE and OUTDIR, got 2 of them"},
      {{"a", "b", "c", "d"}, "unexpected argument 'd'"},
      {{"a", "b", "c", "-showfiles", "yes"},
       "option -showfiles needs true or false, not 'yes'"},
      {{"a", "b", "c", "-makebak"}, "option -makebak needs a value"},
      {{"a", "b", "c", "-verbose", "true"}, "unknown option -verbose"},
      // A backup extension with a '/' named a file in another folder.
      {{"a", "b", "c", "-makebak", "true", "-backext", "h x/../../etc/x"},
       "-backext: backup extension 'x/../../etc/x' must not contain '/'"},
      {{"a", "b", "c", "-backext", "h/x", "-makebak", "true"},
       "-backext: backup extension 'h/x' must not contain '/'"},
      {{"a", "b", "c", "-makebak", "true", "-backext", "h b\x01k"},
       "-backext: backup extension 'b\x01k' must not contain control characters"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.error);
    std::string err;
    EXPECT_FALSE(ParseCommandLine(c.args, err));
    EXPECT_EQ(c.error, err);
  }
}

TEST(Backups, NamesFollowThePairs) {
  BackupRules std = ParseBackupExts("C bkC h bkh cxx bkc hxx bkh");
  BackupRules dotted = ParseBackupExts(".h,.bkh .bak");
  BackupRules silly = ParseBackupExts("h h");
  struct Case {
    const BackupRules& rules;
    const char* file;
    const char* backup;
  } cases[] = {
      {std, "out/shop.h", "out/shop.bkh"},
      {std, "out/shop.C", "out/shop.bkC"},
      {std, "out/shop.c", "out/shop.c.bak"},  // extensions are case-sensitive
      {std, "out/shop.cxx", "out/shop.bkc"},
      {std, "out/Makefile", "out/Makefile.bak"},
      {std, "out.d/Makefile", "out.d/Makefile.bak"},  // a dot in a folder is no extension
      {std, "out/.h", "out/.h.bak"},
      {dotted, "a.h", "a.bkh"},
      {dotted, "a.txt", "a.txt.bak"},  // the lone word is the fallback
      {silly, "a.h", "a.h.bak"},       // never the file itself
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    EXPECT_EQ(c.backup, BackupName(c.file, c.rules));
  }
  EXPECT_EQ("a.hxx.bkh", LongBackupName("a.hxx", std));
  EXPECT_EQ("a.txt.bak", LongBackupName("a.txt", std));
}

TEST(WriteWhole, ReplacesKeepsTheOldVersionAndCleansUpOnFailure) {
  xk::test::TempDir dir;
  const std::string file = dir / "a.h", bak = dir / "a.bkh";

  WriteResult w = WriteWhole(file, "one\n", bak);
  EXPECT_TRUE(w.ok);
  EXPECT_FALSE(w.backedUp);  // nothing to keep yet
  EXPECT_FALSE(std::filesystem::exists(bak));

  w = WriteWhole(file, "two\n", bak);
  EXPECT_TRUE(w.ok && w.backedUp);
  EXPECT_EQ("two\n", xk::test::Slurp(file));
  EXPECT_EQ("one\n", xk::test::Slurp(bak));

  w = WriteWhole(file, "three\n", "");
  EXPECT_TRUE(w.ok && !w.backedUp);
  EXPECT_EQ("one\n", xk::test::Slurp(bak));

  std::filesystem::create_directory(dir / "d.h");
  w = WriteWhole(dir / "d.h", "x", "");
  EXPECT_FALSE(w.ok);
  EXPECT_EQ("exists and is not a regular file", w.error);

  w = WriteWhole(dir / "missing/x.h", "x", "");
  EXPECT_FALSE(w.ok);
  EXPECT_NE(std::string::npos, w.error.find("cannot create a temporary file"));

  // A backup that cannot be made leaves the old file in place.
  std::filesystem::create_directory(dir / "b.bkh");
  dir.Write("b.bkh/keep", "k");
  dir.Write("b.h", "old");
  w = WriteWhole(dir / "b.h", "new", dir / "b.bkh");
  EXPECT_FALSE(w.ok);
  EXPECT_EQ("old", xk::test::Slurp(dir / "b.h"));

  size_t entries = 0;
  for (auto& e : std::filesystem::directory_iterator(dir.Path())) {
    EXPECT_EQ(std::string::npos, e.path().string().find(".kestb-")) << "temporary file left";
    ++entries;
  }
  EXPECT_EQ(5u, entries);  // a.h a.bkh d.h b.h b.bkh
}

// A rename that fails after the old version went to its backup name: the
// old version must be back under the file's name, and when even that
// fails the error says where it is.
TEST(WriteWhole, AFailedReplaceBringsTheOldVersionBack) {
  xk::test::TempDir dir;
  const std::string file = dir.Write("a.h", "old"), bak = dir / "a.bkh";
  CommitHook previous =
      SetCommitHookForTests([](CommitStep step) { return step == CommitStep::kReplace ? EIO : 0; });
  WriteResult w = WriteWhole(file, "new", bak);
  EXPECT_FALSE(w.ok || w.backedUp);
  EXPECT_EQ("cannot replace the file: Input/output error", w.error);
  EXPECT_EQ("old", xk::test::Slurp(file));
  EXPECT_FALSE(std::filesystem::exists(bak));

  SetCommitHookForTests([](CommitStep step) {
    return step == CommitStep::kReplace || step == CommitStep::kPutBack ? EIO : 0;
  });
  w = WriteWhole(file, "new", bak);
  EXPECT_EQ("cannot replace the file: Input/output error; the old version is left as " + bak, w.error);
  EXPECT_EQ("old", xk::test::Slurp(bak));
  SetCommitHookForTests(previous);
  EXPECT_EQ(1, std::distance(std::filesystem::directory_iterator(dir.Path()), {}))
      << "a temporary file left";
}

// The whole mode is kept, the set-group-ID and sticky bits too.
TEST(WriteWhole, KeepsTheSpecialPermissionBits) {
  xk::test::TempDir dir;
  for (mode_t mode : {mode_t(02775), mode_t(01644), mode_t(04750)}) {
    SCOPED_TRACE(mode);
    const std::string file = dir.Write("m.h", "old");
    ASSERT_EQ(0, ::chmod(file.c_str(), mode));
    ASSERT_TRUE(WriteWhole(file, "new " + std::to_string(mode), "").ok);
    struct stat st {};
    ASSERT_EQ(0, ::stat(file.c_str(), &st));
    EXPECT_EQ(mode, st.st_mode & 07777);
  }
}

// Old and new are compared a piece at a time: a difference far past the
// first piece, or in the last byte, is still a difference.
TEST(WriteWhole, LeavesAFileThatHoldsTheNewContentAlready) {
  xk::test::TempDir dir;
  const std::string file = dir / "a.h", bak = dir / "a.bkh";
  std::string text(200000, 'x');
  ASSERT_TRUE(WriteWhole(file, text, bak).ok);
  WriteResult w = WriteWhole(file, text, bak);
  EXPECT_TRUE(w.ok && w.unchanged && !w.backedUp);
  EXPECT_FALSE(std::filesystem::exists(bak));
  for (size_t at : {size_t(150000), text.size() - 1}) {
    SCOPED_TRACE(at);
    std::string changed = text;
    changed[at] = 'y';
    w = WriteWhole(file, changed, bak);
    EXPECT_TRUE(w.ok && !w.unchanged && w.backedUp);
    EXPECT_EQ(changed, xk::test::Slurp(file));
    text = changed;
  }
  w = WriteWhole(file, text + "z", "");  // longer by one
  EXPECT_FALSE(w.unchanged);
  w = WriteWhole(file, text, "");  // shorter by one
  EXPECT_FALSE(w.unchanged);
  EXPECT_EQ(text, xk::test::Slurp(file));
}

}  // namespace
}  // namespace kestb
