// template_fuzz.cpp: the template language. The input is a template that
// may @include itself or a small fixed one; a template that parses without
// errors must expand over a fixed model without failing.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "fuzz/FuzzSupport.h"
#include "kestb/Dsm.h"
#include "kestb/Template.h"

namespace {

const kestb::Model& FixedModel() {
  static const kestb::Model model = [] {
    kestb::Diagnostics d;
    kestb::Model m = kestb::ParseDsm(
        "model Shop;\n"
        "// A buyer.\n"
        "record Person { name : string; tags : list of string;  // free\n"
        "  pal : Pet; pets : list of list of Pet; }\n"
        "record Pet { age : int; }\n"
        "record Empty {}\n",
        "s.dsm", d);
    kestb::CheckDsm(m, "s.dsm", {}, d);
    FUZZ_CHECK(d.Empty());
    return m;
  }();
  return model;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  kestb::IncludeResolver resolve =
      [&text](const std::string& name,
              const std::string&) -> std::optional<kestb::TemplateSource> {
    if (name == "self.tem") return kestb::TemplateSource{"self.tem", text};
    if (name == "part.tem")
      return kestb::TemplateSource{"part.tem", "@foreach field\n${field|cap}${comma}\n@end\n"};
    return std::nullopt;
  };
  kestb::Diagnostics d;
  kestb::Template t = kestb::ParseTemplate({"t.tem", text}, resolve, d);
  if (!d.Empty()) return 0;
  kestb::ExpandTemplate(t, FixedModel(), {"s.dsm", "t.tem"}, nullptr, d);
  for (const kestb::Diagnostic& e : d.List()) FUZZ_CHECK(e.file == "t.tem" || e.file == "self.tem");
  return 0;
}
