// Callback lists made from text and bound late, on real widgets: client
// data rules, methods and attached objects, undefined and library
// callbacks, conversion warnings, once-only removal and the bridges.
#include <gtest/gtest.h>

#include "common/Warnings.h"
#include "common/XFixture.h"
#include "wcl/WcCallbacks.h"
#include "wcl/WcConverters.h"
#include "wcl/WcLibraryResources.h"
#include "wcl/WcRegistry.h"

#include <Xm/Form.h>
#include <Xm/PushB.h>
#include <X11/StringDefs.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

using xk::test::CaptureWarnings;
using xk::test::ToolkitWarnings;

// What the recording callbacks saw, one entry per call.
std::vector<std::string>& Calls() {
  static std::vector<std::string> calls;
  return calls;
}

std::string Str(XtPointer p) { return p ? static_cast<const char*>(p) : "(null)"; }

void Record(Widget w, XtPointer client, XtPointer call) {
  Calls().push_back(std::string(XtName(w)) + ":" + Str(client) + ":" + Str(call));
}

void RecordOther(Widget, XtPointer client, XtPointer) { Calls().push_back("other:" + Str(client)); }

void RecordMethod(Widget, XtPointer client, XtPointer) {
  auto* m = static_cast<WcMethodArgs>(client);
  Calls().push_back("method:" + Str(m->object) + ":" + Str(m->clientData) + ":" + m->args);
}

XtAppContext App() { return xk::test::App(); }

Widget Button(const char* name) {
  static Widget form = XtCreateManagedWidget("cbform", xmFormWidgetClass, xk::test::TopLevel(),
                                             nullptr, 0);
  return XtCreateManagedWidget(name, xmPushButtonWidgetClass, form, nullptr, 0);
}

// Calls each entry in order. (XtCallCallbackList expects the toolkit's
// internal list form, not the one converters produce.)
void CallAll(Widget w, XtCallbackList list, XtPointer call) {
  for (XtCallbackList e = list; e && e->callback; ++e) e->callback(w, e->closure, call);
}

// Runs the list made from `text` once on w with call data "call".
std::vector<std::string> Fire(Widget w, const char* text) {
  Calls().clear();
  XtCallbackList list = WcStringToCallbackList(w, text);
  CallAll(w, list, const_cast<char*>("call"));
  XtFree(reinterpret_cast<char*>(list));
  return Calls();
}

using Seen = std::vector<std::string>;

TEST(CallbackList, BoundWhenInvokedNotWhenConverted) {
  Widget w = Button("late");
  XtCallbackList list = WcStringToCallbackList(w, "lateBoundCB(x), lateBoundCB lateBoundCB( )");
  ASSERT_NE(list, nullptr);

  WcRegisterCallback(App(), "LateBoundCB", Record, const_cast<char*>("registered"));
  Calls().clear();
  CallAll(w, list, const_cast<char*>("call"));
  EXPECT_EQ(Calls(), (Seen{"late:x:call", "late:registered:call", "late:registered:call"}));

  // A later registration in another letter case replaces the first, and
  // without registered client data the empty argument text is passed.
  WcRegisterCallback(App(), "lateboundcb", RecordOther, nullptr);
  Calls().clear();
  CallAll(w, list, nullptr);
  EXPECT_EQ(Calls(), (Seen{"other:x", "other:", "other:"}));
  XtFree(reinterpret_cast<char*>(list));
}

TEST(CallbackList, EmptyBlankAndMalformedTextsGiveNoList) {
  Widget w = Button("empty");
  ToolkitWarnings toolkit;
  // The last toolkit warning: its text and its parameters.
  auto xtWarning = [&] {
    if (toolkit.All().empty()) return std::string();
    const ToolkitWarnings::Warning& last = toolkit.All().back();
    std::string text = last.text;
    for (const std::string& p : last.params) text += "|" + p;
    return text;
  };
  CaptureWarnings warnings;
  for (const char* text : {static_cast<const char*>(nullptr), "", "  \t\n"}) {
    toolkit.Clear();
    EXPECT_EQ(WcStringToCallbackList(w, text), nullptr);
    EXPECT_EQ(xtWarning(), "");
  }
  EXPECT_EQ(WcStringToCallbackList(w, ",a"), nullptr);
  EXPECT_EQ(xtWarning(),
            "Cannot convert string \"%s\" to type %s|,a|Callback, looking for start of callback "
            "name, found ','");

  std::string many;
  for (int i = 0; i < 64; ++i) many += "Record ";
  EXPECT_EQ(WcStringToCallbackList(w, many.c_str()), nullptr);
  EXPECT_NE(xtWarning().find("|Callback, Too many callbacks"), std::string::npos);
  many.resize(many.size() - 7);
  XtCallbackList list = WcStringToCallbackList(w, many.c_str());
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(list[62].callback, WcCallbackTrampoline);
  EXPECT_EQ(list[63].callback, nullptr);
  XtFree(reinterpret_cast<char*>(list));
  EXPECT_EQ(warnings.Text(), "");
}

