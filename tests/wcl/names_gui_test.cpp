// Widget name resolution, full names, the root list and the Widget and
// WidgetList converters, on real Motif widgets.
#include <gtest/gtest.h>

#include "common/Warnings.h"
#include "common/XFixture.h"
#include "wcl/WcConverters.h"
#include "wcl/WcLibraryResources.h"
#include "wcl/WcNames.h"

#include <Xm/DialogS.h>
#include <Xm/Form.h>
#include <Xm/Label.h>
#include <X11/Shell.h>
#include <X11/StringDefs.h>

#include <cstring>
#include <string>

namespace {

using xk::test::CaptureWarnings;

Widget Make(const char* name, WidgetClass cls, Widget parent) {
  Widget w = XtCreateWidget(name, cls, parent, nullptr, 0);
  XtManageChild(w);
  return w;
}

// xktest
//   main (form): a (form: x, shared, thisx), b, shared
//   dlg (dialog shell, pop-up of main): box: deep
//   menuShell (override shell, pop-up of main): pane: item
// other (second application shell): o1
struct Tree {
  Widget top, main, a, x, aShared, thisx, b, mainShared, dlg, box, deep, menuShell, pane, item;
  Widget other, o1;
};

const Tree& T() {
  static Tree t = [] {
    Tree t{};
    t.top = xk::test::TopLevel();
    t.main = Make("main", xmFormWidgetClass, t.top);
    t.a = Make("a", xmFormWidgetClass, t.main);
    t.x = Make("x", xmLabelWidgetClass, t.a);
    t.aShared = Make("shared", xmLabelWidgetClass, t.a);
    t.thisx = Make("thisx", xmLabelWidgetClass, t.a);
    t.b = Make("b", xmLabelWidgetClass, t.main);
    t.mainShared = Make("shared", xmLabelWidgetClass, t.main);
    t.dlg = XtCreatePopupShell("dlg", xmDialogShellWidgetClass, t.main, nullptr, 0);
    t.box = XtCreateWidget("box", xmFormWidgetClass, t.dlg, nullptr, 0);
    t.deep = Make("deep", xmLabelWidgetClass, t.box);
    t.menuShell = XtCreatePopupShell("menuShell", overrideShellWidgetClass, t.main, nullptr, 0);
    t.pane = Make("pane", xmFormWidgetClass, t.menuShell);
    t.item = Make("item", xmLabelWidgetClass, t.pane);
    t.other = XtAppCreateShell("other", "Other", applicationShellWidgetClass,
                               XtDisplay(t.top), nullptr, 0);
    t.o1 = Make("o1", xmLabelWidgetClass, t.other);
    WcRootOf(t.top);
    WcRootOf(t.other);
    WcRegisterConverters(xk::test::App());
    return t;
  }();
  return t;
}

TEST(ResolveWidgetName, RelativeAbsoluteAndPlainNames) {
  const Tree& t = T();
  const struct {
    Widget ref;
    const char* name;
    Widget expected;
  } cases[] = {
      {t.x, "", nullptr},
      {t.x, nullptr, nullptr},
      {t.top, "^", nullptr},
      {t.x, "^", t.a},
      {t.x, "^^", t.main},
      {t.x, "^^b", t.b},
      {t.x, ".", t.x},
      {t.a, ".x", t.x},
      {t.x, "this", t.x},
      {t.a, "this.x", t.x},
      {t.main, "this*x", t.x},
      {t.x, "this^", t.a},
      {t.a, "thisx", t.thisx},  // "this" followed by letters is a plain name
      {t.deep, "~", t.dlg},
      {t.deep, "~^", t.main},
      {t.dlg, "~", t.top},      // from a shell: the next shell above
      {t.item, "~", t.menuShell},
      {t.item, "/", t.top},     // an override shell is no window-manager shell
      {t.deep, "/", t.dlg},
      {t.top, "~", nullptr},
      {t.deep, "~*deep", t.deep},
      {t.a, "shared", t.aShared},  // below the reference widget wins
      {t.b, "main.shared", t.mainShared},
      {t.deep, "xktest.main.a.x", t.x},
      {t.o1, "xktest.main.b", t.b},
      {t.x, "other.o1", t.o1},
      {t.o1, "xktest*deep", t.deep},
      {t.x, "xktest", t.top},
      {t.x, "other", t.other},
      {t.x, "xktestx", nullptr},   // a longer name is not below the root
      {nullptr, "xktest.main.b", t.b},
      {t.x, "nothere", nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.ref ? XtName(c.ref) : "(null)") + " " + (c.name ? c.name : "(null)"));
    EXPECT_EQ(WcResolveWidgetName(c.ref, c.name), c.expected);
  }
}

