// FuzzSupport.h: what every fuzzer here shares: a check that stops the run
// with the failed condition, and a quiet warning printer so that the
// messages of bad input do not drown the fuzzer's own output.
//
//   FUZZ_CHECK(parsed.specs.empty() || !parsed.error);
#pragma once

#include <cstdarg>
#include <cstddef>
#include <cstdio>
#include <cstdlib>

#include "wcl/WcWarnings.h"

#define FUZZ_CHECK(cond)                                                    \
  do {                                                                      \
    if (!(cond)) {                                                          \
      std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, \
                   #cond);                                                  \
      std::abort();                                                         \
    }                                                                       \
  } while (0)

// libX11 compares quark names with memcmp over the longer length and
// stops at the first difference; a strict check would report those reads
// past a short stored name on every run. A fuzzer may add options of its
// own by defining XK_FUZZ_ASAN_OPTIONS before including this header.
#ifndef XK_FUZZ_ASAN_OPTIONS
#define XK_FUZZ_ASAN_OPTIONS ""
#endif
extern "C" const char* __asan_default_options() { return "strict_memcmp=0" XK_FUZZ_ASAN_OPTIONS; }

namespace xk::fuzz {

// Discards a warning; its pieces are still read, so a bad pointer among
// them is caught by the sanitizers.
inline void QuietPrinter(const char* piece, ...) {
  volatile size_t sum = 0;
  if (!piece) return;
  va_list ap;
  va_start(ap, piece);
  for (const char* p = piece; p; p = va_arg(ap, const char*))
    for (; *p; ++p) sum = sum + static_cast<unsigned char>(*p);
  va_end(ap);
}

inline void Quiet() { WcWarningPrinter = QuietPrinter; }

}  // namespace xk::fuzz
