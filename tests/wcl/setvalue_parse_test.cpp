// Resource-specification parsing: accepted forms, the eight syntax errors
// and where each is reported, and robustness on arbitrary text.
#include "wcl/WcResSpec.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace {

using wcl::ParseResSpecs;
using wcl::ResSpecError;

// "target|resource|type|value" for each entry, ";" between them.
std::string Dump(const wcl::ResSpecParse& p) {
  std::string out;
  for (const wcl::ResSpec& s : p.specs) {
    if (!out.empty()) out += ";";
    out += s.target + "|" + s.resource + "|" + (s.hasType ? s.type : "-") + "|" + s.value;
  }
  return out;
}

TEST(ResSpecParse, AcceptedForms) {
  struct Case {
    const char* text;
    const char* expected;
  } cases[] = {
      {"*label.labelString: Hello  there \t", "*label|labelString|-|Hello  there"},
      {"app.main.form.ok.sensitive:False", "app.main.form.ok|sensitive|-|False"},
      {"^.width(Dimension): 40", "^|width|Dimension|40"},
      {"^width: 40", "^|width|-|40"},
      {"~^height: 3", "~^|height|-|3"},
      {"this.ok.x: 1", "this.ok|x|-|1"},
      {"*a.value:", "*a|value|-|"},
      {"*a.value:   \n", "*a|value|-|"},
      {"  ( *a.width: 4 )", "*a|width|-|4"},
      {"(*a.width: 4) (*b.height(Int): 5)", "*a|width|-|4;*b|height|Int|5"},
      {"(*a.w: 4)(*a.h: 5)  ", "*a|w|-|4;*a|h|-|5"},
      {"(*a.labelString: f(x) g( y ))", "*a|labelString|-|f(x) g( y )"},
      // Without parentheses the value runs to the end, whatever follows.
      {"*a.x: 1 (*b.y: 2)", "*a|x|-|1 (*b.y: 2)"},
      // Bytes above 127 are text, not blanks: UTF-8 values stay whole.
      {"*a.labelString: Gr\xC3\xB6\xC3\x9F", "*a|labelString|-|Gr\xC3\xB6\xC3\x9F"},
      {"*a.labelString: \xC3\xA9t\xC3\xA9", "*a|labelString|-|\xC3\xA9t\xC3\xA9"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    const wcl::ResSpecParse p = ParseResSpecs(c.text);
    EXPECT_EQ(p.error, ResSpecError::Ok);
    EXPECT_EQ(Dump(p), c.expected);
  }
}

TEST(ResSpecParse, SyntaxErrorsCancelEverythingAndPointAtTheFailingSpec) {
  struct Case {
    const char* text;
    ResSpecError error;
    std::size_t offset;
  } cases[] = {
      {"", ResSpecError::FoundNul, 0},
      {"  ( (  ", ResSpecError::FoundNul, 0},
      {"label: x", ResSpecError::MissingName, 0},
      {"*a*label: x", ResSpecError::MissingName, 0},
      {"*a.label x", ResSpecError::NoResEnd, 0},
      {"*a.label", ResSpecError::NoResEnd, 0},
      {"*a.w(Dim ension): 4", ResSpecError::NoWsInType, 0},
      {"*a.w(Dimension", ResSpecError::NoWsInType, 0},
      {"*a.w(): 4", ResSpecError::EmptyType, 0},
      {"*a.w(Dimension) 4", ResSpecError::MissingColon, 0},
      {"*a.w(Dimension)", ResSpecError::MissingColon, 0},
      {"(*a.w: 4", ResSpecError::UnbalParens, 0},
      {"(*a.w: f(4)", ResSpecError::UnbalParens, 0},
      {"(*a.w: 4) *b.h: 5", ResSpecError::NeedsParens, 0},
      // A good first specification is not kept when a later one fails.
      {"(*a.w: 4) (*b.h(Int) 5)", ResSpecError::MissingColon, 10},
      {"(*a.w: 4)(*b.h(In t): 5)", ResSpecError::NoWsInType, 9},
      {"(*a.w: 4) (h: 5)", ResSpecError::MissingName, 10},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    const wcl::ResSpecParse p = ParseResSpecs(c.text);
    EXPECT_EQ(p.error, c.error);
    EXPECT_EQ(p.errorOffset, c.offset);
    EXPECT_TRUE(p.specs.empty());
  }
}

// Arbitrary mixtures of the syntax characters never read out of bounds and
// always give either an error or well-formed specifications.
TEST(ResSpecParse, ArbitraryTextIsSafe) {
  const std::string alphabet = "():.^~ \tab*\xC3";
  std::mt19937 rng(7);
  for (int i = 0; i < 20000; ++i) {
    std::string text(rng() % 24, ' ');
    for (char& ch : text) ch = alphabet[rng() % alphabet.size()];
    const wcl::ResSpecParse p = ParseResSpecs(text);
    SCOPED_TRACE(text);
    if (p.error != ResSpecError::Ok) {
      ASSERT_TRUE(p.specs.empty());
      ASSERT_LE(p.errorOffset, text.size());
      continue;
    }
    ASSERT_FALSE(p.specs.empty());
    for (const wcl::ResSpec& s : p.specs) {
      ASSERT_EQ(s.resource.find_first_of(".^~:( "), std::string::npos);
      ASSERT_TRUE(s.value.empty() || static_cast<unsigned char>(s.value.back()) > 32);
    }
  }
}

}  // namespace
