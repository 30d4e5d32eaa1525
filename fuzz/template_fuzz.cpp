// template_fuzz.cpp: the template language. The input is a template that
// may @include itself or a small fixed one; a template that parses without
// errors must expand over a fixed model without failing. Recipe inputs
// ('!' first) build deep, long and include-heavy templates from a few
// bytes.
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

// Inputs that start with '!' are a recipe for a large template instead of
// the template itself: each three bytes (shape, count high, count low) add
// one shape of up to 32,767 parts, and the text stops growing at 1 MB.
std::string FromRecipe(const uint8_t* data, size_t size) {
  std::string text;
  for (size_t i = 1; i + 2 < size && text.size() < (1u << 20); i += 3) {
    const size_t n = size_t(data[i + 1] & 0x7F) << 8 | data[i + 2];
    switch (data[i] % 6) {
      case 0:  // blocks nested n deep, closed
        text += "@file d" + std::to_string(i) + "\n";
        for (size_t k = 0; k < n; ++k) text += k % 2 ? "@if first\n" : "@foreach record\n";
        for (size_t k = 0; k < n; ++k) text += "@end\n";
        text += "@end\n";
        break;
      case 1:  // n includes of the input itself and of a part
        for (size_t k = 0; k < n; ++k) text += k % 2 ? "@include self.tem\n" : "@include part.tem\n";
        break;
      case 2:  // n lines of placeholders in a record loop
        text += "@foreach record\n@file r${record}" + std::to_string(i) + "\n";
        for (size_t k = 0; k < n; ++k) text += "${record|upper} ${fields} ${records} ${comma}\n";
        text += "@end\n@end\n";
        break;
      case 3:  // one line of n placeholders
        text += "@file p" + std::to_string(i) + "\n";
        for (size_t k = 0; k < n; ++k) text += "${model|lower|cap}$$";
        text += "\n@end\n";
        break;
      case 4:  // n files of one name
        for (size_t k = 0; k < n; ++k) text += "@foreach record\n@file same\n@end\n@end\n";
        break;
      default:  // n blocks left open
        for (size_t k = 0; k < n; ++k) text += "@if last\n";
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
  kestb::IncludeResolver resolve =
      [&text](const std::string& name,
              const std::string&) -> std::optional<kestb::TemplateSource> {
    // A large text pasted into itself a thousand times only measures the
    // bound on included text (16 MB), seconds under the sanitizers.
    if (name == "self.tem" && text.size() <= (64u << 10)) {
      return kestb::TemplateSource{"self.tem", text};
    }
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
