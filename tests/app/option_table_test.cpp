// The command-line options become resources exactly as resource-file
// entries would, and words that are no option stay on the command line.
#include <gtest/gtest.h>

#include <X11/Xresource.h>

#include <string>
#include <vector>

#include "app/OptionTable.h"

namespace {

struct Parsed {
  XrmDatabase db = nullptr;
  std::vector<std::string> rest;  // words the parse left, after the program name
};

Parsed Parse(std::vector<std::string> words) {
  words.insert(words.begin(), "xkest");
  std::vector<char*> argv;
  for (std::string& w : words) argv.push_back(w.data());
  argv.push_back(nullptr);
  int argc = static_cast<int>(words.size());
  Parsed p;
  XrmParseCommand(&p.db, xkest::kOptionTable, xkest::kOptionCount, "xkest", &argc, argv.data());
  for (int i = 1; i < argc; ++i) p.rest.emplace_back(argv[i]);
  return p;
}

// The value the application would read for resource name under class
// "xkest", or "<none>".
std::string Value(XrmDatabase db, const std::string& name) {
  std::string cls = name;
  cls[0] = static_cast<char>(toupper(cls[0]));
  char* type = nullptr;
  XrmValue v;
  if (!XrmGetResource(db, ("xkest." + name).c_str(), ("xkest." + cls).c_str(), &type, &v))
    return "<none>";
  return std::string(v.addr, v.size ? v.size - 1 : 0);
}

TEST(OptionTable, EachOptionSetsItsResource) {
  struct Case {
    std::vector<std::string> args;
    const char* resource;
    const char* value;
  } cases[] = {
      {{"-tempath", "$KESTHOME/x.tem"}, "templatePath", "$KESTHOME/x.tem"},
      {{"-outdir", "/out dir"}, "outputDir", "/out dir"},
      {{"-noadakw"}, "noAdaKeywords", "True"},
      {{"-adakw"}, "noAdaKeywords", "False"},
      {{"-nocxxkw"}, "noCxxKeywords", "True"},
      {{"-cxxkw"}, "noCxxKeywords", "False"},
      {{"-nofiles"}, "showFiles", "False"},
      {{"-files"}, "showFiles", "True"},
      {{"-nosummary"}, "showSummary", "False"},
      {{"-summary"}, "showSummary", "True"},
      {{"-ttrace"}, "temTrace", "True"},
      {{"-nobackups"}, "makeBackups", "False"},
      {{"-backups"}, "makeBackups", "True"},
      {{"-backupexts", "C bkC h bkh"}, "backupExts", "C bkC h bkh"},
      {{"-toolhtml", "xdg-open"}, "toolHTMLBrowser", "xdg-open"},
      {{"-tooleditor", "xterm -e vi"}, "toolFileEditor", "xterm -e vi"},
      {{"-ResFile", "a.ad"}, "wclInitResFile", "a.ad"},
      {{"-rf", "b.ad"}, "wclInitResFile", "b.ad"},
      {{"-trrf"}, "wclTraceResFiles", "on"},
      {{"-Trace"}, "wcTrace", "on"},
      {{"-tr"}, "wcTrace", "on"},
      {{"-trtd"}, "wclTraceTemplateDef", "on"},
      {{"-trtx"}, "wcTraceTemplate", "on"},
      {{"-Warnings"}, "wclVerboseWarnings", "on"},
      // The later of two contradicting options wins.
      {{"-noadakw", "-adakw"}, "noAdaKeywords", "False"},
      {{"-backups", "-nobackups"}, "makeBackups", "False"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args[0] + " -> " + c.resource);
    Parsed p = Parse(c.args);
    EXPECT_EQ(Value(p.db, c.resource), c.value);
    EXPECT_TRUE(p.rest.empty());
    XrmDestroyDatabase(p.db);
  }
}

TEST(OptionTable, SettingsApplyAtAnyDepth) {
  // "*" specifiers reach the widgets below the shell too (the creation
  // layer reads wcTrace from every widget).
  Parsed p = Parse({"-tr"});
  char* type = nullptr;
  XrmValue v;
  ASSERT_TRUE(XrmGetResource(p.db, "xkest.main.work.dsmText.wcTrace", "Xkest.XmMainWindow.A.B.WcTrace",
                             &type, &v));
  EXPECT_STREQ(v.addr, "on");
  XrmDestroyDatabase(p.db);
}

TEST(OptionTable, UnknownWordsAreLeftInPlace) {
  Parsed p = Parse({"model.dsm", "-nofiles", "-zzz", "-warnings", "x y"});
  EXPECT_EQ(p.rest, (std::vector<std::string>{"model.dsm", "-zzz", "-warnings", "x y"}));
  EXPECT_EQ(Value(p.db, "showFiles"), "False");
  EXPECT_EQ(Value(p.db, "wclVerboseWarnings"), "<none>");
  XrmDestroyDatabase(p.db);
}

TEST(OptionTable, NoOptionSwitchesTemplateTracingOff) {
  for (const XrmOptionDescRec& row : xkest::kOptionTable) {
    SCOPED_TRACE(row.option);
    if (std::string(row.specifier) == "*temTrace") {
      EXPECT_STREQ(row.value, "True");
    }
  }
}

}  // namespace
