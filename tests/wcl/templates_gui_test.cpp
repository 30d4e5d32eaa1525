// Templates: loading them from files, expanding them below a new widget
// without overriding the database, and their traces.
#include <gtest/gtest.h>

#include <X11/IntrinsicP.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "common/TempDir.h"
#include "creation_support.h"
#include "wcl/WcCreate.h"
#include "wcl/WcTemplates.h"

namespace {

using xk::test::CaptureWarnings;
using xk::test::NewRoot;

// One scratch folder for the whole program, removed when it ends.
const xk::test::TempDir& Scratch() {
  static const xk::test::TempDir dir("wcltpl");
  return dir;
}

Dimension WidthOf(Widget w) { return w->core.width; }
Dimension HeightOf(Widget w) { return w->core.height; }

class Templates : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { WcInitialize(xk::test::TopLevel()); }
};

TEST_F(Templates, ExpansionFillsInWithoutOverriding) {
  std::string file = Scratch().Write("Box.tmpl",
                               ".wcClass: Core\n"
                               "*width: 11\n"
                               "*height: 22\n");
  CaptureWarnings capture;
  WcLoadTemplateFiles(xk::test::TopLevel(), (file + ", " + file).c_str(), True);
  ASSERT_EQ(capture.Messages().size(), 1u) << "a file named twice is read once";
  const std::string& def = capture.Messages()[0];
  EXPECT_EQ(def.rfind("==== Wcl Template Definition: Box.tmpl from " + file + "\n", 0), 0u) << def;
  EXPECT_NE(def.find("==== Wcl Template Defined: Box.tmpl has 3 resources.\n"), std::string::npos);

  // "*tpl*a*width" is exactly the resource line the expansion writes, so
  // only the no-override merge can keep 33.
  Widget root = NewRoot("tpl", {"tpl.wcChildren: a b c", "*a.wcTemplate: Box.tmpl",
                                "*tpl*a*width: 33", "*b.wcTemplate: box.tmpl", "*b.wcClass: Core",
                                "*c.wcTemplate: Box.tmpl", "*c.wcTraceTemplate: True"});
  capture.Clear();
  ASSERT_EQ(WcWidgetCreation(root), 0);

  Widget a = XtNameToWidget(root, "a");
  ASSERT_NE(a, nullptr) << "the template supplies the class";
  EXPECT_EQ(WidthOf(a), 33) << "the database entry wins over the template";
  EXPECT_EQ(HeightOf(a), 22);

  ASSERT_NE(XtNameToWidget(root, "b"), nullptr) << "an unknown template is reported and skipped";
  ASSERT_EQ(capture.Messages().size(), 2u) << capture.Text();
  EXPECT_EQ(capture.Messages()[0], "Wcl Warning: tpl.b cannot find template box.tmpl");

  const std::string& trace = capture.Messages()[1];
  EXPECT_EQ(trace.rfind("==== Wcl Template Box.tmpl Expansion:\n", 0), 0u) << trace;
  EXPECT_NE(trace.find("*tpl*c.wcClass: Core\n"), std::string::npos) << trace;
  EXPECT_NE(trace.find("*tpl*c*width: 11\n"), std::string::npos) << trace;
  EXPECT_NE(trace.find("==== Wcl Template Box.tmpl Expanded - 3 resources copied.\n"),
            std::string::npos);
}

// The expansion's loose path ("*root*u*width") ranks above a shorter user
// line, so a template line is added only where the database gives the
// widget nothing: by name, by class path, or by the resource's class.
TEST_F(Templates, UserLinesOfAnyBindingWin) {
  WcRegisterTemplate("Sized", XrmGetStringDatabase(".wcClass: Core\n*width: 11\n*height: 22\n"
                                                   "*borderWidth: 3\n"));
  Widget root = NewRoot("ovr", {"ovr.wcChildren: u", "*u.wcTemplate: Sized", "*u.width: 44",
                                "XkTest.u.Height: 55", "*other.borderWidth: 7"});
  ASSERT_EQ(WcWidgetCreation(root), 0);
  Widget u = XtNameToWidget(root, "u");
  ASSERT_NE(u, nullptr);
  EXPECT_EQ(WidthOf(u), 44);
  EXPECT_EQ(HeightOf(u), 55);
  EXPECT_EQ(u->core.border_width, 3) << "a line for another widget does not count";
}

TEST_F(Templates, DeepPathsKeepEveryComponent) {
  XrmDatabase db = XrmGetStringDatabase("*deepRes: yes\n");
  WcRegisterTemplate("Deep", db);
  Widget parent = NewRoot("deepRoot", {});
  std::string expected = "*deepRoot";
  for (int i = 0; i < 110; ++i) {
    std::string name = "d" + std::to_string(i);
    parent = XtCreateWidget(name.c_str(), compositeWidgetClass, parent, nullptr, 0);
    expected += "*" + name;
  }
  expected += "*leaf*deepRes: yes\n";
  CaptureWarnings capture;
  EXPECT_TRUE(wcl::ExpandTemplate(XrmStringToQuark("Deep"), parent, "leaf", true));
  ASSERT_EQ(capture.Messages().size(), 1u);
  EXPECT_NE(capture.Messages()[0].find(expected), std::string::npos);
}

TEST_F(Templates, EmptyOrUnreadableTemplatesExpandNothing) {
  WcRegisterTemplate("Empty", XrmGetStringDatabase(""));
  Widget root = NewRoot("emptyTpl", {});
  EXPECT_FALSE(wcl::ExpandTemplate(XrmStringToQuark("Empty"), root, "x", false));
  EXPECT_FALSE(wcl::ExpandTemplate(XrmStringToQuark("NeverRegistered"), root, "x", false));

  CaptureWarnings capture;
  WcLoadTemplateFiles(root, Scratch().At("missing.tmpl").c_str(), False);
  EXPECT_EQ(WcFindTemplate("missing.tmpl"), nullptr);
  EXPECT_EQ(capture.Messages().size(), 1u) << "the unreadable file is reported";
}

}  // namespace