TEST(CallbackList, ArgumentTextsAreSharedCopies) {
  Widget w = Button("interned");
  XtCallbackList one = WcStringToCallbackList(w, "a(same text) b(other)");
  XtCallbackList two = WcStringToCallbackList(w, "c( same text )");
  auto args = [](XtCallbackList l, int i) { return static_cast<WcCallbackRec*>(l[i].closure)->args; };
  EXPECT_STREQ(args(one, 0), "same text");
  EXPECT_EQ(args(one, 0), args(two, 0));
  EXPECT_NE(args(one, 0), args(one, 1));
  XtFree(reinterpret_cast<char*>(one));
  XtFree(reinterpret_cast<char*>(two));
}

TEST(CallbackList, UndefinedAndLibraryCallbacksAreReportedNotCalled) {
  Widget w = Button("undef");
  WcRegisterCallback(App(), "Record", Record, nullptr);
  CaptureWarnings warnings;
  EXPECT_EQ(Fire(w, "neverRegistered(1 2) -lfoo::Record(3) Record"), (Seen{"undef::call"}));
  EXPECT_EQ(warnings.Take(),
            "Wcl Warning: Undefined Callback Invoked: neverRegistered(1 2)\n"
            "Wcl Warning: WcLateBinder cannot invoke `-lfoo::Record(3)'\n\t- this system does "
            "not have dlopen() and dlsym().\n");

  static std::string seen;
  XtCallbackProc old = WcSetUndefinedCallback([](Widget, XtPointer text, XtPointer call) {
    seen = Str(text) + "/" + Str(call);
  });
  EXPECT_EQ(old, WcUndefinedCallback);
  Fire(w, "Editor::-lx::open");
  EXPECT_EQ(seen, "");  // library callbacks never reach the slot
  Fire(w, "missing");
  EXPECT_EQ(seen, "missing()/(null)");
  WcSetUndefinedCallback(nullptr);
  EXPECT_EQ(warnings.Take(),
            "Wcl Warning: WcLateBinder cannot invoke `-lx::Editor::open()'\n\t- this system does "
            "not have dlopen() and dlsym().\n");
}

TEST(CallbackList, VerboseWarningsReportUnregisteredNamesAtConversion) {
  Widget w = Button("verbose");
  WcRegisterCallback(App(), "Record", Record, nullptr);
  auto* res = const_cast<WcLibraryResources*>(WcGetLibraryResources());
  res->wclVerboseWarnings = True;
  CaptureWarnings warnings;
  XtCallbackList list = WcStringToCallbackList(w, "Record ghostCB(a) Cls::m -lq::z");
  res->wclVerboseWarnings = False;
  EXPECT_NE(list, nullptr);
  EXPECT_EQ(warnings.Text(), "Wcl Warning: Callback not registered: ghostCB\n");
  XtFree(reinterpret_cast<char*>(list));
}

