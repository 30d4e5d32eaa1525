// dsm_fuzz.cpp: the DSM reader and checks. Whatever the text, parsing and
// checking must end with a report, never a crash or a hang; a model they
// accept must expand through the bundled C++ template.
#include <cstddef>
#include <cstdint>
#include <fstream>
#include <optional>
#include <set>
#include <sstream>
#include <string>

#include "fuzz/FuzzSupport.h"
#include "kestb/Dsm.h"
#include "kestb/Template.h"

namespace {

std::string ReadFile(const std::string& path) {
  std::ifstream in(path);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

const kestb::Template& BundledTemplate() {
  static const kestb::Template tem = [] {
    kestb::Diagnostics d;
    const std::string dir = XK_SOURCE_DIR "/demo-home/templates/";
    kestb::Template t = kestb::ParseTemplate(
        {dir + "cpp_std.tem", ReadFile(dir + "cpp_std.tem")},
        [&dir](const std::string& name, const std::string&) {
          return std::optional<kestb::TemplateSource>({dir + name, ReadFile(dir + name)});
        },
        d);
    FUZZ_CHECK(d.Empty());
    return t;
  }();
  return tem;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  kestb::Diagnostics d;
  kestb::Model m = kestb::ParseDsm(text, "f.dsm", d);
  for (const kestb::Diagnostic& e : d.List()) FUZZ_CHECK(e.line >= 0);
  const bool parsed = d.Empty();
  kestb::CheckDsm(m, "f.dsm", {.cxx = true, .ada = true}, d);
  if (!parsed || !d.Empty()) return 0;

  // A checked model: every record comes after the records it holds by value.
  std::set<std::string> seen;
  for (const kestb::Record& r : m.records) {
    for (const kestb::Field& f : r.fields) {
      FUZZ_CHECK(!f.name.empty());
      if (f.type.listDepth == 0 && !kestb::IsBuiltinType(f.type.name))
        FUZZ_CHECK(seen.count(f.type.name) == 1);
      FUZZ_CHECK(!kestb::CxxType(f.type).empty());
    }
    seen.insert(r.name);
  }
  kestb::ExpandTemplate(BundledTemplate(), m, {"f.dsm", "cpp_std.tem"}, nullptr, d);
  return 0;
}