TEST(ResolveWidgetName, AncestorSearchOnlyWhenAskedFor) {
  const Tree& t = T();
  auto* res = const_cast<WcLibraryResources*>(WcGetLibraryResources());
  EXPECT_EQ(WcResolveWidgetName(t.x, "b"), nullptr);
  res->wclSlowTightNames = True;
  EXPECT_EQ(WcResolveWidgetName(t.x, "b"), t.b);
  res->wclSlowTightNames = False;
  EXPECT_EQ(WcResolveWidgetName(t.x, "main"), t.main);  // through the root
}

TEST(FullName, DottedFromTheRoot) {
  const Tree& t = T();
  EXPECT_EQ(wcl::FullName(t.top), "xktest");
  EXPECT_EQ(wcl::FullName(t.x), "xktest.main.a.x");
  EXPECT_EQ(wcl::FullName(t.deep), "xktest.main.dlg.box.deep");
  char* full = WcFullName(t.o1);
  EXPECT_STREQ(full, "other.o1");
  XtFree(full);
}

// Many roots and very long names must neither overrun nor lose entries.
TEST(RootList, GrowsPastFortyAndForgetsDestroyedRoots) {
  const Tree& t = T();
  Display* dpy = XtDisplay(t.top);
  Cardinal before = WcRootCount();
  std::vector<Widget> roots;
  for (int i = 0; i < 50; ++i) {
    std::string name = "r" + std::to_string(i);
    Widget r = XtAppCreateShell(name.c_str(), "R", applicationShellWidgetClass, dpy, nullptr, 0);
    Make("kid", xmLabelWidgetClass, r);
    EXPECT_EQ(WcRootOf(r), r);
    roots.push_back(r);
  }
  EXPECT_EQ(WcRootCount(), before + 50);
  EXPECT_EQ(WcResolveWidgetName(t.x, "r45.kid"), XtNameToWidget(roots[45], "kid"));
  EXPECT_EQ(WcRootOf(nullptr), WcRootAt(0));

  for (int i = 10; i < 20; ++i) XtDestroyWidget(roots[i]);
  xk::test::Drain();
  ASSERT_EQ(WcRootCount(), before + 40);
  std::string order;
  for (Cardinal i = before; i < WcRootCount(); ++i) order += std::string(XtName(WcRootAt(i))) + " ";
  EXPECT_EQ(order.substr(0, 42), "r0 r1 r2 r3 r4 r5 r6 r7 r8 r9 r20 r21 r22 ");
  EXPECT_EQ(WcResolveWidgetName(t.x, "r15.kid"), nullptr);
  for (int i = 0; i < 50; ++i) {
    if (i < 10 || i >= 20) XtDestroyWidget(roots[i]);
  }
  xk::test::Drain();
  EXPECT_EQ(WcRootCount(), before);
}

TEST(ResolveWidgetName, NamesBeyondFourThousandCharacters) {
  const Tree& t = T();
  std::string longName(5000, 'q');
  Widget w = Make(longName.c_str(), xmLabelWidgetClass, t.main);
  std::string path = "xktest.main." + longName;
  EXPECT_EQ(WcResolveWidgetName(t.o1, path.c_str()), w);
  EXPECT_EQ(wcl::FullName(w), path);
  std::string missing = "xktest." + std::string(9000, 'z');
  EXPECT_EQ(WcResolveWidgetName(t.x, missing.c_str()), nullptr);
  XtDestroyWidget(w);
}