TEST(Methods, ExactCaseAndAttachedObjects) {
  Widget holder = Button("holder");
  Widget w = Button("methodButton");
  static char object[] = "editorObject";
  WcRegisterMethod(App(), "Foo", "bar", RecordMethod, const_cast<char*>("mcd"));
  CaptureWarnings warnings;

  // No object attached: still called, with a null object.
  EXPECT_EQ(Fire(w, "Foo::bar(arg)"), (Seen{"method:(null):mcd:arg"}));
  EXPECT_EQ(Fire(w, "foo::bar Foo::Bar bar"), Seen{});
  EXPECT_EQ(warnings.Take(),
            "Wcl Warning: Undefined Callback Invoked: foo::bar()\n"
            "Wcl Warning: Undefined Callback Invoked: Foo::Bar()\n"
            "Wcl Warning: Undefined Callback Invoked: bar()\n");

  // Found on an ancestor of the invoking widget.
  WcAttachThisToWidget(object, "Foo", XtParent(w));
  EXPECT_EQ(Fire(w, "Foo::bar"), (Seen{"method:editorObject:mcd:"}));
  WcAttachThisToWidget(object, "foo", w);  // another class name
  EXPECT_EQ(Fire(holder, "Foo::bar"), (Seen{"method:editorObject:mcd:"}));
  WcDetachThisFromAllWidgets(object);
  EXPECT_EQ(Fire(w, "Foo::bar"), (Seen{"method:(null):mcd:"}));

  // With verbose warnings a missing object is reported by class and widget.
  auto* res = const_cast<WcLibraryResources*>(WcGetLibraryResources());
  res->wclVerboseWarnings = True;
  Fire(w, "Foo::bar(z)");
  res->wclVerboseWarnings = False;
  EXPECT_EQ(warnings.Take(),
            "Wcl Warning: WcLateBinder trying to invoke `Foo::bar(z)'\n\tno object of class "
            "`Foo'\n\tfound from widget xktest.cbform.methodButton\n");
}

TEST(Methods, DestroyedWidgetDropsItsObject) {
  static char object[] = "gone";
  Widget doomed = Button("doomed");
  WcAttachThisToWidget(object, "Obj", doomed);
  XrmQuark cls = XrmStringToQuark("Obj");
  EXPECT_EQ(WcFindAttachedObject(doomed, cls), object);
  XtDestroyWidget(doomed);
  xk::test::Drain();
  EXPECT_EQ(WcFindAttachedObject(doomed, cls), nullptr);

  Widget kept = Button("kept");
  WcAttachThisToWidget(object, "Obj", kept);
  WcDetachThisFromWidget(object, "Obj", kept);
  EXPECT_EQ(WcFindAttachedObject(kept, cls), nullptr);

  // Attaching no object leaves none, not the one attached before.
  WcAttachThisToWidget(object, "Obj", kept);
  WcAttachThisToWidget(nullptr, "Obj", kept);
  EXPECT_EQ(WcFindAttachedObject(kept, cls), nullptr);
}

// Each attachment hooks the widget's destruction; attaching again after
// the object was detached from all widgets must not pile up hooks.
TEST(Methods, ReattachingKeepsOneDestroyHook) {
  static char object[] = "cycled";
  Widget w = Button("cycled");
  auto hooks = [w] {
    XtCallbackList list = nullptr;
    XtVaGetValues(w, XtNdestroyCallback, &list, nullptr);
    int n = 0;
    for (; list && list[n].callback; ++n) {
    }
    return n;
  };
  const int before = hooks();
  for (int i = 0; i < 5; ++i) {
    WcAttachThisToWidget(object, "Cycled", w);
    WcDetachThisFromAllWidgets(object);
  }
  WcAttachThisToWidget(object, "Cycled", w);
  EXPECT_EQ(hooks(), before + 1);
  XtDestroyWidget(w);
  xk::test::Drain();
  EXPECT_EQ(WcFindAttachedObject(w, XrmStringToQuark("Cycled")), nullptr);
}

TEST(Methods, ObjectFinderIsReplaceable) {
  Widget w = Button("finder");
  WcRegisterMethod(App(), "Foo", "bar", RecordMethod, const_cast<char*>("mcd"));
  static char found[] = "fromFinder";
  WcFindObjectProc old = WcSetFindObject([](Widget, XrmQuark cls) -> XtPointer {
    return cls == XrmStringToQuark("Foo") ? found : nullptr;
  });
  EXPECT_EQ(old, WcFindObject);
  EXPECT_EQ(Fire(w, "Foo::bar"), (Seen{"method:fromFinder:mcd:"}));
  EXPECT_EQ(WcSetFindObject(nullptr) != WcFindObject, true);
}

