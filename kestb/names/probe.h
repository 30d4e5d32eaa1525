// The standard headers that the bundled templates' generated code
// includes; the build preprocesses this file to learn the global names
// they declare.
#include <iosfwd>
#include <ostream>
#include <string>
#include <vector>
