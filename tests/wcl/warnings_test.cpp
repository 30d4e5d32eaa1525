// Warnings: text choice between database and default, directive counting and
// its mismatch reports, formatting limits, the printer and WcBuffer growth.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "common/Warnings.h"
#include "wcl/WcWarnings.h"

namespace {

class Warnings : public ::testing::Test {
 protected:
  void SetUp() override { WcErrorDatabase = nullptr; }
  void TearDown() override { WcErrorDatabase = nullptr; }
  // Loads a message database written from the given resource lines.
  void UseDatabase(const std::string& lines) {
    std::string path = ::testing::TempDir() + "/wc_errdb";
    std::ofstream(path) << lines;
    WcLoadErrorDatabase(nullptr, path.c_str());
    ASSERT_NE(WcErrorDatabase, nullptr);
  }
  xk::test::CaptureWarnings printed_;
};

TEST_F(Warnings, DefaultTextIsFormatted) {
  WcWarning2(nullptr, "WcCreate", "notFound", "Wcl Warning: %s of %s", "a", "b");
  WcWarning0(nullptr, "WcCreate", "plain", "Wcl Warning: 100%% sure");
  ASSERT_EQ(printed_.Messages().size(), 2u);
  EXPECT_EQ(printed_.Messages()[0], "Wcl Warning: a of b");
  EXPECT_EQ(printed_.Messages()[1], "Wcl Warning: 100%% sure");  // no arguments: unformatted
}

TEST_F(Warnings, DefaultTextWithWrongCountIsAProgrammingError) {
  WcWarning0(nullptr, "f", "m", "Wcl Warning: %s");
  WcWarning3(nullptr, "f", "m", "%s%s%s%s%s%s%s%s%s%s%s", "1", "2", "3");
  ASSERT_EQ(printed_.Messages().size(), 2u);
  EXPECT_EQ(printed_.Messages()[0],
            "Wcl Warning: Wcl Programming Error: Wrong number of `%s' in "
            "Default Error Msg ( expected 0, found 1) - Default Error Msg is: "
            "Wcl Warning: %s");
  EXPECT_EQ(printed_.Messages()[1],
            "Wcl Warning: Wcl Programming Error: Wrong number of `%s' in "
            "Default Error Msg ( expected 3, found ?) - Default Error Msg is: "
            "%s%s%s%s%s%s%s%s%s%s%s");
}

TEST_F(Warnings, NothingToSayPrintsNothing) {
  WcWarning0(nullptr, "f", "m", nullptr);
  WcWarning1(nullptr, "f", "m", "", "x");
  EXPECT_TRUE(printed_.Messages().empty());
}

TEST_F(Warnings, DatabaseTextReplacesDefault) {
  UseDatabase(
      "XmpPopup.noParams: DB says %s\n"
      "*notFound: any operation: %s not here\n"
      "Op.none: no directives\n"
      "Op.pct: 50%% of %s\n"
      "Op.pct0: 50%% flat\n"
      "Op.blank:\n");
  WcWarning1(nullptr, "XmpPopup", "noParams", "default %s", "x");
  WcWarning1(nullptr, "WcCreate", "notFound", "default %s", "w");
  WcWarning1(nullptr, "Op", "none", "default %s", "x");
  WcWarning1(nullptr, "Op", "pct", "default %s", "half");
  WcWarning0(nullptr, "Op", "pct0", "default");
  WcWarning0(nullptr, "Op", "blank", "default used");
  std::vector<std::string> expected = {
      "DB says x",
      "any operation: w not here",
      "Wcl Warning: Wcl Error DB Problem: Wrong number of `%s' in message "
      "from ErrorDB ( expected 1, found 0) - message from Error DB is: no "
      "directives",
      "50% of half",
      "50%% flat",
      "default used",
  };
  EXPECT_EQ(printed_.Messages(), expected);
  EXPECT_STREQ(WcErrorDatabaseText(nullptr, "XmpPopup", "noParams"), "DB says %s");
  EXPECT_EQ(WcErrorDatabaseText(nullptr, "XmpPopup", "other"), nullptr);
}

TEST_F(Warnings, MissingDatabaseFileMeansNoDatabase) {
  WcLoadErrorDatabase(nullptr, "/nonexistent/WclErrorDB");
  EXPECT_EQ(WcErrorDatabase, nullptr);
  EXPECT_TRUE(printed_.Messages().empty());
}

TEST_F(Warnings, OverlongKeyIsReportedAndDefaultUsed) {
  UseDatabase("*m: from db\n");
  std::string tooLong(8190, 'f');  // with "m": 8191 characters
  std::string fits(8189, 'f');     // with "m": 8190 characters
  WcWarning0(nullptr, tooLong.c_str(), "m", "default");
  ASSERT_EQ(printed_.Messages().size(), 2u);
  EXPECT_EQ(printed_.Messages()[0].substr(0, 65),
            "Wcl Warning: WcErrorDatabaseText: strlen(func+msgName) > BUFSIZ f");
  EXPECT_TRUE(printed_.Messages()[0].ends_with("f) and msgName = (m)")) << printed_.Messages()[0].substr(8100);
  EXPECT_EQ(printed_.Messages()[1], "default");
  printed_.Clear();
  WcWarning0(nullptr, fits.c_str(), "m", "default");
  EXPECT_EQ(printed_.Messages(), std::vector<std::string>{"from db"});
}

TEST(WcCountStringDirectives, Table) {
  struct Row { const char* text; int count; } rows[] = {
      {nullptr, 0},     {"", 0},          {"plain", 0},      {"%s", 1},
      {"%-20s|%s", 2},  {"%+ #5.3ls", 1}, {"%d", 0},         {"%s %d", 0},
      {"%*s", 0},       {"%.*s", 0},      {"100%%", 0},      {"%%s", 0},
      {"%s%%%s", 2},    {"%", 0},         {"%l", 0},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.text ? r.text : "(null)");
    EXPECT_EQ(WcCountStringDirectives(r.text), r.count);
  }
}