// A callback resource in the database is converted by the layer's
// converter for the widget being created and fires with its argument.
TEST(CallbackConverter, ResourceFromDatabase) {
  WcRegisterConverters(App());
  WcRegisterCallback(App(), "Record", Record, nullptr);
  XrmDatabase db = XtScreenDatabase(XtScreen(xk::test::TopLevel()));
  XrmPutLineResource(&db, "*fromDb.activateCallback: Record(first), Record(second)");
  Widget w = Button("fromDb");
  Calls().clear();
  XtCallCallbacks(w, XmNactivateCallback, nullptr);
  EXPECT_EQ(Calls(), (Seen{"fromDb:first:(null)", "fromDb:second:(null)"}));

  XtCallbackList list = nullptr;
  const char text[] = "a b";
  XrmValue from{sizeof(text), const_cast<char*>(text)};
  XrmValue to{sizeof(list), reinterpret_cast<XPointer>(&list)};
  ASSERT_TRUE(XtConvertAndStore(w, XtRString, &from, XtRCallback, &to));
  EXPECT_EQ(to.size, sizeof(XtCallbackList));
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(list[1].callback, WcCallbackTrampoline);
  EXPECT_EQ(list[2].callback, nullptr);
}

TEST(CallbackConverter, QuarkRecAndQuark) {
  WcRegisterConverters(App());
  Widget w = Button("quarks");
  const char text[] = "XmPushButton";
  XrmValue from{sizeof(text), const_cast<char*>(text)};
  WcQuarkRec rec{};
  XrmValue to{sizeof(rec), reinterpret_cast<XPointer>(&rec)};
  ASSERT_TRUE(XtConvertAndStore(w, XtRString, &from, WcRQuarkRec, &to));
  EXPECT_STREQ(rec.string, "XmPushButton");
  EXPECT_EQ(rec.quark, XrmStringToQuark("xmpushbutton"));
  XrmQuark q = 0;
  to = XrmValue{sizeof(q), reinterpret_cast<XPointer>(&q)};
  ASSERT_TRUE(XtConvertAndStore(w, XtRString, &from, WcRQuark, &to));
  EXPECT_EQ(q, XrmStringToQuark("XmPushButton"));
}

void OnceOnly(Widget w, XtPointer client, XtPointer call) {
  Record(w, client, call);
  WcSetOnceOnlyListName(XmNactivateCallback);
}

// The entry that asked for once-only removal leaves the list while the
// list is being called; the others stay and still run this time.
TEST(OnceOnly, EntryRemovesItselfDuringDispatch) {
  WcRegisterCallback(App(), "OnceOnlyTest", OnceOnly, nullptr);
  WcRegisterCallback(App(), "Record", Record, nullptr);
  Widget w = Button("once");
  XtCallbackList list = WcStringToCallbackList(w, "Record(before) OnceOnlyTest(once) Record(after)");
  XtAddCallbacks(w, XmNactivateCallback, list);
  XtFree(reinterpret_cast<char*>(list));
  Calls().clear();
  XtCallCallbacks(w, XmNactivateCallback, nullptr);
  EXPECT_EQ(Calls(), (Seen{"once:before:(null)", "once:once:(null)", "once:after:(null)"}));
  Calls().clear();
  XtCallCallbacks(w, XmNactivateCallback, nullptr);
  EXPECT_EQ(Calls(), (Seen{"once:before:(null)", "once:after:(null)"}));
}

std::vector<std::string> actionParams;

void ParamAction(Widget, XEvent* event, String* params, Cardinal* n) {
  actionParams.clear();
  if (event) actionParams.push_back("event!");
  for (Cardinal i = 0; i < *n; ++i) actionParams.push_back(params[i] ? params[i] : "(null)");
}

TEST(Bridges, CallbackToActionAndBack) {
  Widget w = Button("bridge");
  CaptureWarnings warnings;
  WcInvokeAction(ParamAction, w, "one 'two three',,four");
  EXPECT_EQ(actionParams, (Seen{"one", "two three", "(null)", "four"}));
  WcInvokeAction(ParamAction, w, nullptr);
  EXPECT_EQ(actionParams, Seen{});
  WcInvokeAction(ParamAction, w, "a 'open");
  EXPECT_EQ(actionParams, (Seen{"a", "open"}));
  EXPECT_EQ(warnings.Take(), "Wcl Warning: SomeCallback(a 'open) - unbalanced quotes.\n");

  char p0[] = "solo";
  char p1[] = "two words";
  String params[] = {p0, p1};
  Cardinal n = 0;
  Calls().clear();
  WcInvokeCallback(Record, w, params, &n);
  n = 1;
  WcInvokeCallback(Record, w, params, &n);
  n = 2;
  WcInvokeCallback(Record, w, params, &n);
  EXPECT_EQ(Calls(), (Seen{"bridge:(null):(null)", "bridge:solo:(null)",
                           "bridge:solo \"two words\":(null)"}));
}

}  // namespace
