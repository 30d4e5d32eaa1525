// FILE:LINE references: what counts as one, and the report lines that name
// a wanted file, each file asked about once per run of lines.
#include <gtest/gtest.h>

#include <string>

#include "support/FileLine.h"

namespace {

TEST(FileLine, ParsesTheShapesToolsPrint) {
  struct Case {
    const char* text;
    const char* expected;  // "file|line|column", or "-" for no reference
  };
  const Case cases[] = {
      {"m.dsm:12: error: bad", "m.dsm|12|0"},
      {"dir2/m.dsm:12:", "dir2/m.dsm|12|0"},
      {"dir2/m.dsm:12:5: error", "dir2/m.dsm|12|5"},
      {"m.dsm:12", "m.dsm|12|0"},
      {"C:\\x\\m.dsm:7: error", "C:\\x\\m.dsm|7|0"},  // a colon not followed by digits stays in FILE
      {"a:b:3: e", "a:b|3|0"},
      {":12: error", "-"},
      {"m.dsm:0: error", "-"},
      {"m.dsm:12x: error", "-"},
      {"m.dsm: error: whole file", "-"},
      {"wrote /tmp/A.h", "-"},
      {"m.dsm:99999999999999999999999:", "m.dsm|9223372036854775807|0"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    FileLineRef ref;
    std::string got = ParseFileLine(c.text, ref)
                          ? std::string(ref.file) + "|" + std::to_string(ref.line) + "|" + std::to_string(ref.column)
                          : "-";
    EXPECT_EQ(got, c.expected);
  }
}

TEST(FileLine, FindsTheWantedFilesLinesAndAsksOncePerRun) {
  const std::string report =
      "m.dsm:3: error: a\n"       // 0..17
      "m.dsm:5: error: b\n"       // 18..35
      "t.tem:9: error: c\n"       // 36..53
      "m.dsm:7 no colon after\n"  // not a reference line
      "wrote /x/m.dsm:8:\n"
      "m.dsm:8:2: error: d";      // no final newline
  int asked = 0;
  auto found = FindFileLines(report, [&](std::string_view f) {
    ++asked;
    return f == "m.dsm";
  });
  std::string got;
  for (const ReportLine& r : found)
    got += std::to_string(r.begin) + "-" + std::to_string(r.end) + ":" + std::to_string(r.line) + ":" +
           std::to_string(r.column) + " ";
  EXPECT_EQ(got, "0-17:3:0 18-35:5:0 " + std::to_string(report.rfind('\n') + 1) + "-" +
                     std::to_string(report.size()) + ":8:2 ");
  EXPECT_EQ(asked, 4) << "m.dsm, t.tem, \"wrote /x/m.dsm\", m.dsm again";
}

TEST(FileLine, ColumnsCountCharactersAndStopAtTheLineEnd) {
  const std::string line = "a\xC3\xA9 bc";  // a, e-acute (2 bytes), blank, b, c: 5 characters
  const long columns[] = {0, 1, 2, 3, 5, 6, 7, 100};
  const size_t bytes[] = {0, 0, 1, 3, 5, 6, 6, 6};
  for (size_t i = 0; i < std::size(columns); ++i) {
    SCOPED_TRACE(columns[i]);
    EXPECT_EQ(ColumnByte(line, columns[i]), bytes[i]);
  }
}

}  // namespace
