// Keywords: reserved words of the languages kestb generates.
//
// A DSM name that is a reserved word would give code that does not
// compile, so the DSM checker refuses it unless the user switched the
// check off (-nokwcxx / -nokwada true).
//
//   kestb::IsCxxKeyword("class")   // true
//   kestb::IsAdaKeyword("Record")  // true: Ada ignores case
#pragma once

#include <string_view>

namespace kestb {

// C++20 keywords and alternative operator tokens; case-sensitive.
bool IsCxxKeyword(std::string_view word);

// Ada 2012 reserved words; compared without regard to case.
bool IsAdaKeyword(std::string_view word);

}  // namespace kestb
