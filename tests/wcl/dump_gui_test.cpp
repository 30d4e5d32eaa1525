// Resource dumps: the column alignment of their lines and which
// specifications they list before and after creation.
#include <gtest/gtest.h>

#include <X11/IntrinsicP.h>

#include <cstdio>
#include <string>

#include "creation_support.h"
#include "wcl/WcCreate.h"

namespace {

using xk::test::CaptureWarnings;
using xk::test::NewRoot;

std::string Blanks(int n) { return std::string(n, ' '); }

TEST(DumpLine, ValuesStartOnAMultipleOfEight) {
  int word = 0;
  char hex[32];
  std::snprintf(hex, sizeof hex, "0x%lX", reinterpret_cast<unsigned long>(&word));
  struct Case {
    const char* name;
    const char* type;
    const char* value;
    unsigned size;
    std::string expected;
  };
  const Case cases[] = {
      // 7 + 2 = 9: seven blanks; 6 + 2 = 8: a full run of eight.
      {"*abcdef", "String", "v", 2, "*abcdef: " + Blanks(7) + "v\n"},
      {"*abcde", "String", "v", 2, "*abcde: " + Blanks(8) + "v\n"},
      {"*foreground", "String", "red", 4, "*foreground: " + Blanks(3) + "red\n"},
      {"*x", "String", nullptr, 0, "*x: " + Blanks(4) + "(nil)\n"},
      // 15 + 7 + 4 = 26: six blanks; 3 + 3 + 4 = 10: six blanks.
      {"*main.wcManaged", "Boolean", "", sizeof word,
       "*main.wcManaged(Boolean): " + Blanks(6) + hex + " points to 4 bytes.\n"},
      {"*ab", "Int", "", 0, "*ab(Int): " + Blanks(6) + "(nil)\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    bool isString = std::string(c.type) == "String";
    std::string line = wcl::FormatResourceLine(c.name, c.type, isString ? c.value : nullptr,
                                               isString ? nullptr : &word, c.size);
    EXPECT_EQ(line, c.expected);
    size_t column = line.find(isString ? ": " : "): ") + (isString ? 2 : 3);
    column = line.find_first_not_of(' ', column);
    EXPECT_EQ(column % 8, 0u);
  }
}

TEST(Dump, PreCreateListsOnlyNameSpecificationsOfTheChild) {
  Widget root = NewRoot("dumpRoot", {"dumpRoot.kid.background: red", "*kid.borderWidth: 3",
                                     "*Kid.foreground: blue", "dumpRoot.other.x: 1",
                                     "XkTest.kid.height: 4", "ApplicationShell.kid.y: 5"});
  CaptureWarnings capture;
  WcDumpPreCreateResources(root, "kid");
  WcDumpPreCreateResources(root, "nobody");
  ASSERT_EQ(capture.Messages().size(), 2u);
  const std::string& kid = capture.Messages()[0];
  EXPECT_EQ(kid.rfind("==== Wcl: PreCreate Resources For Widget dumpRoot.kid\n", 0), 0u) << kid;
  EXPECT_NE(kid.find(".dumpRoot.kid.background:"), std::string::npos) << kid;
  EXPECT_NE(kid.find("*kid.borderWidth:"), std::string::npos) << kid;
  EXPECT_EQ(kid.find("foreground"), std::string::npos) << "class-only specifications cannot match";
  // The root is matched by its application class, as the toolkit does.
  EXPECT_NE(kid.find(".XkTest.kid.height:"), std::string::npos) << kid;
  EXPECT_EQ(kid.find("ApplicationShell"), std::string::npos) << kid;
  EXPECT_NE(kid.find("==== Wcl: Total Number of Resources: 3\n"), std::string::npos) << kid;
  EXPECT_EQ(capture.Messages()[1],
            "==== Wcl: PreCreate Resources For Widget dumpRoot.nobody\n"
            "==== Wcl: Total Number of Resources: 0\n");
}

TEST(Dump, PostCreateUsesTheRealClass) {
  Widget root = NewRoot("postRoot", {"*Core.width: 5"});
  Widget core = XtCreateWidget("plain", coreWidgetClass, root, nullptr, 0);
  CaptureWarnings capture;
  WcDumpPostCreateResources(core);
  ASSERT_EQ(capture.Messages().size(), 1u);
  EXPECT_EQ(capture.Messages()[0],
            "==== Wcl PostCreate Resources: Widget postRoot.plain of class Core\n"
            "*Core.width:    5\n"
            "==== Wcl: Total Number of Resources: 1\n");
}

// Where a name equals its class at a level (xkest's own shell is named
// xkest, of class xkest), the database is visited through both: each entry
// still shows, and counts, once.
TEST(Dump, EntriesShowOnceWhereNameAndClassAreEqual) {
  Widget root = NewRoot("XkTest", {"XkTest.Composite.width: 5", "*Composite.height: 6",
                                   "XkTest*borderWidth: 1", "*XkTest.Composite.x: 2"});
  Widget composite = XtCreateWidget("Composite", compositeWidgetClass, root, nullptr, 0);
  CaptureWarnings capture;
  WcDumpPostCreateResources(composite);
  WcDumpPreCreateResources(root, "Composite");
  ASSERT_EQ(capture.Messages().size(), 2u);
  for (const std::string& dump : capture.Messages()) {
    for (const char* line : {".XkTest.Composite.width:", "*Composite.height:",
                             ".XkTest*borderWidth:", "*XkTest.Composite.x:"}) {
      size_t at = dump.find(line);
      EXPECT_NE(at, std::string::npos) << line << "\n" << dump;
      EXPECT_EQ(dump.find(line, at + 1), std::string::npos) << line << "\n" << dump;
    }
    EXPECT_NE(dump.find("==== Wcl: Total Number of Resources: 4\n"), std::string::npos) << dump;
  }
  XtDestroyWidget(root);
}

// The three creation switches share the class WcDumpResources: one line
// turns on the dump before creation, after the template and after creation.
TEST(Dump, CreationSwitchesShareOneClass) {
  WcRegisterTemplate("DumpTpl", XrmGetStringDatabase("*width: 7\n"));
  Widget root = NewRoot("switchRoot", {"switchRoot.wcChildren: kid", "*kid.wcClass: Composite",
                                       "*kid.wcTemplate: DumpTpl", "*kid.WcDumpResources: True"});
  CaptureWarnings capture;
  ASSERT_EQ(WcWidgetCreation(root), 0);
  ASSERT_EQ(capture.Messages().size(), 3u) << capture.Text();
  const char* headers[] = {"==== Wcl: PreCreate Resources For Widget switchRoot.kid\n",
                           "==== Wcl: PreCreate Resources For Widget switchRoot.kid\n",
                           "==== Wcl PostCreate Resources: Widget switchRoot.kid of class Composite\n"};
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(capture.Messages()[i].rfind(headers[i], 0), 0u) << capture.Messages()[i];
  }
  EXPECT_EQ(capture.Messages()[0].find("width"), std::string::npos) << "before the template";
  EXPECT_NE(capture.Messages()[1].find("*switchRoot*kid*width:"), std::string::npos);
}

}  // namespace
