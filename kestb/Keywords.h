// Keywords: reserved words of the languages kestb generates.
//
// A DSM name that is a reserved word would give code that does not
// compile, so the DSM checker refuses it unless the user switched the
// check off (-nokwcxx / -nokwada true).
//
//   kestb::IsCxxKeyword("class")   // true
//   kestb::IsAdaKeyword("Record")  // true: Ada ignores case
//   kestb::CxxNameClash("errno", kestb::NameKind::Field)
//       // "a macro of the C and C++ libraries"
#pragma once

#include <string_view>

namespace kestb {

// C++20 keywords and alternative operator tokens; case-sensitive.
bool IsCxxKeyword(std::string_view word);

// What a name names in the generated C++: a member, a struct inside the
// model's namespace, or that namespace, which is at global scope.
enum class NameKind { Field, Record, Model };

// Why a name that is no keyword still cannot be carried by generated C++
// (a library macro such as errno or EOF, a name the bundled templates'
// code uses such as std or Put, a name reserved for the implementation,
// or for a model a global name of the library headers such as FILE or
// printf, or main), or empty when it can.
std::string_view CxxNameClash(std::string_view word, NameKind kind);

// Ada 2012 reserved words; compared without regard to case.
bool IsAdaKeyword(std::string_view word);

}  // namespace kestb
