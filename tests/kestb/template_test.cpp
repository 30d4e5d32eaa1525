// The template language: parse errors with their lines, and what a
// template expands to over a small model.
#include "kestb/Template.h"

#include <gtest/gtest.h>

#include <map>
#include <sstream>

namespace kestb {
namespace {

Model SmallModel() {
  Diagnostics d;
  Model m = ParseDsm(
      "model Shop;\n"
      "// Buyer.\n"
      "record Person { name : string; tags : list of string;  // free\n"
      "  pal : Pet; }\n"
      "record Pet {}\n",
      "s.dsm", d);
  CheckDsm(m, "s.dsm", {}, d);
  EXPECT_TRUE(d.Empty());
  return m;  // ordered Pet, Person
}

struct Result {
  std::string errors;
  std::string files;  // "== name\ncontent" per file
  std::string trace;
};

Result Expand(const std::string& text,
           const std::map<std::string, std::string>& includes = {}) {
  IncludeResolver resolve = [&](const std::string& name, const std::string&)
      -> std::optional<TemplateSource> {
    auto it = includes.find(name);
    if (it == includes.end()) return std::nullopt;
    return TemplateSource{name, it->second};
  };
  Diagnostics d;
  Template t = ParseTemplate({"t.tem", text}, resolve, d);
  Result r;
  std::ostringstream trace;
  if (d.Empty()) {
    for (const OutputFile& f :
         ExpandTemplate(t, SmallModel(), {"s.dsm", "t.tem"}, &trace, d)) {
      r.files += "== " + f.name + "\n" + f.content;
    }
  }
  for (const Diagnostic& e : d.List()) r.errors += FormatError(e) + "\n";
  r.trace = trace.str();
  return r;
}

TEST(Template, ExpandsPlaceholdersLoopsAndConditions) {
  Result r = Expand(
      "@# comment lines vanish\n"
      "@file ${model|lower}.txt\n"
      "${model|upper} from ${dsm} by ${template}: ${records} records, ${fields} fields, $$x, $ y\n"
      "@foreach record\n"
      "@if record.comment\n"
      "# ${record.comment}\n"
      "@end\n"
      "${record.index}. ${record}(${record.fields})@if-not-a-directive\n"
      "@if record.empty\n"
      "  (empty)\n"
      "@end\n"
      "@foreach field\n"
      "  @if first\n"
      "  first:\n"
      "  @end\n"
      "  ${field.index} ${field|cap} ${field.type} ${field.cxxtype} ${field.elem}"
      "@if field.list\n"
      "@if field.list\n"
      " list\n"
      "@else\n"
      " one\n"
      "@end\n"
      "@if !field.comment\n"
      "@else\n"
      "   // ${field.comment}\n"
      "@end\n"
      "@if field.record\n"
      "   record-typed\n"
      "@end\n"
      "@end\n"
      "@end\n"
      "args(@foreach-free ${records}${records})\n"
      "@@file is text\n"
      "@end\n");
  EXPECT_EQ("", r.errors);
  EXPECT_EQ(
      "== shop.txt\n"
      "SHOP from s.dsm by t.tem: 2 records, 3 fields, $x, $ y\n"
      "1. Pet(0)@if-not-a-directive\n"
      "  (empty)\n"
      "# Buyer.\n"
      "2. Person(3)@if-not-a-directive\n"
      "  first:\n"
      "  1 Name string std::string std::string@if field.list\n"
      " one\n"
      "  2 Tags list of string std::vector<std::string> std::string@if field.list\n"
      " list\n"
      "   // free\n"
      "  3 Pal Pet Pet Pet@if field.list\n"
      " one\n"
      "   record-typed\n"
      "args(@foreach-free 22)\n"
      "@file is text\n",
      r.files);
}

// field.cycle: the field's record leads back to its holder (itself, or
// through a list and a value); not for built-ins or records outside.
TEST(Template, FieldCycleMarksRecordsThatLeadBack) {
  Diagnostics d;
  Model m = ParseDsm("record A { c : C; i : int; }\nrecord B { as : list of A; }\n"
                     "record C { b : B; o : Ext; }\nrecord T { t : list of T; o : list of Ext; }\n"
                     "record Ext { s : string; }\n",
                     "s.dsm", d);
  CheckDsm(m, "s.dsm", {}, d);
  Template t = ParseTemplate(
      {"t.tem", "@file f\n@foreach record\n@foreach field\n@if field.cycle\n${record}.${field}\n"
                "@end\n@end\n@end\n@end\n"},
      nullptr, d);
  ASSERT_TRUE(d.Empty());
  std::vector<OutputFile> files = ExpandTemplate(t, m, {"s.dsm", "t.tem"}, nullptr, d);
  ASSERT_EQ(1u, files.size());
  EXPECT_EQ("B.as\nC.b\nA.c\nT.t\n", files[0].content);
}

TEST(Template, CommaAndLastFollowTheInnermostLoop) {
  Result r = Expand(
      "@file f\n"
      "@foreach record\n"
      "${record}${comma}\n"
      "@foreach field\n"
      " ${field}${comma}\n"
      "@end\n"
      "@if !last\n"
      "--\n"
      "@end\n"
      "@end\n"
      "@end\n");
  EXPECT_EQ("", r.errors);
  EXPECT_EQ("== f\nPet,\n--\nPerson\n name,\n tags,\n pal\n", r.files);
}

TEST(Template, OneFilePerRecordAndIncludes) {
  Result r = Expand(
      "@foreach record\n"
      "@file ${record}.h\n"
      "@include head.inc\n"
      "struct ${record};\n"
      "@end\n"
      "@end\n",
      {{"head.inc", "@include deeper.inc\n// for ${record}\n"},
       {"deeper.inc", "// generated\n"}});
  EXPECT_EQ("", r.errors);
  EXPECT_EQ(
      "== Pet.h\n// generated\n// for Pet\nstruct Pet;\n"
      "== Person.h\n// generated\n// for Person\nstruct Person;\n",
      r.files);
}

TEST(Template, TraceShowsEachTemplateLineAsItIsExpanded) {
  Result r = Expand("@file f\n@foreach record\nx ${record}\n@end\n@end\n",
                 {});
  EXPECT_EQ(
      "t.tem:1: trace: @file f\n"
      "t.tem:2: trace: @foreach record\n"
      "t.tem:3: trace: x ${record}\n"
      "t.tem:3: trace: x ${record}\n",
      r.trace);
}

TEST(Template, ReportsMalformedTemplatesByLine) {
  struct Case {
    const char* name;
    const char* text;
    const char* errors;
  } cases[] = {
      {"text before any @file", "hello\n\n@file f\n@end\n",
       "t.tem:1:1: error: text outside a @file block\n"},
      {"unknown directive", "@file f\n@loop\n@end\n",
       "t.tem:2:1: error: unknown directive '@loop'\n"},
      {"unclosed blocks", "@file f\n@foreach record\n",
       "t.tem:2:1: error: @foreach has no @end\nt.tem:1:1: error: @file has no @end\n"},
      {"unclosed if", "@file f\n@if model\n",
       "t.tem:2:1: error: unknown condition 'model'\nt.tem:2:1: error: @if has no @end\n"
       "t.tem:1:1: error: @file has no @end\n"},
      {"stray @end and @else", "@end\n@else\n",
       "t.tem:1:1: error: @end without @file, @foreach or @if\n"
       "t.tem:2:1: error: @else without @if\n"},
      {"@else in a loop", "@file f\n@foreach record\n@else\n@end\n@end\n",
       "t.tem:3:1: error: @else without @if\n"},
      {"nested @file", "@file a\n@file b\n@end\n@end\n",
       "t.tem:2:1: error: @file inside another @file block\n"},
      {"@file without a name", "@file\n@end\n",
       "t.tem:1:1: error: @file needs a file name\n"},
      {"bad @foreach", "@file f\n@foreach item\n@end\n@end\n",
       "t.tem:2:1: error: @foreach needs 'record' or 'field', found 'item'\n"},
      {"a word too many after @foreach record: one error, no cascade",
       "@file f\n@foreach record extra\n${record} ${comma}\n@end\n@end\n",
       "t.tem:2:1: error: unexpected text after @foreach record\n"},
      {"field loop outside a record loop", "@file f\n@foreach field\n@end\n@end\n",
       "t.tem:2:1: error: @foreach field outside @foreach record\n"},
      {"placeholders out of scope or unknown",
       "@file ${record}\n${field.type} ${comma} ${bogus} ${model|loud}\n@end\n",
       "t.tem:1:7: error: placeholder '${record}' used outside @foreach record\n"
       "t.tem:2:1: error: placeholder '${field.type}' used outside @foreach field\n"
       "t.tem:2:15: error: placeholder '${comma}' used outside @foreach\n"
       "t.tem:2:24: error: unknown placeholder '${bogus}'\n"
       "t.tem:2:33: error: unknown filter 'loud' in '${model|loud}'\n"},
      {"unterminated placeholder", "@file f\nx ${model\n@end\n",
       "t.tem:2:3: error: unterminated placeholder '${model'\n"},
      {"an error in an included template names the @include",
       "@file f\n\n@include bad.inc\n@end\n",
       "bad.inc:1:3: error: unknown placeholder '${nope}' (in a template included from t.tem:3)\n"},
      {"missing include", "@include nowhere.inc\n",
       "t.tem:1:1: error: cannot find included template 'nowhere.inc'\n"},
      {"include of itself", "@include t.tem\n",
       "t.tem:1:1: error: @include nested too deeply (does 't.tem' include itself?)"
       " (in a template included from t.tem:1)\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Result r = Expand(c.text, {{"t.tem", "@include t.tem\n"}, {"bad.inc", "x ${nope}\n"}});
    EXPECT_EQ(c.errors, r.errors);
    EXPECT_EQ("", r.files);
  }
}

TEST(Template, AByteOrderMarkIsSkipped) {
  EXPECT_EQ("== f\nShop\n", Expand("\xEF\xBB\xBF@file f\n${model}\n@end\n").files);
}

TEST(Template, DeepNestingIsRefusedNotOverflowed) {
  std::string text = "@file f\n@foreach record\n";
  for (int i = 0; i < 100000; ++i) text += "@if first\n";
  Result r = Expand(text);
  EXPECT_EQ("t.tem:101:1: error: blocks nested too deeply\n", r.errors);
}

TEST(Template, ManyBadFiltersDoNotRepeatThePlaceholderWhole) {
  // 1 MB of bad filters once asked for over 20 GB of messages.
  std::string text = "@file f\n${model";
  for (int i = 0; i < 5000; ++i) text += "|bad";
  Result r = Expand(text + "}\n@end\n");
  EXPECT_EQ(0u, r.errors.find("t.tem:2:1: error: unknown filter 'bad' in '${model|bad|bad"));
  EXPECT_GT(200u * 5000, r.errors.size());
}

TEST(Template, IncludesThatMultiplyAreCutOff) {
  // Ten includes of itself per level would paste 10^16 copies.
  std::string self;
  for (int i = 0; i < 10; ++i) self += "@include self.inc\n";
  Result r = Expand("@include self.inc\n", {{"self.inc", self}});
  EXPECT_NE(std::string::npos, r.errors.find("error: more than 1000 templates included (in a template included from self.inc:"));
}

TEST(Template, SixteenNestedIncludesAndNotOneMore) {
  for (int n : {16, 17}) {
    SCOPED_TRACE(n);
    std::map<std::string, std::string> chain;  // i1 includes i2 ... up to in
    for (int k = 1; k < n; ++k) chain["i" + std::to_string(k)] = "@include i" + std::to_string(k + 1) + "\n";
    chain["i" + std::to_string(n)] = "@file f\nx\n@end\n";
    Result r = Expand("@include i1\n", chain);
    EXPECT_EQ(n == 16 ? ""
                      : "i16:1:1: error: @include nested too deeply (does 'i17' include itself?)"
                        " (in a template included from i15:1)\n",
              r.errors);
  }
}

TEST(Template, RefusesUnsafeOrRepeatedOutputNames) {
  struct Case {
    const char* name;
    const char* text;
    const char* errors;
  } cases[] = {
      {"climbs out", "@file ../x\n@end\n",
       "t.tem:1:1: error: output file name '../x' must not contain '/'\n"},
      {"absolute", "@file /etc/x\n@end\n",
       "t.tem:1:1: error: output file name '/etc/x' must not contain '/'\n"},
      {"the folder itself", "@file ..\n@end\n",
       "t.tem:1:1: error: output file name '..' is a folder\n"},
      {"same name twice", "@foreach record\n@file all.h\n@end\n@end\n",
       "t.tem:2:1: error: output file 'all.h' is written twice\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.errors, Expand(c.text).errors);
  }
}

}  // namespace
}  // namespace kestb
