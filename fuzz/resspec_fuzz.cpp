// resspec_fuzz.cpp: resource specifications as WcSetValue reads them. A
// parse is all or nothing, offsets stay inside the text, and every error
// has a message with exactly the two %s its callers fill in.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz/FuzzSupport.h"
#include "wcl/WcResSpec.h"
#include "wcl/WcWarnings.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const wcl::ResSpecParse p = wcl::ParseResSpecs(text);
  if (p.error != wcl::ResSpecError::Ok) {
    FUZZ_CHECK(p.specs.empty());
    FUZZ_CHECK(p.errorOffset <= text.size());
    const wcl::ResSpecMessage& msg = wcl::ResSpecErrorMessage(p.error);
    FUZZ_CHECK(msg.name && msg.text);
    FUZZ_CHECK(WcCountStringDirectives(msg.text) == 2);
    return 0;
  }
  size_t last = 0;
  for (const wcl::ResSpec& s : p.specs) {
    FUZZ_CHECK(s.offset < text.size() && s.offset >= last);
    last = s.offset;
    FUZZ_CHECK(s.hasType || s.type.empty());
    FUZZ_CHECK(!s.hasType || !s.type.empty());
    // Every part is text that was in the input.
    FUZZ_CHECK(text.find(s.resource) != std::string_view::npos);
    FUZZ_CHECK(text.find(s.target) != std::string_view::npos);
  }
  return 0;
}
