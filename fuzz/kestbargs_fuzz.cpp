// kestbargs_fuzz.cpp: kestb's command line. The input is the argument list,
// words separated by NUL bytes. Whatever the words, parsing ends with
// options or one line saying what is wrong; options it accepts say the
// same when written out again in the front end's order and read back.
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

#include "fuzz/FuzzSupport.h"
#include "kestb/Diagnostics.h"
#include "kestb/Options.h"
#include "kestb/Output.h"

namespace {

std::vector<std::string> Split(const uint8_t* data, size_t size) {
  std::vector<std::string> words(1);
  for (size_t i = 0; i < size; ++i) {
    if (data[i] == 0) {
      words.emplace_back();
    } else {
      words.back() += static_cast<char>(data[i]);
    }
  }
  return words;
}

std::string TrueFalse(bool b) { return b ? "true" : "false"; }

bool Same(const kestb::Options& a, const kestb::Options& b) {
  return a.dsm == b.dsm && a.tem == b.tem && a.outDir == b.outDir &&
         a.homeDir == b.homeDir && a.banner == b.banner && a.noIni == b.noIni &&
         a.showFiles == b.showFiles && a.showSummary == b.showSummary &&
         a.noAdaKeywords == b.noAdaKeywords && a.noCxxKeywords == b.noCxxKeywords &&
         a.temTrace == b.temTrace && a.makeBackups == b.makeBackups &&
         a.backupExts == b.backupExts && a.help == b.help;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<std::string> args = Split(data, size);
  std::string error;
  std::optional<kestb::Options> o = kestb::ParseCommandLine(args, error);
  if (!o) {
    // The report shows it as one line, whatever the words hold.
    FUZZ_CHECK(!error.empty() && kestb::OneLine(error).find('\n') == std::string::npos);
    return 0;
  }
  if (o->help) return 0;
  // A backup list in use is safe.
  if (o->makeBackups) {
    FUZZ_CHECK(kestb::BackupExtsProblem(kestb::ParseBackupExts(o->backupExts)).empty());
  }
  // Files that look like options cannot be written back as words: "--x".
  for (const std::string* f : {&o->dsm, &o->tem, &o->outDir}) {
    if (f->size() > 1 && (*f)[0] == '-') return 0;
  }
  std::vector<std::string> again = {o->dsm, o->tem, o->outDir};
  if (!o->banner) again.push_back("-nb");
  if (o->noIni) again.push_back("-noini");
  again.insert(again.end(),
               std::initializer_list<std::string>{"-homedir", o->homeDir, "-showfiles", TrueFalse(o->showFiles), "-showsummary",
                TrueFalse(o->showSummary), "-nokwada", TrueFalse(o->noAdaKeywords), "-nokwcxx",
                TrueFalse(o->noCxxKeywords), "-ttrace", TrueFalse(o->temTrace), "-makebak",
                TrueFalse(o->makeBackups), "-backext", o->backupExts});
  std::optional<kestb::Options> back = kestb::ParseCommandLine(again, error);
  FUZZ_CHECK(back);
  FUZZ_CHECK(Same(*o, *back));
  return 0;
}
