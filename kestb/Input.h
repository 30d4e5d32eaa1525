// Input: kestb's input files (the DSM, the template and the templates it
// includes), read whole but never more than a limit.
//
//   kestb::InputFile in = kestb::ReadInput("shop.dsm", kestb::kMaxDsmBytes);
//   if (!in.ok) report("cannot read DSM file: " + in.error);
//
// The file is opened first (without waiting, so a FIFO or a device is
// refused rather than waited on) and everything else is asked of the open
// descriptor: a name swapped between a check and the open changes nothing.
// Its size is checked before a byte is read, and no more than the limit is
// read even when the size was wrong (a file still growing, /proc).
#pragma once

#include <cstddef>
#include <string>

#include "kestb/Template.h"

namespace kestb {

struct InputFile {
  bool ok = false;
  std::string text;
  std::string error;      // why not, when !ok
  bool missing = false;   // there is no file of that name
  bool tooLarge = false;  // larger than the limit
};

InputFile ReadInput(const std::string& path, size_t maxBytes);

// Finds @include'd templates beside the including template, then in the
// home folder and its templates/ folder (an absolute name only where it
// says); the first one that is there is the one, readable or not.
IncludeResolver MakeResolver(const std::string& homeDir);

}  // namespace kestb
