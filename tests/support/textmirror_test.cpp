// UTF-8 facts and the text copy's position conversion, checked against a
// plain model of the text as one code point per position.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "support/TextMirror.h"
#include "support/Utf8.h"

namespace {

TEST(Utf8, StrictValidityLatin1RoundTripAndRepair) {
  struct Row {
    const char* bytes;
    size_t valid;
  } rows[] = {
      {"a\xc3\xa9z", 4},          {"\xe2\x80\x94", 3},      {"\xf0\x9f\x98\x80", 4},
      {"a\xc0\xaf", 1},            // overlong '/'
      {"\xe0\x80\xaf", 0},         // overlong, three bytes
      {"x\xed\xa0\x80", 1},        // surrogate
      {"\xf4\x90\x80\x80", 0},     // above U+10FFFF
      {"ab\xc3", 2},               // cut short
      {"caf\xe9 ok", 3},           // Latin-1 byte
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.bytes);
    EXPECT_EQ(utf8::ValidPrefix(r.bytes), r.valid);
  }
  std::string all;
  for (int c = 1; c < 256; ++c) all += char(c);
  std::string shown = utf8::FromLatin1(all);
  EXPECT_TRUE(utf8::IsValid(shown));
  EXPECT_EQ(utf8::CountChars(shown), all.size());
  std::string back;
  ASSERT_TRUE(utf8::ToLatin1(shown, back));
  EXPECT_EQ(back, all);
  size_t bad = 0;
  EXPECT_FALSE(utf8::ToLatin1("ab\n\xe2\x82\xac", back, &bad));  // the euro sign
  EXPECT_EQ(bad, 3u);
  EXPECT_EQ(utf8::Repair("M\xc3\xbcller/caf\xe9.dsm"), "M\xc3\xbcller/caf\xc3\xa9.dsm");
}

// The model: the text as code points, which is what a UTF-8 widget counts.
std::u32string Decode(const std::string& s) {
  std::u32string out;
  for (size_t i = 0; i < s.size();) {
    size_t n = utf8::SequenceLength(std::string_view(s).substr(i));
    unsigned char c = static_cast<unsigned char>(s[i]);
    char32_t cp = n == 1 ? c : n == 2 ? c & 0x1F : n == 3 ? c & 0x0F : c & 0x07;
    for (size_t k = 1; k < n; ++k) cp = (cp << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3F);
    out += cp;
    i += n;
  }
  return out;
}

TEST(TextMirror, PositionsFollowRandomEditsAcrossManyStrides) {
  const char* pieces[] = {"a", "\n", "\xc3\xa9", "\xe2\x80\x94", "\xf0\x9f\x98\x80", "record ", "//  M\xc3\xbcller\n"};
  std::mt19937 rng(16);
  auto randomText = [&](size_t n) {
    std::string s;
    while (s.size() < n) s += pieces[rng() % 7];
    return s;
  };
  TextMirror copy(TextMirror::Units::kUtf8Chars);
  std::vector<TextMirror::Edit> seen;
  std::string lastInserted;
  copy.AddListener([&](const TextMirror::Edit& e) {
    seen.push_back(e);
    lastInserted.assign(e.inserted);
  });
  copy.Assign(randomText(150000));
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_TRUE(seen[0].whole);
  std::string model = copy.Bytes();
  for (int round = 0; round < 60; ++round) {
    SCOPED_TRACE(round);
    std::u32string cps = Decode(model);
    size_t chars = cps.size();
    ASSERT_EQ(copy.Positions(), chars);
    size_t from = rng() % (chars + 1), to = std::min(chars, from + rng() % 40);
    std::string text = round % 5 ? randomText(rng() % 30) : randomText(70000);
    copy.Replace(from, to, text);
    cps.replace(from, to - from, Decode(text));
    model = copy.Bytes();
    ASSERT_EQ(Decode(model), cps);
    EXPECT_EQ(lastInserted, text);
    // Conversions both ways at random positions agree with the model.
    std::vector<size_t> starts;  // byte offset of every position
    for (size_t i = 0; i < model.size(); i += utf8::SequenceLength(std::string_view(model).substr(i)))
      starts.push_back(i);
    starts.push_back(model.size());
    for (int k = 0; k < 20; ++k) {
      size_t p = rng() % starts.size();
      ASSERT_EQ(copy.ByteOf(p), starts[p]);
      ASSERT_EQ(copy.PosOf(starts[p]), p);
    }
  }
  EXPECT_EQ(copy.ByteOf(copy.Positions() + 5), copy.Bytes().size());
}

TEST(TextMirror, InvalidTailIsDroppedAsTheWidgetDropsIt) {
  TextMirror copy(TextMirror::Units::kUtf8Chars);
  copy.Assign("ab\xff" "cd");
  EXPECT_EQ(copy.Bytes(), "ab");
  copy.Replace(1, 1, "\xc3\xa9\xe9x");
  EXPECT_EQ(copy.Bytes(), "a\xc3\xa9" "b");
  TextMirror bytes(TextMirror::Units::kBytes);
  bytes.Assign("ab\xff" "cd");
  bytes.Replace(3, 4, "\xe9");
  EXPECT_EQ(bytes.Bytes(), "ab\xff\xe9" "d");
  EXPECT_EQ(bytes.ByteOf(4), 4u);
}

}  // namespace
