// Keywords: reserved words of the languages kestb generates.
//
// A DSM name that is a reserved word would give code that does not
// compile, so the DSM checker refuses it unless the user switched the
// check off (-nokwcxx / -nokwada true).
//
//   kestb::IsCxxKeyword("class")   // true
//   kestb::IsAdaKeyword("Record")  // true: Ada ignores case
//   kestb::CxxNameClash("errno", false)  // "a macro of the C and C++ libraries"
#pragma once

#include <string_view>

namespace kestb {

// C++20 keywords and alternative operator tokens; case-sensitive.
bool IsCxxKeyword(std::string_view word);

// Why a name that is no keyword still cannot be carried by generated C++
// (a library macro such as errno or EOF, a name the bundled templates'
// code uses such as std or Put, or a name reserved for the
// implementation), or empty when it can. A member (field) name clashes
// with fewer names than a record or model name.
std::string_view CxxNameClash(std::string_view word, bool member);

// Ada 2012 reserved words; compared without regard to case.
bool IsAdaKeyword(std::string_view word);

}  // namespace kestb
