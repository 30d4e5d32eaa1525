// Options: command-line parsing.
#include "kestb/Options.h"

#include "kestb/Output.h"

namespace kestb {

const char* const kUsage =
    "usage: kestb DSM TEMPLATE OUTDIR [-nb] [-noini] [-homedir DIR]"
    " [-showfiles B] [-showsummary B] [-nokwada B] [-nokwcxx B]"
    " [-ttrace B] [-makebak B] [-backext \"PAIRS\"]   (B: true or false)";

namespace {

bool IsOption(const std::string& word) {
  static const char* const kNames[] = {
      "-nb",     "-noini",   "-homedir", "-showfiles", "-showsummary",
      "-nokwada", "-nokwcxx", "-ttrace",  "-makebak",   "-backext"};
  for (const char* n : kNames) {
    if (word == n) return true;
  }
  return false;
}

}  // namespace

std::optional<Options> ParseCommandLine(const std::vector<std::string>& args,
                                        std::string& error) {
  Options o;
  struct Flag {
    const char* name;
    bool Options::*field;
  };
  static const Flag kFlags[] = {
      {"-showfiles", &Options::showFiles},
      {"-showsummary", &Options::showSummary},
      {"-nokwada", &Options::noAdaKeywords},
      {"-nokwcxx", &Options::noCxxKeywords},
      {"-ttrace", &Options::temTrace},
      {"-makebak", &Options::makeBackups},
  };
  std::vector<std::string> files;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "-h" || a == "--help") {
      o.help = true;
      return o;
    }
    if (a == "-nb") {
      o.banner = false;
      continue;
    }
    if (a == "-noini") {
      o.noIni = true;
      continue;
    }
    if (a.size() > 1 && a[0] == '-') {
      const Flag* flag = nullptr;
      for (const Flag& f : kFlags) {
        if (a == f.name) flag = &f;
      }
      if (flag == nullptr && a != "-homedir" && a != "-backext") {
        error = "unknown option " + a;
        return std::nullopt;
      }
      // xkest writes "-homedir $KESTHOME" unquoted, so an empty KESTHOME
      // leaves the next option where the folder should be.
      if (a == "-homedir" && i + 1 < args.size() && IsOption(args[i + 1])) {
        o.homeDir.clear();
        continue;
      }
      if (i + 1 >= args.size()) {
        error = "option " + a + " needs a value";
        return std::nullopt;
      }
      const std::string& v = args[++i];
      if (a == "-homedir") {
        o.homeDir = v;
      } else if (a == "-backext") {
        o.backupExts = v;
      } else if (v == "true" || v == "false") {
        o.*(flag->field) = v == "true";
      } else {
        error = "option " + a + " needs true or false, not '" + v + "'";
        return std::nullopt;
      }
      continue;
    }
    files.push_back(a);
  }
  if (files.size() != 3) {
    error = files.size() < 3
                ? "expected DSM, TEMPLATE and OUTDIR, got " +
                      std::to_string(files.size()) + " of them"
                : "unexpected argument '" + files[3] + "'";
    return std::nullopt;
  }
  if (o.makeBackups) {
    std::string why = BackupExtsProblem(ParseBackupExts(o.backupExts));
    if (!why.empty()) {
      error = "-backext: " + why;
      return std::nullopt;
    }
  }
  o.dsm = files[0];
  o.tem = files[1];
  o.outDir = files[2];
  return o;
}

}  // namespace kestb
