// backupext_fuzz.cpp: the -backext list and the backup names it gives.
// The input is the list, a NUL, and a generated file's name. A list that
// passes the check must give, for any name without '/', a backup name in
// the same folder (no '/'), different from the file's own name, whose
// long form differs from it too.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz/FuzzSupport.h"
#include "kestb/Output.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view in(reinterpret_cast<const char*>(data), size);
  size_t nul = in.find('\0');
  std::string_view list = in.substr(0, nul);
  std::string name(nul == std::string_view::npos ? "shop.h" : in.substr(nul + 1));
  kestb::BackupRules rules = kestb::ParseBackupExts(list);
  FUZZ_CHECK(!rules.fallback.empty());
  for (const auto& [from, to] : rules.pairs) FUZZ_CHECK(!from.empty() && !to.empty());
  if (!kestb::BackupExtsProblem(rules).empty()) return 0;
  // Output names are checked before they get here: no '/', not empty.
  if (name.empty() || name.find('/') != std::string::npos || name.find('\0') != std::string::npos)
    return 0;
  for (const std::string& b : {kestb::BackupName(name, rules), kestb::LongBackupName(name, rules)}) {
    FUZZ_CHECK(b.find('/') == std::string::npos);
    FUZZ_CHECK(b != name);
    FUZZ_CHECK(!b.empty());
  }
  // In a folder the name keeps its folder.
  std::string inFolder = "out.d/" + name;
  FUZZ_CHECK(kestb::BackupName(inFolder, rules) == "out.d/" + kestb::BackupName(name, rules));
  return 0;
}
