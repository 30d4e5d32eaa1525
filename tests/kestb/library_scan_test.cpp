// The scan of preprocessed headers for the names they declare at global
// scope, which a model's namespace must not take.
#include "kestb/names/LibraryScan.h"

#include <gtest/gtest.h>

namespace kestb {
namespace {

std::string Scan(std::string_view text) {
  std::set<std::string> names;
  ScanGlobalNames(text, names);
  std::string s;
  for (const std::string& n : names) s += (s.empty() ? "" : " ") + n;
  return s;
}

TEST(LibraryScan, GlobalDeclarationsOnly) {
  EXPECT_EQ("FILE extern int printf struct timespec tm typedef",
            Scan("# 1 \"x.h\"\n"
                 "typedef struct _IO_FILE FILE;\n"
                 "extern \"C\" {\n"
                 "extern int printf (const char *__restrict fmt, ...) __attribute__ ((__nothrow__));\n"
                 "struct tm { int tm_sec; long tm_gmtoff; };\n"
                 "}\n"
                 "struct timespec { long tv_sec; };\n"));
  // Namespaces, bodies and parameter lists hide their names; a global
  // unscoped enumeration's enumerators are global, a scoped one's are not.
  EXPECT_EQ("A B Mode char class const div enum f int mode_t namespace s static std using",
            Scan("namespace std { typedef unsigned long size_t; inline namespace x { int y; } }\n"
                 "int f(int count, char what[4]) { int local = count; return local; }\n"
                 "enum { A = (1 << 2), B = sizeof(int) } mode_t;\n"
                 "enum class Mode { C, D };\n"
                 "using std::div;\n"
                 "static const char* s = \"{\";\n"));
}

TEST(LibraryScan, ReservedNamesAndLiteralsAreLeftOut) {
  EXPECT_EQ("", Scan("_Float128 __x a__b; '{' \"}\" u8\"{\" 0x1f 1.5e3"));
  EXPECT_EQ("x", Scan("} } ) ] x"));  // stray closers on damaged input
}

}  // namespace
}  // namespace kestb
