// Callback-string parsing, parameter splitting and joining, name lists and
// the guarded string operations: pure text logic, no X server.
#include <gtest/gtest.h>

#include "wcl/WcCallbackParse.h"
#include "wcl/WcCallbacks.h"
#include "wcl/WcConverters.h"
#include "wcl/WcNameConverters.h"
#include "wcl/WcNames.h"

#include <string>

namespace {

// Whole parse result as one compact string: "lib|class|name|arg" per
// element joined by ";", or "error: ..." .
std::string Render(const char* text) {
  wcl::CallbackParse p = wcl::ParseCallbackString(text);
  if (p.error) return std::string("error: ") + p.error;
  std::string out;
  for (const WcCallbackSpec& s : p.specs) {
    if (!out.empty()) out += ";";
    out += std::string(wcl::Part(s.libStart, s.libEnd)) + "|" +
           std::string(wcl::Part(s.classStart, s.classEnd)) + "|" +
           std::string(wcl::Part(s.nameStart, s.nameEnd)) + "|" +
           std::string(wcl::Part(s.argStart, s.argEnd));
  }
  return out;
}

std::string Repeat(const std::string& element, int n, const std::string& sep) {
  std::string s;
  for (int i = 0; i < n; ++i) s += (i ? sep : "") + element;
  return s;
}

TEST(CallbackParse, ElementsForms) {
  const struct {
    const char* text;
    const char* expected;
  } cases[] = {
      {"", ""},
      {" \t\n ", ""},
      {"quit", "||quit|"},
      {"a(1) b", "||a|1;||b|"},
      {"a , b", "||a|;||b|"},
      {"a,b", "||a|;||b|"},
      {"a b,c", "||a|;||b|;||c|"},
      {"A((1,2))", "||A|(1,2)"},
      {"a(  spaced out  )", "||a|spaced out"},
      {"a(   )", "||a|"},
      {"a (x)", "||a|x"},
      {"a(x)b(y)", "||a|x;||b|y"},
      {"a(\"q)\")", "||a|\"q;||\")|"},     // quotes mean nothing here
      {"a)b", "||a)b|"},                   // ')' does not end a name
      {"a:b", "||a:b|"},
      {"a\xC3" "b", "||a|;||b|"},         // bytes >= 128 separate
      // ... but an argument keeps them at its ends: "été.html", "café"
      {"help( \xC3\xA9t\xC3\xA9.html )", "||help|\xC3\xA9t\xC3\xA9.html"},
      {"a(caf\xC3\xA9)", "||a|caf\xC3\xA9"},
      {"Editor::save(now)", "|Editor|save|now"},
      {"-lfoo::bar", "-lfoo||bar|"},
      {"Editor::-lfoo::bar", "-lfoo|Editor|bar|"},
      {"-l::bar", "|-l|bar|"},              // too short for a library
      {"a,,  ,b", "||a|;||b|"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(Render(c.text), c.expected);
  }
}

TEST(CallbackParse, ErrorTexts) {
  const struct {
    const char* text;
    const char* error;
  } cases[] = {
      {",a", "Callback, looking for start of callback name, found ','"},
      {"(a)", "Callback, looking for start of callback name, found '('"},
      {"a )", "Callback, looking for start of callback name, found ')'"},
      {"a(b)(c)", "Callback, looking for start of callback name, found '('"},
      {"::a", "Callback, missing class or library name before `::'"},
      {"A::::b", "Callback, missing class or library name before `::'"},
      {"-lx::-ly::b", "Callback, multiple dynamic library names found"},
      {"-lfoo::Editor::bar", "Callback, multiple dynamic library names found"},
      {"A::B::c", "Callback, multiple class names found"},
      {"A::", "Callback, missing method name after `::'"},
      {"ok A::", "Callback, missing method name after `::'"},
      {"a(b", "Callback, Unbalanced parens in callback argument"},
      {"a((b)", "Callback, Unbalanced parens in callback argument"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(Render(c.text), std::string("error: ") + c.error);
  }
}

TEST(CallbackParse, SixtyThreeElementsAtMost) {
  EXPECT_EQ(wcl::ParseCallbackString(Repeat("cb(x)", 63, " ").c_str()).specs.size(), 63u);
  EXPECT_EQ(wcl::ParseCallbackString((Repeat("cb", 63, ",") + " , ").c_str()).specs.size(), 63u);
  for (const char* sep : {" ", ",", ""}) {
    SCOPED_TRACE(sep);
    std::string text = Repeat("cb()", 64, sep);
    EXPECT_EQ(Render(text.c_str()), "error: Callback, Too many callbacks");
  }
}

TEST(CallbackParse, MessageText) {
  EXPECT_EQ(wcl::CallbackText("", "", "quit", ""), "quit()");
  EXPECT_EQ(wcl::CallbackText("-lfoo", "Editor", "save", "a b"), "-lfoo::Editor::save(a b)");
}

using Params = std::vector<std::optional<std::string>>;

TEST(SplitParams, QuotesCommasAndBreaks) {
  const std::optional<std::string> null;
  const struct {
    const char* text;
    Params expected;
    bool unbalanced;
  } cases[] = {
      {"", {}, false},
      {"  \t\n", {}, false},
      {"a b", {"a", "b"}, false},
      {"a,,b", {"a", null, "b"}, false},
      {", a", {null, "a"}, false},
      {"a , b ,c", {"a", "b", "c"}, false},
      {"'a b', \"c,d\"", {"a b", "c,d"}, false},
      {"\"\" x", {null, "x"}, false},
      {"f(x)", {"f", "(x", ")"}, false},
      {"'abc def", {"abc def"}, true},
      {"a \"b", {"a", "b"}, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    wcl::SplitResult r = wcl::SplitParams(c.text);
    EXPECT_EQ(r.params, c.expected);
    EXPECT_EQ(r.unbalancedQuote, c.unbalanced);
  }
}

TEST(SplitParams, StopsAtLimit) {
  std::string text = Repeat("p", 200, " ");
  EXPECT_EQ(wcl::SplitParams(text).params.size(), wcl::kMaxParams);
}

// Joining must give a text that splits back into the same parameters, or
// the action-to-callback bridge changes what the callback receives.
TEST(JoinParams, SplitsBackUnchanged) {
  const std::vector<std::vector<const char*>> cases = {
      {"a", "b"},
      {"one two", "x,y", "close)", "open(", "tab\there"},
      {"say \"hi\"", "it's"},
      {"", "after empty"},
      {nullptr, "after null"},
      {"'lead", "\"lead"},
  };
  for (const auto& params : cases) {
    std::string joined = wcl::JoinParams(params);
    SCOPED_TRACE(joined);
    Params expected;
    for (const char* p : params) {
      expected.push_back(p && *p ? std::optional<std::string>(p) : std::nullopt);
    }
    EXPECT_EQ(wcl::SplitParams(joined).params, expected);
  }
  EXPECT_EQ(wcl::JoinParams({"a", "b c"}), "a \"b c\"");
}

TEST(NameLists, SplitAtBlanksCommasAndParens) {
  const struct {
    const char* text;
    std::vector<std::string> names;
  } cases[] = {
      {"", {}},
      {"one", {"one"}},
      {"a, b c", {"a", "b", "c"}},
      {"  a ,\n b\t", {"a", "b"}},
      {"a,,b", {"a"}},  // an empty name ends the list
      {"f(x) g", {"f"}},
      {"*menu.open ^ok", {"*menu.open", "^ok"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(wcl::SplitNames(c.text), c.names);
  }
}

TEST(NameLists, LongNamesStayWhole) {
  std::string big(10000, 'n');
  std::string list = big + ", " + big + "x";
  auto names = wcl::SplitNames(list);
  ASSERT_EQ(names.size(), 2u);
  EXPECT_EQ(names[0].size(), 10000u);
  EXPECT_EQ(names[1].size(), 10001u);
}

TEST(GuardedStrings, CopyAppendCompare) {
  char buf[32] = "old";
  EXPECT_STREQ(WcStrCpy(buf, "new"), "new");
  EXPECT_STREQ(WcStrCpy(buf, nullptr), "");
  EXPECT_STREQ(WcStrCat(WcStrCat(buf, "ab"), nullptr), "ab");
  EXPECT_STREQ(WcStrCat(buf, "cd"), "abcd");

  EXPECT_EQ(WcStrCmp(nullptr, ""), 0);
  EXPECT_LT(WcStrCmp(nullptr, "a"), 0);
  EXPECT_GT(WcStrCmp("a", nullptr), 0);
  EXPECT_EQ(WcStrCmpN("abc", "abd", 2), 0);
  EXPECT_NE(WcStrCmpN("abc", "abd", 3), 0);
  EXPECT_EQ(WcStrCmpN("x", "y", 0), 0);
  EXPECT_EQ(WcStrCmpN(nullptr, nullptr, 5), 0);
}

TEST(GuardedStringsDeathTest, NullTargetAborts) {
  EXPECT_DEATH(WcStrCpy(nullptr, "x"), "Wcl Warning: WcStrCpy\\(\\) called with NULL target!");
  EXPECT_DEATH(WcStrCat(nullptr, "x"), "Wcl Warning: WcStrCat\\(\\) called with NULL target!");
}

TEST(ConverterArgsDeathTest, WrongCountIsFatal) {
  XrmValue from{2, const_cast<XPointer>("a")};
  XrmValue to{0, nullptr};
  Cardinal one = 1;
  EXPECT_EXIT(WcCvtStringToCallback(nullptr, &one, &from, &to), testing::ExitedWithCode(1),
              "WcCvtStringToCallback registered without wcCvtWidgetArgs");
  EXPECT_EXIT(WcCvtStringToWidget(nullptr, nullptr, &one, &from, &to, nullptr),
              testing::ExitedWithCode(1), "WcCvtStringToWidget registered without wcCvtWidgetArgs");
  EXPECT_EXIT(WcCvtStringToWidgetList(nullptr, nullptr, &one, &from, &to, nullptr),
              testing::ExitedWithCode(1),
              "WcCvtStringToWidgetList registered without wcCvtWidgetArgs");
  EXPECT_EXIT(WcCvtStringToDynamicLibs(nullptr, nullptr, &one, &from, &to, nullptr),
              testing::ExitedWithCode(1),
              "WcCvtStringToDynamicLibs registered without wcCvtWidgetArgs");
}

// The widget argument is read at the native pointer size.
TEST(ConverterArgs, NativePointerSize) {
  for (const XtConvertArgRec& a : wcCvtWidgetArgs) {
    EXPECT_EQ(a.address_mode, XtBaseOffset);
    EXPECT_EQ(a.address_id, nullptr);
    EXPECT_EQ(a.size, sizeof(XtPointer));
  }
}

}  // namespace
