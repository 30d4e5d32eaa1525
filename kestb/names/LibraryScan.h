// LibraryScan: the names that preprocessed C++ declares at global scope.
//
// The bundled templates put a model's records in a namespace named after
// the model, at global scope, where the headers they include have declared
// hundreds of names already (FILE, tm, printf, timespec, ...). The build
// runs the compiler's preprocessor over those headers and this scan over
// its output, so that kestb refuses exactly the model names that compiler
// would reject.
//
//   std::set<std::string> names;
//   kestb::ScanGlobalNames("typedef struct _IO_FILE FILE;\n", names);
//   // names: {"FILE", "struct", "typedef"} (keywords pass; _IO_FILE is
//   // reserved and left out)
//
// Names declared inside namespaces, classes, function bodies and
// parameter lists are not global and are left out; enumerators of an
// unscoped enumeration at global scope are global and are kept, as are the
// names in extern "C" blocks. Names starting with '_' or holding "__" are
// left out (kestb refuses them anyway).
#pragma once

#include <set>
#include <string>
#include <string_view>

namespace kestb {

void ScanGlobalNames(std::string_view preprocessed, std::set<std::string>& names);

}  // namespace kestb
