// The table widget with real children under the test X server: placement
// from layout strings and the table-child operations, converter warnings,
// and the size negotiation with the parent and with the children.
#include <gtest/gtest.h>
// gtest first: Xlib defines macros (Bool, None) that clash with its names.
#include <X11/IntrinsicP.h>
#include <X11/ShellP.h>
#include <X11/StringDefs.h>
#include <Xm/Label.h>

#include <algorithm>
#include <climits>
#include <cstdarg>
#include <cstring>
#include <string>
#include <vector>

#include "common/Warnings.h"
#include "common/XFixture.h"
#include "wcl/WcRegistry.h"
#include "wcl/WcWarnings.h"
#include "xmp/TableP.h"

namespace {

using namespace xk::test;

Display* Dpy() { return XtDisplay(TopLevel()); }

// A top-level shell of its own per test; `grants` says whether it lets the
// table change size once it is realized.
Widget NewShell(bool grants) {
  Arg args[3];
  XtSetArg(args[0], XtNallowShellResize, grants);
  XtSetArg(args[1], XtNx, 0);
  XtSetArg(args[2], XtNy, 0);
  return XtAppCreateShell("tableShell", "XkTest", topLevelShellWidgetClass, Dpy(), args, 3);
}

Widget NewTable(Widget parent, const char* name) {
  Arg args[3];
  XtSetArg(args[0], const_cast<char*>("marginWidth"), 0);
  XtSetArg(args[1], const_cast<char*>("marginHeight"), 0);
  XtSetArg(args[2], const_cast<char*>("shadowThickness"), 0);
  return XmpCreateTable(parent, const_cast<char*>(name), args, 3);
}

// A child without a preferred size of its own: the table keeps the size it
// was created with.
Widget Box(Widget table, const char* name, int width, int height) {
  Arg args[3];
  XtSetArg(args[0], XtNwidth, width);
  XtSetArg(args[1], XtNheight, height);
  XtSetArg(args[2], XtNborderWidth, 0);
  return XtCreateWidget(name, coreWidgetClass, table, args, 3);
}

void ManageAll(Widget table) {
  CompositeWidget c = reinterpret_cast<CompositeWidget>(table);
  XtManageChildren(c->composite.children, c->composite.num_children);
}

// Manages the table's children and the table, and realizes the shell.
void Show(Widget table) {
  ManageAll(table);
  XtManageChild(table);
  XtRealizeWidget(XtParent(table));
  Drain();
}

std::string Geometry(Widget w) {
  return std::to_string(w->core.x) + "," + std::to_string(w->core.y) + " " +
         std::to_string(w->core.width) + "x" + std::to_string(w->core.height);
}

void PutResource(const char* line) {
  XrmDatabase db = XtDatabase(Dpy());
  XrmPutLineResource(&db, line);
}

XtGeometryResult Ask(Widget child, XtGeometryMask mode, int width, int height,
                     XtWidgetGeometry* reply) {
  XtWidgetGeometry request{};
  request.request_mode = mode;
  request.width = static_cast<Dimension>(width);
  request.height = static_cast<Dimension>(height);
  *reply = {};
  return XmpTableGeometryManager(child, &request, reply);
}

TEST(TableGui, LayoutStringPlacesChildrenInTheirCells) {
  PutResource("*placed.layout: a 0 0; b 1 0 2 1 lw; c 0 1");
  Widget table = NewTable(NewShell(true), "placed");
  Widget a = Box(table, "a", 40, 20), b = Box(table, "b", 30, 10), c = Box(table, "c", 50, 30);
  Widget loose = Box(table, "loose", 10, 10);
  Show(table);

  // Column 0 takes c's 50; b's two rigid columns share its 30; rows 20 and 30.
  EXPECT_EQ(Geometry(table), "0,0 80x50");
  EXPECT_EQ(Geometry(a), "0,0 50x20");
  EXPECT_EQ(Geometry(b), "50,0 30x20");
  EXPECT_EQ(Geometry(c), "0,20 50x30");
  EXPECT_EQ(Geometry(loose), "0,0 50x20");  // no placement: column 0, row 0
}

TEST(TableGui, RejectedLayoutStringWarnsAndLeavesNoLayout) {
  PutResource("*rejected.layout: a 0 0 b 1 0");
  ToolkitWarnings warnings;
  Widget table = NewTable(NewShell(true), "rejected");
  ASSERT_EQ(warnings.Lines().size(), 1u);
  EXPECT_EQ(warnings.Lines()[0], "conversionError/string a 0 0 b 1 0 XmpTableLoc");
  EXPECT_EQ(reinterpret_cast<XmpTableWidget>(table)->table.default_layout, nullptr);

  Widget a = Box(table, "a", 20, 20), b = Box(table, "b", 20, 20);
  Show(table);
  EXPECT_EQ(a->core.x, 0);
  EXPECT_EQ(b->core.x, 0);  // b was not put in column 1
}

TEST(TableGui, OptionStringsWithoutLettersConvertToZeroWithAWarning) {
  PutResource("*optsN.defaultOptions: nlr");
  PutResource("*optsNone.defaultOptions: xyz");
  PutResource("*optsLr.defaultOptions: lr");
  for (const char* name : {"optsN", "optsNone", "optsLr"}) {
    SCOPED_TRACE(name);
    ToolkitWarnings warnings;
    Widget table = NewTable(NewShell(true), name);
    bool letters = std::string(name) == "optsLr";
    EXPECT_EQ(reinterpret_cast<XmpTableWidget>(table)->table.default_options,
              letters ? XmpTableLeft | XmpTableRight : 0);
    EXPECT_EQ(warnings.Lines().size(), letters ? 0u : 1u);
  }
}

TEST(TableGui, SameWidthGroupWidensEveryMember) {
  PutResource("*same.layout: a 0 0; b 1 0; c 2 0");
  PutResource("*same.sameWidth: (a c)");
  Widget table = NewTable(NewShell(true), "same");
  Widget a = Box(table, "a", 20, 10), b = Box(table, "b", 30, 10), c = Box(table, "c", 45, 10);
  Show(table);
  EXPECT_EQ(Geometry(a), "0,0 45x10");
  EXPECT_EQ(Geometry(b), "45,0 30x10");
  EXPECT_EQ(Geometry(c), "75,0 45x10");

  // A new group at run time replaces the old one: a is back to its own width.
  XtVaSetValues(table, XtVaTypedArg, XmpNsameWidth, XtRString, "(b c)", 6, nullptr);
  EXPECT_EQ(Geometry(a), "0,0 20x10");
  EXPECT_EQ(Geometry(b), "20,0 45x10");
  EXPECT_EQ(Geometry(c), "65,0 45x10");
}

TEST(TableGui, ChildOperationsMoveManagedAndUnmanagedChildren) {
  Widget table = NewTable(NewShell(true), "moves");
  Widget a = Box(table, "a", 20, 10), b = Box(table, "b", 30, 15);
  Widget later = Box(table, "later", 5, 5);
  XtManageChild(a);
  XtManageChild(b);
  XtManageChild(table);
  XtRealizeWidget(XtParent(table));

  XmpTableChildPosition(b, 1, 0);
  EXPECT_EQ(Geometry(table), "0,0 50x15");
  EXPECT_EQ(Geometry(b), "20,0 30x15");
  XmpTableChildConfig(later, 0, 1, 2, 1, XmpTableLeft | XmpTableKeepWidth);
  EXPECT_EQ(Geometry(table), "0,0 50x15");  // not managed yet
  XtManageChild(later);
  EXPECT_EQ(Geometry(table), "0,0 50x20");
  EXPECT_EQ(Geometry(later), "0,15 5x5");

  // A destroyed child frees its record for the next child of its name.
  XtDestroyWidget(b);
  Drain();
  Widget again = Box(table, "b", 30, 15);
  XtManageChild(again);
  EXPECT_EQ(again->core.x, 20);

  // Cells and spans far out of range are held to the largest cell a layout
  // string can name instead of asking for billions of columns.
  XmpTableChildConfig(again, INT_MAX, 0, INT_MAX, 1, 0);
  const std::vector<XmpTableLocRec>& current =
      reinterpret_cast<XmpTableWidget>(table)->table.state->current;
  auto rec = std::find_if(current.begin(), current.end(),
                          [again](const XmpTableLocRec& r) { return r.w == again; });
  ASSERT_NE(rec, current.end());
  EXPECT_EQ(rec->col, 32767);
  EXPECT_EQ(rec->h_span, 32767);
  XmpTableChildConfig(again, 1, 0, 1, 1, 0);
  EXPECT_EQ(again->core.x, 20);
}

TEST(TableGui, ChildOperationsWarnAboutTheirArguments) {
  Widget table = NewTable(NewShell(true), "usage");
  Widget a = Box(table, "a", 20, 10);
  Show(table);
  CaptureWarnings warnings;

  String two[] = {const_cast<char*>("a"), const_cast<char*>("1")};
  Cardinal n = 2;
  XmpTableChildConfigACT(table, nullptr, two, &n);
  String seven[] = {const_cast<char*>("a"), const_cast<char*>("1"), const_cast<char*>("0"),
                    const_cast<char*>("1"), const_cast<char*>("1"), const_cast<char*>("l"),
                    const_cast<char*>("x")};
  n = 7;
  XmpTableChildConfigACT(table, nullptr, seven, &n);
  XmpTableChildConfigCB(table, const_cast<char*>("nobody 1 0"), nullptr);
  XmpTableChildOptionsCB(table, const_cast<char*>("this l"), nullptr);  // the table itself
  XmpTableChildResizeCB(table, const_cast<char*>("a 1"), nullptr);

  const std::string usage =
      "Xmp Warning: XmpTableChildConfig( ... ) - Wrong number of arguments.\n"
      "Xmp Usage: XmpTableChildConfig( w col row [h_span [v_span [opts]]] )";
  ASSERT_EQ(warnings.Messages().size(), 5u);
  EXPECT_EQ(warnings.Messages()[0], usage);
  EXPECT_EQ(warnings.Messages()[1], usage);
  EXPECT_EQ(warnings.Messages()[2],
            "Xmp Warning: XmpTableChildConfig( nobody ... ) - Could not find widget.");
  EXPECT_EQ(warnings.Messages()[3],
            "Xmp Warning: XmpTableChildOptions( this ... ) Widget not child of an XmpTable.");
  EXPECT_EQ(warnings.Messages()[4],
            "Xmp Warning: XmpTableChildResize( ... ) Wrong number of arguments.\n"
            "Xmp Usage: XmpTableChildResize( w h_span v_span )");
  EXPECT_EQ(Geometry(a), "0,0 20x10");

  ToolkitWarnings toolkit;
  XmpTableChildPosition(table, 1, 1);  // the table is no table child
  ASSERT_EQ(toolkit.Lines().size(), 1u);
  EXPECT_EQ(toolkit.Lines()[0], "notChildOfTable/XmpTableChildChange usage");
}

TEST(TableGui, ConfigWithThreeParametersTurnsEveryOptionOn) {
  PutResource("*allOn.layout: a 0 0 2 2");
  Widget table = NewTable(NewShell(true), "allOn");
  Widget a = Box(table, "a", 20, 10), big = Box(table, "big", 60, 40);
  XmpTableChildPosition(big, 0, 1);
  Show(table);
  EXPECT_EQ(Geometry(a), "0,0 60x40");  // fills its two columns and rows at first

  String three[] = {const_cast<char*>("a"), const_cast<char*>("0"), const_cast<char*>("0")};
  Cardinal n = 3;
  XmpTableChildConfigACT(table, nullptr, three, &n);
  // Spans 1 x 1; 'W' and 'H' keep its own size, 'l' and 't' put it top left.
  EXPECT_EQ(Geometry(a), "0,0 20x10");
  XmpTableLocRec rec = reinterpret_cast<XmpTableWidget>(table)->table.state->current[0];
  EXPECT_EQ(rec.h_span, 1);
  EXPECT_EQ(rec.v_span, 1);
  EXPECT_EQ(rec.options, ~0);
}

TEST(TableGui, ChildAskingForItsOwnSizeIsDoneWithoutLayout) {
  Widget table = NewTable(NewShell(true), "own");
  Widget a = Box(table, "a", 40, 20);
  Show(table);
  XtWidgetGeometry reply;
  EXPECT_EQ(Ask(a, CWWidth | CWHeight, 40, 20, &reply), XtGeometryDone);
  EXPECT_EQ(Ask(a, CWWidth | XtCWQueryOnly, 40, 0, &reply), XtGeometryYes);
  EXPECT_EQ(reply.request_mode, static_cast<XtGeometryMask>(CWWidth));
}

TEST(TableGui, ChildGrowsAloneUnderAParentThatGrants) {
  Widget table = NewTable(NewShell(true), "grows");
  Widget a = Box(table, "a", 40, 20);
  Show(table);
  XtWidgetGeometry reply;
  EXPECT_EQ(Ask(a, CWWidth | CWHeight, 70, 35, &reply), XtGeometryDone);
  Drain();
  EXPECT_EQ(Geometry(a), "0,0 70x35");
  EXPECT_EQ(Geometry(table), "0,0 70x35");

  // The same through the toolkit, and the new size survives a relayout.
  XtWidgetGeometry request{CWWidth, 0, 0, 90, 0, 0, nullptr, 0};
  EXPECT_EQ(XtMakeGeometryRequest(a, &request, &reply), XtGeometryYes);
  XmpTableChildOptions(a, XmpTableKeepWidth);
  EXPECT_EQ(Geometry(a), "0,0 90x35");
}

TEST(TableGui, RequestBeyondTheAllowanceIsAnsweredAlmostThenDone) {
  Widget table = NewTable(NewShell(false), "refused");
  Widget a = Box(table, "a", 40, 20), b = Box(table, "b", 40, 20);
  XmpTableChildPosition(b, 1, 0);
  Show(table);
  ASSERT_EQ(Geometry(table), "0,0 80x20");

  // Columns of 60 and 40 squeezed into 80 keep their proportions: 48 and 32.
  XtWidgetGeometry reply;
  EXPECT_EQ(Ask(a, CWWidth | CWHeight, 60, 30, &reply), XtGeometryAlmost);
  EXPECT_EQ(reply.request_mode, static_cast<XtGeometryMask>(CWWidth));
  EXPECT_EQ(reply.width, 48);
  EXPECT_EQ(reply.height, 20);
  EXPECT_EQ(Geometry(a), "0,0 40x20");  // nothing applied yet

  EXPECT_EQ(Ask(a, CWWidth, 48, 0, &reply), XtGeometryDone);
  EXPECT_EQ(Geometry(a), "0,0 48x20");
  EXPECT_EQ(Geometry(b), "48,0 32x20");
  EXPECT_EQ(Geometry(table), "0,0 80x20");
}

TEST(TableGui, QueryOnlyRequestsChangeNothing) {
  Widget table = NewTable(NewShell(true), "query");
  Widget a = Box(table, "a", 40, 20);
  Show(table);
  XtWidgetGeometry reply;
  EXPECT_EQ(Ask(a, CWWidth | CWHeight | XtCWQueryOnly, 70, 35, &reply), XtGeometryYes);
  Drain();
  EXPECT_EQ(Geometry(a), "0,0 40x20");
  EXPECT_EQ(Geometry(table), "0,0 40x20");
  EXPECT_EQ(XtParent(table)->core.width, 40);

  // Taking up the granted answer for real applies it.
  EXPECT_EQ(Ask(a, CWWidth | CWHeight, 70, 35, &reply), XtGeometryDone);
  EXPECT_EQ(Geometry(a), "0,0 70x35");
}

// A manager whose geometry manager resizes its child even when only asked.
XtGeometryResult ResizeAnyway(Widget child, XtWidgetGeometry* request, XtWidgetGeometry*) {
  XtResizeWidget(child, (request->request_mode & CWWidth) ? request->width : child->core.width,
                 (request->request_mode & CWHeight) ? request->height : child->core.height,
                 child->core.border_width);
  return XtGeometryYes;
}

void NoLayout(Widget) {}

// clang-format off
CompositeClassRec brokenClassRec = {
    {reinterpret_cast<WidgetClass>(&compositeClassRec), const_cast<char*>("Broken"),
     sizeof(CompositeRec), nullptr, nullptr, False, nullptr, nullptr, XtInheritRealize, nullptr,
     0, nullptr, 0, NULLQUARK, True, True, True, False, nullptr, nullptr, nullptr, nullptr,
     nullptr, XtInheritSetValuesAlmost, nullptr, nullptr, XtVersion, nullptr, nullptr, nullptr,
     nullptr, nullptr},
    {ResizeAnyway, NoLayout, XtInheritInsertChild, XtInheritDeleteChild, nullptr},
};
// clang-format on

TEST(TableGui, NegotiationWarnsAboutBrokenParentsAndUnmanagedChildren) {
  Widget shell = NewShell(true);
  Arg args[2];
  XtSetArg(args[0], XtNwidth, 200);
  XtSetArg(args[1], XtNheight, 200);
  Widget broken = XtCreateManagedWidget("broken", reinterpret_cast<WidgetClass>(&brokenClassRec),
                                        shell, args, 2);
  Widget table = NewTable(broken, "underBroken");
  Widget a = Box(table, "a", 40, 20);
  ManageAll(table);
  XtManageChild(table);
  XtRealizeWidget(shell);
  ToolkitWarnings warnings;
  XtWidgetGeometry reply;
  EXPECT_EQ(Ask(a, CWWidth | CWHeight, 70, 35, &reply), XtGeometryNo);
  ASSERT_EQ(warnings.Lines().size(), 1u);
  EXPECT_EQ(warnings.Lines()[0], "brokenParent/XmpTableQueryParentForResize broken Broken");

  Widget plain = NewTable(NewShell(true), "plain");
  Box(plain, "b", 10, 10);
  Widget unmanaged = Box(plain, "u", 10, 10);
  Show(plain);
  XtUnmanageChild(unmanaged);
  warnings.Clear();
  EXPECT_EQ(Ask(unmanaged, CWWidth, 30, 0, &reply), XtGeometryNo);
  ASSERT_EQ(warnings.Lines().size(), 1u);
  EXPECT_EQ(warnings.Lines()[0],
            "unmanagedChildMadeResizeRequest/XmpTableGetProposedChildSize u plain");
}

TEST(TableGui, MotifLabelsGrowWithTheirTextAsFarAsTheParentAllows) {
  for (bool grants : {true, false}) {
    SCOPED_TRACE(grants ? "granting shell" : "refusing shell");
    Widget table = NewTable(NewShell(grants), "labels");
    Widget label = XmCreateLabel(table, const_cast<char*>("short"), nullptr, 0);
    Widget other = XmCreateLabel(table, const_cast<char*>("other"), nullptr, 0);
    XmpTableChildPosition(other, 0, 1);
    Show(table);
    Dimension before = label->core.width, tableBefore = table->core.width;

    XmString text = XmStringCreateLocalized(const_cast<char*>("a much longer label text"));
    Arg arg;
    XtSetArg(arg, XmNlabelString, text);
    XtSetValues(label, &arg, 1);
    XmStringFree(text);
    Drain();
    if (grants) {
      EXPECT_GT(label->core.width, before);
      EXPECT_EQ(table->core.width, label->core.width);
      EXPECT_EQ(other->core.width, label->core.width);  // the column widened for both
    } else {
      EXPECT_EQ(table->core.width, tableBefore);
      EXPECT_EQ(label->core.width, tableBefore);
    }
  }
}

TEST(TableGui, NewLayoutValuePlacesOnlyChildrenNotYetLaidOut) {
  PutResource("*relaid.layout: a 0 0; b 1 0");
  Widget table = NewTable(NewShell(true), "relaid");
  Widget a = Box(table, "a", 10, 10);
  Box(table, "b", 10, 10);
  Show(table);
  const char* layout = "a 3 3; c 2 0";
  XtVaSetValues(table, XtVaTypedArg, XmpNlayout, XtRString, layout, strlen(layout) + 1, nullptr);
  Widget c = Box(table, "c", 10, 10);
  XtManageChild(c);
  EXPECT_EQ(Geometry(a), "0,0 10x10");
  EXPECT_EQ(Geometry(c), "20,0 10x10");
  EXPECT_EQ(Geometry(table), "0,0 30x10");
}

TEST(TableGui, SpacingAndMarginChangesRelayOut) {
  Widget table = NewTable(NewShell(true), "spacing");
  Widget a = Box(table, "a", 10, 10), b = Box(table, "b", 10, 10);
  XmpTableChildPosition(b, 1, 1);
  Show(table);
  XtVaSetValues(table, XmpNcolumnSpacing, 4, XmpNrowSpacing, 2, nullptr);
  EXPECT_EQ(Geometry(b), "14,12 10x10");
  XtVaSetValues(table, XmNmarginWidth, 5, XmNmarginHeight, 3, nullptr);
  EXPECT_EQ(Geometry(a), "5,3 10x10");
  EXPECT_EQ(Geometry(b), "19,15 10x10");
  EXPECT_EQ(Geometry(table), "0,0 34x28");
}

TEST(TableGui, EmptyTableRealizes) {
  Widget table = NewTable(NewShell(true), "empty");
  Show(table);
  EXPECT_TRUE(XtIsRealized(table));
  EXPECT_EQ(Geometry(table), "0,0 1x1");
}

TEST(TableGui, QueryGeometryAnswersFromThePreferredSize) {
  Widget table = NewTable(NewShell(true), "answers");
  Box(table, "a", 40, 20);
  Show(table);
  XtResizeWidget(XtParent(table), 100, 50, 0);
  XtWidgetGeometry proposed{CWWidth | CWHeight, 0, 0, 100, 99, 0, nullptr, 0}, preferred;
  EXPECT_EQ(XtQueryGeometry(table, &proposed, &preferred), XtGeometryNo);
  proposed = {CWWidth, 0, 0, 30, 0, 0, nullptr, 0};
  EXPECT_EQ(XtQueryGeometry(table, &proposed, &preferred), XtGeometryAlmost);
  EXPECT_EQ(preferred.width, 40);
  proposed = {CWWidth, 0, 0, 60, 0, 0, nullptr, 0};
  EXPECT_EQ(XtQueryGeometry(table, &proposed, &preferred), XtGeometryYes);
  EXPECT_EQ(preferred.width, 60);
}

// Asked without a proposal, the table proposes its preferred size and asks
// for a compromise where its current size falls short of it.
TEST(TableGui, QueryWithoutAProposalAsksWhereTheSizeFallsShort) {
  Widget shell = NewShell(true);
  Widget table = NewTable(shell, "unasked");
  Box(table, "a", 180, 80);
  Show(table);
  XtWidgetGeometry preferred;
  XtResizeWidget(shell, 280, 60, 0);
  EXPECT_EQ(XtQueryGeometry(table, nullptr, &preferred), XtGeometryAlmost);
  EXPECT_EQ(preferred.request_mode, static_cast<XtGeometryMask>(CWWidth | CWHeight));
  EXPECT_EQ(preferred.width, 180);
  EXPECT_EQ(preferred.height, 80);
  XtResizeWidget(shell, 280, 90, 0);
  EXPECT_EQ(XtQueryGeometry(table, nullptr, &preferred), XtGeometryYes);
}

// Numbers beyond the largest cell are held there by every route: the
// functions, their actions and their callbacks.
TEST(TableGui, ChildNumbersAboveTheLargestCellAreHeldByEveryRoute) {
  Widget table = NewTable(NewShell(true), "held");
  Widget byCode = Box(table, "byCode", 10, 10);
  Box(table, "byAction", 10, 10);
  XmpTableChildConfig(byCode, 40000, 99999999, 40000, 70000, 0);
  XmpTableChildConfigCB(table, const_cast<char*>("byAction 40000 99999999 40000 70000"), nullptr);
  const auto& list = reinterpret_cast<XmpTableWidget>(table)->table.state->layoutList;
  ASSERT_EQ(list.size(), 2u);
  for (const XmpTableLocRec& r : list) {
    SCOPED_TRACE(XtName(r.w));
    EXPECT_EQ(r.col, 32767);
    EXPECT_EQ(r.row, 32767);
    EXPECT_EQ(r.h_span, 32767);
    EXPECT_EQ(r.v_span, 32767);
  }
  XtDestroyWidget(XtParent(table));
}

// Records the size requests a widget makes through the toolkit and, at each,
// what the widget's own query answers while it waits for its parent.
struct RequestLog {
  Widget watched = nullptr;
  std::vector<std::string> requests, answers;
};

void LogRequest(Widget, XtPointer closure, XtPointer data) {
  auto* log = static_cast<RequestLog*>(closure);
  auto* hook = static_cast<XtGeometryHookData>(data);
  if (hook->widget != log->watched || hook->type != XtHpreGeometry) return;
  log->requests.push_back(std::to_string(hook->request->width) + "x" +
                          std::to_string(hook->request->height));
  XtWidgetGeometry preferred;
  XtQueryGeometry(hook->widget, nullptr, &preferred);
  log->answers.push_back(std::to_string(preferred.width) + "x" + std::to_string(preferred.height));
}

// A table inside a table whose shell does not grow: the inner one asks for
// more, the outer one offers a compromise, and the inner one asks again
// for exactly that. While it asks, its query answers the size asked for.
TEST(TableGui, RequestRepeatsWithTheCompromiseAndQueriesAnswerTheSizeAsked) {
  Widget outer = NewTable(NewShell(false), "outer");
  Widget inner = NewTable(outer, "inner");
  Box(inner, "a", 40, 20);
  Widget fixed = Box(outer, "fixed", 40, 20);
  XmpTableChildPosition(fixed, 1, 0);
  ManageAll(inner);
  Show(outer);
  ASSERT_EQ(Geometry(outer), "0,0 80x20");

  RequestLog log{inner, {}, {}};
  Widget hooks = XtHooksOfDisplay(Dpy());
  XtAddCallback(hooks, XtNgeometryHook, LogRequest, &log);
  Widget b = Box(inner, "b", 30, 20);
  XmpTableChildPosition(b, 1, 0);
  XtManageChild(b);
  XtRemoveCallback(hooks, XtNgeometryHook, LogRequest, &log);
  // Columns of 70 and 40 squeezed into 80: 50 and 30.
  EXPECT_EQ(log.requests, (std::vector<std::string>{"70x20", "50x20"}));
  EXPECT_EQ(log.answers, log.requests);
  EXPECT_EQ(Geometry(inner), "0,0 50x20");
  EXPECT_EQ(Geometry(fixed), "50,0 30x20");
  XtDestroyWidget(XtParent(outer));
}

// A border-width request is answered with the requested border and the
// border bit; where that border leaves no room, with the child's own.
TEST(TableGui, BorderWidthRequestsAreTriedWithTheRequestedBorder) {
  Widget table = NewTable(NewShell(true), "borders");
  Widget a = Box(table, "a", 40, 20);
  Show(table);
  XtWidgetGeometry request{CWBorderWidth | XtCWQueryOnly, 0, 0, 0, 0, 4, nullptr, 0}, reply;
  EXPECT_EQ(XmpTableGeometryManager(a, &request, &reply), XtGeometryYes);
  EXPECT_EQ(reply.request_mode, static_cast<XtGeometryMask>(CWBorderWidth));
  EXPECT_EQ(reply.border_width, 4);
  request.request_mode = CWBorderWidth;
  EXPECT_EQ(XmpTableGeometryManager(a, &request, &reply), XtGeometryDone);
  EXPECT_EQ(a->core.border_width, 4);
  EXPECT_EQ(Geometry(table), "0,0 48x28");
  XtDestroyWidget(XtParent(table));

  Widget tiny = NewTable(NewShell(false), "tinyBorders");
  Widget t = Box(tiny, "t", 2, 2);
  Show(tiny);
  request.border_width = 5;  // 2 pixels less twice 5 leave nothing
  EXPECT_EQ(XmpTableGeometryManager(t, &request, &reply), XtGeometryNo);
  EXPECT_EQ(reply.border_width, 0);
  EXPECT_EQ(Geometry(t), "0,0 2x2");
  XtDestroyWidget(XtParent(tiny));
}

// sameHeight gives the members the tallest height; sameBorder the widest
// border, which counts in the preferred size of a member whose size is
// forced too.
TEST(TableGui, SameHeightAndSameBorderEnterThePreferredSizes) {
  PutResource("*alike.layout: a 0 0; b 1 0; c 0 1");
  PutResource("*alike.sameHeight: (a b)");
  PutResource("*alike.sameWidth: (a c)");
  PutResource("*alike.sameBorder: (a c)");
  Widget table = NewTable(NewShell(true), "alike");
  Widget a = Box(table, "a", 20, 10), b = Box(table, "b", 30, 25), c = Box(table, "c", 10, 5);
  XtVaSetValues(c, XtNborderWidth, 3, nullptr);
  Show(table);
  // a and c prefer the forced width 20 plus twice the forced border 3: 26;
  // a prefers the forced height 25 plus 6: 31, b just 25 (no forced
  // border); c keeps its height 5 plus its own border twice: 11. Each
  // child then fills its cells less its own border.
  EXPECT_EQ(Geometry(a), "0,0 26x31");
  EXPECT_EQ(Geometry(b), "26,0 30x31");
  EXPECT_EQ(Geometry(c), "0,31 20x5");
  EXPECT_EQ(Geometry(table), "0,0 56x42");
  XtDestroyWidget(XtParent(table));
}

// A child spanning only columns that do not stretch gives them the size
// the table took it in with, not the size it would prefer.
TEST(TableGui, SpanOverOnlyNoStretchColumnsUsesTheSavedSize) {
  PutResource("*rigid.layout: wide 0 0 2 1 w; low 0 1; high 1 1");
  Widget table = NewTable(NewShell(true), "rigid");
  Arg width;
  XtSetArg(width, XtNwidth, 100);
  Widget wide = XmCreateLabel(table, const_cast<char*>("wide"), &width, 1);
  Box(table, "low", 10, 10);
  Box(table, "high", 10, 10);
  XtWidgetGeometry preferred;
  XtQueryGeometry(wide, nullptr, &preferred);
  ASSERT_LT(preferred.width, 100);
  Show(table);
  EXPECT_EQ(wide->core.width, 100);
  EXPECT_EQ(table->core.width, 100);
  XtDestroyWidget(XtParent(table));
}

TEST(TableGui, ShellResizeSpreadsTheDifference) {
  Widget shell = NewShell(true);
  Widget table = NewTable(shell, "spread");
  Widget a = Box(table, "a", 50, 10), b = Box(table, "b", 150, 10);
  XmpTableChildPosition(b, 1, 0);
  Show(table);
  XtResizeWidget(shell, 300, 10, 0);
  EXPECT_EQ(Geometry(a), "0,0 75x10");
  EXPECT_EQ(Geometry(b), "75,0 225x10");

  Arg arg;
  XtSetArg(arg, XmpNforceShrink, False);
  XtSetValues(table, &arg, 1);
  XtResizeWidget(shell, 100, 10, 0);
  EXPECT_EQ(Geometry(a), "0,0 50x10");
  EXPECT_EQ(Geometry(b), "50,0 150x10");
}

TEST(TableGui, DialogConstructorsMakeTheirShell) {
  Arg width;
  XtSetArg(width, XtNwidth, 123);
  Widget dialog = XmpCreateTableDialog(TopLevel(), const_cast<char*>("dlg"), &width, 1);
  Widget shell = XtParent(dialog);
  EXPECT_STREQ(XtName(shell), "dlg_popup");
  EXPECT_FALSE(XtIsManaged(dialog));
  EXPECT_TRUE(reinterpret_cast<ShellWidget>(shell)->shell.allow_shell_resize);
  EXPECT_EQ(dialog->core.width, 123);
  EXPECT_NE(shell->core.width, 123);  // the table's arguments are not the shell's
  Widget transient = XmpCreateTableTransient(TopLevel(), const_cast<char*>("tr"), nullptr, 0);
  EXPECT_TRUE(XtIsManaged(transient));
  EXPECT_TRUE(XtIsTransientShell(XtParent(transient)));

  XtDestroyWidget(dialog);
  Drain();
  EXPECT_EQ(XtNameToWidget(TopLevel(), "dlg_popup"), nullptr);
}

TEST(TableGui, RegistrationNamesTheClassConstructorsAndOperations) {
  XmpRegisterTable(App());
  EXPECT_EQ(WcFindClass(App(), WcNameToQuarkLower("XmpTable")), xmpTableWidgetClass);
  EXPECT_EQ(WcFindClass(App(), WcNameToQuarkLower("xmpTableWidgetClass")), xmpTableWidgetClass);
  EXPECT_EQ(WcFindConstructor(App(), WcNameToQuarkLower("XmpCreateTableDialog")),
            XmpCreateTableDialog);
  WcCallbackPair cb = WcFindCallback(App(), WcNameToQuarkLower("XmpTableChildResizeCB"));
  ASSERT_NE(cb, nullptr);
  EXPECT_EQ(cb->callback, XmpTableChildResizeCB);

  Widget table = NewTable(NewShell(true), "byAction");
  Widget a = Box(table, "a", 20, 10);
  Box(table, "b", 20, 10);
  Show(table);
  String params[] = {const_cast<char*>("a"), const_cast<char*>("1"), const_cast<char*>("0")};
  XtCallActionProc(table, "XmpTableChildPositionACT", nullptr, params, 3);
  EXPECT_EQ(a->core.x, 20);
}

}  // namespace
