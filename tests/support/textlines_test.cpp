// Line and search arithmetic without a display: results checked against a
// naive reference over texts long enough to be read in several pieces,
// and the line index kept true across random edits.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "support/TextLines.h"

namespace {

using namespace textlines;

size_t NaiveLineOf(const std::string& t, size_t pos) {
  size_t n = 1;
  for (size_t i = 0; i < pos && i < t.size(); ++i) n += t[i] == '\n';
  return n;
}

size_t NaiveLineStart(const std::string& t, size_t line) {
  if (line == 0) return kNoPos;
  size_t at = 0;
  for (size_t seen = 1; seen < line; ++seen) {
    size_t nl = t.find('\n', at);
    if (nl == std::string::npos) return kNoPos;
    at = nl + 1;
  }
  return at;
}

std::string RandomText(std::mt19937& rng, size_t size) {
  std::string t(size, 'x');
  std::uniform_int_distribution<int> pick(0, 40);
  for (char& c : t) c = pick(rng) == 0 ? '\n' : char('a' + pick(rng) % 26);
  return t;
}

TEST(TextLinesSearch, WrapsOnceAndFindsAcrossPieces) {
  std::string text(700000, '.');
  text.replace(262142, 6, "needle");  // straddles the first piece's end
  text.replace(10, 6, "needle");
  MemorySource src(text);
  struct Case {
    std::string needle;
    size_t from;
    size_t expected;
  };
  const Case cases[] = {
      {"needle", 0, 10},      {"needle", 10, 10},      {"needle", 11, 262142},
      {"needle", 262143, 10}, {"needle", 699999, 10},  {"needle", 800000, 10},
      {"absent", 5, kNoPos},  {"", 0, kNoPos},         {std::string(700001, '.'), 0, kNoPos},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.needle.substr(0, 8) + " from " + std::to_string(c.from));
    EXPECT_EQ(FindWrapped(src, c.needle, c.from), c.expected);
  }
  EXPECT_EQ(FindForward(src, "needle", 262143), kNoPos);
}

TEST(TextLinesSpans, WordAndLineAroundAPosition) {
  struct Case {
    const char* text;
    size_t pos;
    const char* word;
    const char* line;
  };
  const Case cases[] = {
      {"ab cd\nef", 0, "ab", "ab cd"},  {"ab cd\nef", 1, "ab", "ab cd"},
      {"ab cd\nef", 2, "ab", "ab cd"},  // on the blank: the word that ends there
      {"ab cd\nef", 4, "cd", "ab cd"},  {"ab cd\nef", 5, "cd", "ab cd"},  // at the line's end
      {"ab cd\nef", 6, "ef", "ef"},     {"ab cd\nef", 8, "ef", "ef"},
      {"", 0, "", ""},                  {"\n\n", 1, "", ""},
      {"x\ty", 2, "y", "x\ty"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.text) + " @" + std::to_string(c.pos));
    std::string t = c.text;
    StrRange w = WordSpan(t, c.pos);
    StrRange l = LineSpan(t, c.pos);
    EXPECT_EQ(t.substr(w.start, w.length), c.word);
    EXPECT_EQ(t.substr(l.start, l.length), c.line);
  }
}

TEST(TextLinesIndex, AgreesWithANaiveCountAcrossMovesAndEdits) {
  std::mt19937 rng(7);
  std::string text = RandomText(rng, 900000);
  LineIndex index;
  ASSERT_EQ(index.BuildToNul(text.data(), text.size()), text.size());
  std::uniform_int_distribution<int> op(0, 9);
  for (int step = 0; step < 400; ++step) {
    SCOPED_TRACE(step);
    std::uniform_int_distribution<size_t> anywhere(0, text.size());
    size_t pos = anywhere(rng);
    int what = op(rng);
    if (what == 0) {
      // An edit: insert or remove a stretch holding newlines.
      if (rng() % 2 && pos < text.size()) {
        text.erase(pos, std::min<size_t>(text.size() - pos, rng() % 5000));
      } else {
        text.insert(pos, RandomText(rng, rng() % 3000));
      }
      index.Changed(pos);
      continue;
    }
    MemorySource src(text);
    if (what < 6) {
      // Mostly short moves, as a cursor makes them.
      size_t near = what < 4 ? std::min(text.size(), pos % 64 + pos) : pos;
      ASSERT_EQ(index.LineOf(src, near), NaiveLineOf(text, near));
    } else {
      size_t lines = NaiveLineOf(text, text.size());
      size_t line = std::uniform_int_distribution<size_t>(0, lines + 2)(rng);
      ASSERT_EQ(index.LineStart(src, line), NaiveLineStart(text, line)) << "line " << line;
    }
  }
}

TEST(TextLinesIndex, LineZeroAndPastTheEnd) {
  std::string text = "a\nb\n";
  MemorySource src(text);
  LineIndex index;
  const std::pair<size_t, size_t> cases[] = {{0, kNoPos}, {1, 0}, {2, 2}, {3, 4}, {4, kNoPos}};
  for (const auto& [line, start] : cases) {
    SCOPED_TRACE(line);
    EXPECT_EQ(index.LineStart(src, line), start);
  }
  EXPECT_EQ(LineEnd(src, 2), 3u);
  EXPECT_EQ(LineEnd(src, 4), 4u);
  EXPECT_EQ(SkipNewlines(src, 0, 3), kNoPos);
  // A NUL ends the text the index learns.
  std::string nul = std::string(300000, '\n') + '\0' + std::string(300000, '\n');
  EXPECT_EQ(index.BuildToNul(nul.data(), nul.size()), 300000u);
  MemorySource head(std::string_view(nul.data(), 300000));
  EXPECT_EQ(index.LineStart(head, 299999), 299998u);
  EXPECT_EQ(index.LineStart(head, 300002), kNoPos);
}

}  // namespace
