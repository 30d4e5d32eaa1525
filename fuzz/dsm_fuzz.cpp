// dsm_fuzz.cpp: the DSM reader and checks. Whatever the text, parsing and
// checking must end with a report, never a crash or a hang; a model they
// accept must expand through the bundled C++ template. Recipe inputs
// ('!' first) build long and deep models from a few bytes.
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

// Inputs that start with '!' are a recipe for a large model instead of
// the model itself, so that a short input reaches the shapes that small
// texts never have: each three bytes (shape, count high, count low) add
// one shape of up to 32,767 parts, and the text stops growing at 1 MB.
std::string FromRecipe(const uint8_t* data, size_t size) {
  std::string text;
  for (size_t i = 1; i + 2 < size && text.size() < (1u << 20); i += 3) {
    const size_t n = size_t(data[i + 1] & 0x7F) << 8 | data[i + 2];
    const std::string id = std::to_string(i);
    switch (data[i] % 6) {
      case 0:  // a by-value chain, closed into a ring when the count is odd
        for (size_t k = 0; k + 1 < n; ++k) {
          text += "record C" + id + "_" + std::to_string(k) + " { f : C" + id + "_" +
                  std::to_string(k + 1) + "; }\n";
        }
        text += "record C" + id + "_" + std::to_string(n ? n - 1 : 0) + " { f : " +
                (n % 2 ? "C" + id + "_0" : std::string("int")) + "; }\n";
        break;
      case 1:  // lists nested 2n deep
        text += "record L" + id + " { f : ";
        for (size_t k = 0; k < 2 * n; ++k) text += "list of ";
        text += "int; }\n";
        break;
      case 2:  // n comment lines above a record
        for (size_t k = 0; k < n; ++k) text += "// \\ comment\\\n";
        text += "record K" + id + " {}\n";
        break;
      case 3:  // a record with n fields
        text += "record F" + id + " {\n";
        for (size_t k = 0; k < n; ++k) text += "  f" + std::to_string(k) + " : string;\n";
        text += "}\n";
        break;
      case 4:  // n records left open
        for (size_t k = 0; k < n; ++k) text += "record O" + id + "_" + std::to_string(k) + " {\n";
        break;
      default:  // a long line of one name
        text += "record " + std::string(n * 16 + 1, 'N') + " { x : int; }\n";
        break;
    }
  }
  return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text = size > 0 && data[0] == '!'
                               ? FromRecipe(data, size)
                               : std::string(reinterpret_cast<const char*>(data), size);
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
  // Expanding a large model only measures output volume (bench/ does);
  // the readers and checks are what the long inputs are for.
  if (text.size() > (256u << 10)) return 0;
  kestb::ExpandTemplate(BundledTemplate(), m, {"f.dsm", "cpp_std.tem"}, nullptr, d);
  return 0;
}