TEST_F(Warnings, FormattingHonoursWidthAndPrecisionSafely) {
  WcFormatWarning(3, "[%-4s][%4s][%.2s]", nullptr, "a", "b", "cdef");
  WcFormatWarning(2, "[%ls][%s]", "", "narrow", nullptr);  // 'l' never reads wide
  ASSERT_EQ(printed_.Messages().size(), 2u);
  EXPECT_EQ(printed_.Messages()[0], "[a   ][   b][cd]");
  EXPECT_EQ(printed_.Messages()[1], "[narrow][(null)]");
}

TEST_F(Warnings, LongFormattedMessageIsNotCut) {
  std::string big(200000, 'x');
  WcWarning1(nullptr, "f", "m", "<%s>", big.c_str());
  WcWarning0(nullptr, "f", "w", nullptr);
  WcWarning1(nullptr, "f", "m", "%999999999s", "y");  // width capped
  ASSERT_EQ(printed_.Messages().size(), 2u);
  EXPECT_EQ(printed_.Messages()[0], "<" + big + ">");
  EXPECT_LE(printed_.Messages()[1].size(), 81920u);
  EXPECT_EQ(printed_.Messages()[1].back(), 'y');
}

TEST(WcPrintToStderr, WritesPiecesAndNewline) {
  testing::internal::CaptureStderr();
  WcPrintToStderr("a", "b", "c", (char*)nullptr);
  WcPrintToStderr("", "ignored", (char*)nullptr);
  WcPrintToStderr(nullptr, "ignored", (char*)nullptr);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "abc\n\n\n");
}

TEST(WcBuffer, GrowthSizes) {
  struct Row { size_t startLength; size_t append; size_t size; } rows[] = {
      {0, 3, 8192}, {100, 9000, 16384}, {0, 20000, 20001}, {0, 8192, 16384},
      {0, 8191, 8192},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.append);
    WcBuffer* b = WcBuffer_New();
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->size, 8192u);
    std::string start(r.startLength, 's'), more(r.append, 'm');
    WcBuffer_Append(b, start.c_str(), (char*)nullptr);
    WcBuffer_Append(b, more.c_str(), (char*)nullptr);
    EXPECT_EQ(b->size, r.size);
    EXPECT_EQ(b->length, r.startLength + r.append);
    EXPECT_EQ(WcBuffer_Text(b), start + more);
    WcBuffer_Free(b);
  }
}

TEST(WcBuffer, AppendsSeveralPiecesAndToleratesNull) {
  WcBuffer* b = WcBuffer_New();
  WcBuffer_Append(b, "one ", "two ", "three", (char*)nullptr);
  WcBuffer_Append(b, (char*)nullptr, (char*)nullptr);
  EXPECT_STREQ(WcBuffer_Text(b), "one two three");
  std::string half(5000, 'h');
  WcBuffer_Append(b, half.c_str(), (char*)nullptr);
  std::string before = WcBuffer_Text(b);
  WcBuffer_Append(b, WcBuffer_Text(b), (char*)nullptr);  // its own text, while growing
  EXPECT_EQ(WcBuffer_Text(b), before + before);
  WcBuffer_Append(nullptr, "x", (char*)nullptr);
  EXPECT_STREQ(WcBuffer_Text(nullptr), "");
  WcBuffer_Free(b);
  WcBuffer_Free(nullptr);
}

}  // namespace
