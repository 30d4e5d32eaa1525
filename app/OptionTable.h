// OptionTable: xkest's own command-line options, handed to the toolkit at
// start-up. Each option sets one resource ("*templatePath", "*wcTrace", ...)
// in the resource database, so a command-line setting and a resource file
// entry have exactly the same effect.
//
//   XtInitialize(argv[0], "xkest", xkest::kOptionTable, xkest::kOptionCount, &argc, argv);
#pragma once

#include <X11/Intrinsic.h>

namespace xkest {

inline constexpr Cardinal kOptionCount = 24;

// The 24 rows, in their fixed order. The toolkit takes a non-const table
// but never writes to it.
extern XrmOptionDescRec kOptionTable[kOptionCount];

}  // namespace xkest
