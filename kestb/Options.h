// Options: kestb's command line.
//
//   kestb DSM TEMPLATE OUTDIR -nb -noini -homedir DIR -showfiles B
//         -showsummary B -nokwada B -nokwcxx B -ttrace B -makebak B
//         -backext "PAIRS"
//
// B is true or false. Options may come in any order after, before or
// between the three file arguments; a later option overrides an earlier
// one.
//
//   std::string err;
//   std::optional<kestb::Options> o = kestb::ParseCommandLine(args, err);
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace kestb {

struct Options {
  std::string dsm, tem, outDir;
  std::string homeDir;   // where @include looks besides the template's folder
  bool banner = true;    // -nb turns the first report line off
  bool noIni = false;    // accepted; kestb reads no initialization file
  bool showFiles = true;
  bool showSummary = false;
  bool noAdaKeywords = false;
  bool noCxxKeywords = false;
  bool temTrace = false;
  bool makeBackups = false;
  std::string backupExts = "C bkC h bkh cxx bkc hxx bkh";
  bool help = false;     // -h or --help: print the usage and stop
};

// args excludes the program name. On failure returns nullopt and sets
// error to one line saying what is wrong.
std::optional<Options> ParseCommandLine(const std::vector<std::string>& args,
                                        std::string& error);

extern const char* const kUsage;

}  // namespace kestb
