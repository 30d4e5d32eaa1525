// Generator: one kestb run, from the command line to the report.
//
// Reads the DSM and the template, checks both, expands the template and
// writes the files; everything it has to say goes to `report` (kestb's
// standard output), one line per message:
//
//   kestb: shop.dsm with cpp_std.tem into out       (unless -nb)
//   shop.dsm:7: error: unknown type 'Strng' for field 'name'
//   cpp_std.tem:12: trace: @foreach record          (-ttrace true)
//   wrote out/shop.h                                (-showfiles true)
//   backup out/shop.bkh                             (-showfiles, -makebak)
//   kestb: 2 files written                          (or: N errors, ...)
//   summary: 3 records, 9 fields, 2 files, 0 errors (-showsummary true)
//
// No file is written unless the DSM and the template are free of errors.
//
//   int status = kestb::Run({"shop.dsm", "cpp_std.tem", "out"}, std::cout);
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace kestb {

// Exit status of a run.
enum Status { kOk = 0, kFailed = 1, kBadUsage = 2 };

// args excludes the program name.
int Run(const std::vector<std::string>& args, std::ostream& report);

}  // namespace kestb
