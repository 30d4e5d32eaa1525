// FileLine.h: the FILE:LINE: references that compilers and kestb print at
// the start of a report line ("m.dsm:12: error: ...", "m.dsm:12:5: ..."),
// read out of one line or out of a whole report.
//
//   FileLineRef ref;
//   if (ParseFileLine("dir2/m.dsm:12:", ref)) go_to(ref.file, ref.line);   // 12
//   auto refs = FindFileLines(report, [&](std::string_view f) { return f == dsm; });
#pragma once

#include <cstddef>
#include <functional>
#include <string_view>
#include <vector>

struct FileLineRef {
  std::string_view file;  // a view into the parsed text
  long line = 0;          // from 1
  long column = 0;        // 0 when not given
};

// True when text starts with FILE:LINE or FILE:LINE:COLUMN (FILE not
// empty, LINE and COLUMN decimal digits, LINE at least 1), followed by ':',
// white space or the end of text. The first such colon-digits run ends
// FILE, so a file name may itself hold colons not followed by digits.
bool ParseFileLine(std::string_view text, FileLineRef& out);

// One line of a report that names a file and line.
struct ReportLine {
  size_t begin = 0;  // offset of the line's first byte in the report
  size_t end = 0;    // offset of its newline (or the report's end)
  long line = 0;     // the LINE it names
  long column = 0;   // its COLUMN, 0 when not given
};

// The byte offset in line of 1-based COLUMN, counted in characters as
// compilers count it (UTF-8 continuation bytes start none); a column past
// the line's end gives its end, 0 or less its start.
size_t ColumnByte(std::string_view line, long column);

// The report's lines that start with FILE:LINE: whose FILE wanted accepts,
// in report order. wanted is asked once for each run of lines naming the
// same file, not once per line.
std::vector<ReportLine> FindFileLines(std::string_view report,
                                      const std::function<bool(std::string_view file)>& wanted);