// Converts `text` for `w` to `type` into a value of type T with the
// toolkit's own conversion call.
template <class T>
bool Convert(Widget w, const char* type, const char* text, T* out) {
  XrmValue from{static_cast<unsigned>(std::strlen(text) + 1), const_cast<XPointer>(text)};
  XrmValue to{sizeof(T), reinterpret_cast<XPointer>(out)};
  bool ok = XtConvertAndStore(w, XtRString, &from, type, &to);
  EXPECT_EQ(to.size, sizeof(T));
  return ok;
}

TEST(WidgetConverter, AttachedWidgetResolvesFromItself) {
  const Tree& t = T();
  CaptureWarnings warnings;
  Widget out = nullptr;
  EXPECT_TRUE(Convert(t.x, XtRWidget, "^^b", &out));
  EXPECT_EQ(out, t.b);
  EXPECT_TRUE(Convert(t.x, XtRWidget, "this. ignored", &out));
  EXPECT_EQ(out, t.x);
  EXPECT_TRUE(Convert(t.x, XtRWidget, "", &out));
  EXPECT_EQ(out, nullptr);
  EXPECT_EQ(warnings.Text(), "");
  EXPECT_TRUE(Convert(t.x, XtRWidget, "nowhere", &out));
  EXPECT_EQ(out, nullptr);
  EXPECT_EQ(warnings.Take(),
            "Wcl Warning: WcCvtStringToWidget could not find\n    widget nowhere from widget x.\n");
}

// A form child's attachment widget is converted while the child is being
// created, before the form lists it among its children.
TEST(WidgetConverter, WidgetBeingCreatedResolvesFromItsParent) {
  const Tree& t = T();
  XtInitializeWidgetClass(xmFormWidgetClass);
  XrmDatabase db = XtScreenDatabase(XtScreen(t.top));
  XrmPutLineResource(&db, "*cform.sib.topAttachment: attach_widget");
  XrmPutLineResource(&db, "*cform.sib.topWidget: first");
  XrmPutLineResource(&db, "*cform.up.topAttachment: attach_widget");
  XrmPutLineResource(&db, "*cform.up.topWidget: ^first");
  Widget form = Make("cform", xmFormWidgetClass, t.main);
  Widget first = Make("first", xmLabelWidgetClass, form);

  CaptureWarnings warnings;
  Widget up = Make("up", xmLabelWidgetClass, form);
  Widget attached = nullptr;
  XtVaGetValues(up, XmNtopWidget, &attached, nullptr);
  EXPECT_EQ(attached, first);
  EXPECT_EQ(warnings.Take(), "");

  Widget sib = Make("sib", xmLabelWidgetClass, form);
  XtVaGetValues(sib, XmNtopWidget, &attached, nullptr);
  EXPECT_EQ(attached, nullptr);
  EXPECT_EQ(warnings.Take(),
            "Wcl Warning: WcCvtStringToWidget could not find\n    widget first from "
            "uninitialized widget sib.\n    Perhaps try starting from parent (pre-pend ^ to "
            "widget name)\n");
  XtDestroyWidget(form);
}

TEST(WidgetListConverter, AllOrNothing) {
  const Tree& t = T();
  CaptureWarnings warnings;
  WidgetList list = nullptr;
  ASSERT_TRUE(Convert(t.x, XtRWidgetList, "^, ^^ xktest.main.b", &list));
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(list[0], t.a);
  EXPECT_EQ(list[1], t.main);
  EXPECT_EQ(list[2], t.b);
  EXPECT_EQ(list[3], nullptr);

  EXPECT_TRUE(Convert(t.x, XtRWidgetList, "  ", &list));
  EXPECT_EQ(list, nullptr);
  EXPECT_EQ(warnings.Text(), "");

  {
    xk::test::ToolkitWarnings quiet;  // the converter's own complaint
    EXPECT_FALSE(Convert(t.x, XtRWidgetList, "^ gone ^^", &list));
  }
  EXPECT_EQ(warnings.Take(),
            "Wcl Warning: WcCvtStringToWidgetList could not find\n    widget gone from widget "
            "x.\n");
}

}  // namespace
