// WcCreation.cpp: building widget trees from the creation resources.
//
// Each widget costs two lean resource fetches besides its own creation
// (WcFetch.h): the pre-creation group through the parent (the class is not
// known yet) and the post-creation group from the new widget. Nothing
// searches the tree by name, and children of one parent are managed in
// one call.
#include "wcl/WcCreation.h"

#include <X11/IntrinsicP.h>
#include <X11/CompositeP.h>
#include <X11/ConstrainP.h>
#include <X11/Shell.h>
#include <X11/StringDefs.h>

#include <algorithm>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "wcl/WcCallbacks.h"
#include "wcl/WcConverters.h"
#include "wcl/WcDump.h"
#include "wcl/WcFetch.h"
#include "wcl/WcNames.h"
#include "wcl/WcRegistry.h"
#include "wcl/WcTemplates.h"
#include "wcl/WcWarnings.h"

namespace {

constexpr wcl::Message<3> kTemplateNotFound{"WcCreate", "templateNotFound",
                                            "Wcl Warning: %s.%s cannot find template %s"};
constexpr wcl::Message<2> kMissingCreate{
    "WcCreate", "missingCreate",
    "Wcl Warning: %s.%s.wcCreate resource missing - need class or constructor"};
constexpr wcl::Message<3> kConstructorFailed{"WcCreate", "constructorFailed",
                                             "Wcl Warning: %s( %s, %s, NULL, 0) - Failed!"};
constexpr wcl::Message<1> kNotRegistered{
    "WcCreate", "notRegistered", "Wcl Warning: Could not convert %s to Class or Constructor."};
// The toolkit makes a pop-up of any class it is given, and a non-shell
// one crashes it or a gadget later; a gadget under a parent that takes
// only widgets ends the program (a shell takes none, and Motif's gadgets
// crash there).
constexpr wcl::Message<3> kNotShellClass{
    "WcCreate", "notShellClass",
    "Wcl Warning: WcCreate(%s.%s) - %s is not a Shell class, can't be a pop-up."};
constexpr wcl::Message<3> kNotWidgetClass{
    "WcCreate", "notWidgetClass",
    "Wcl Warning: WcCreate(%s.%s) - %s is not a Widget class, and the parent takes only widgets."};
constexpr wcl::Message<1> kCantHaveChildren{
    "WcCreate", "cantHaveChildren",
    "Wcl Warning: WcCreate(%s) - Not a Composite, can't have children."};
// The abstract Constraint class has no constraint part of its own: the
// toolkit walks past it into memory that is not a constraint record when a
// child is made. A composite without an insert procedure ends the program.
constexpr wcl::Message<2> kCantHoldChildren{
    "WcCreate", "cantHoldChildren",
    "Wcl Warning: WcCreate(%s) - Class %s cannot hold children."};
// Pop-up lists live in the widget part an object or gadget lacks; the
// toolkit would write them into memory that is not the gadget's.
constexpr wcl::Message<1> kCantHavePopups{
    "WcCreate", "cantHavePopups", "Wcl Warning: WcCreate(%s) - Not a Widget, can't have pop-ups."};
// A loosely bound wcChildren naming the widget itself ("*box.wcChildren:
// box") would otherwise recurse until the stack runs out.
constexpr int kMaxNesting = 256;
constexpr wcl::Message<2> kTooDeep{
    "WcCreate", "tooDeep",
    "Wcl Warning: WcCreate(%s.%s) - Widget tree deeper than 256 levels, not created."};

// The depth limit bounds depth, not breadth: "*a.wcChildren: a a" asks for
// 2^256 widgets. One creation call (the tree at start-up, or what one
// callback asks for, with everything its callbacks create meanwhile) makes
// at most this many widgets.
constexpr int kMaxWidgetsPerCall = 10000;
constexpr wcl::Message<2> kTooManyWidgets{
    "WcCreate", "tooManyWidgets",
    "Wcl Warning: WcCreate(%s.%s) - 10000 widgets made in one creation call, the rest not "
    "created."};
// The depth warning is printed at its first occurrence in a call; the
// others are counted and reported once when the call ends.
constexpr wcl::Message<1> kTooDeepRepeated{
    "WcCreate", "tooDeepRepeated",
    "Wcl Warning: WcCreate - %s more widgets deeper than 256 levels, not created."};

// The work of the outermost creation call in progress.
struct CallBudget {
  int open = 0;  // creation calls in progress, nested ones included
  int made = 0;
  bool stopped = false;
  long tooDeep = 0;
};
CallBudget g_budget;

class CallScope {
 public:
  CallScope() {
    if (g_budget.open++ == 0) g_budget = {1, 0, false, 0};
  }
  ~CallScope() {
    if (--g_budget.open > 0 || g_budget.tooDeep < 2) return;
    const std::string more = std::to_string(g_budget.tooDeep - 1);
    g_budget.tooDeep = 0;
    wcl::Warn(nullptr, kTooDeepRepeated, more.c_str());
  }
  CallScope(const CallScope&) = delete;
  CallScope& operator=(const CallScope&) = delete;
};

int g_nesting = 0;  // widgets being built, one inside the other

struct Nest {
  Nest() { ++g_nesting; }
  ~Nest() { --g_nesting; }
  Nest(const Nest&) = delete;
  Nest& operator=(const Nest&) = delete;
};

// Whether one more widget may be built, within the budget of the call and
// the depth limit; warns (once per call and kind) when not.
bool MayBuild(Widget parent, const char* name) {
  if (g_budget.made >= kMaxWidgetsPerCall) {
    if (!g_budget.stopped) {
      g_budget.stopped = true;
      wcl::Warn(parent, kTooManyWidgets, wcl::FullName(parent).c_str(), name);
    }
    return false;
  }
  if (g_nesting >= kMaxNesting) {
    if (g_budget.tooDeep++ == 0)
      wcl::Warn(parent, kTooDeep, wcl::FullName(parent).c_str(), name);
    return false;
  }
  return true;
}

// Read through the parent before the widget exists.
struct PreCreate {
  Boolean preCreateDump;
  XrmQuark templateName;
  Boolean traceTemplate;
  Boolean postTemplateDump;
  WcQuarkRec create;
  WcQuarkRec className;
  WcQuarkRec widgetClass;
  WcQuarkRec constructor;
};

// Read from the new widget itself.
struct PostCreate {
  Boolean trace;
  Boolean postCreateDump;
  XtCallbackList callback;
  String popups;
  String children;
  Boolean managed;
  XtCallbackList afterPopups;
  XtCallbackList afterChildren;
  XtCallbackList afterManageChildren;
};

// Defaults: "none" for the QuarkRec texts, wcManaged True, the rest off.
constexpr WcQuarkRec kNone = {const_cast<String>(""), NULLQUARK};
const PreCreate kPreCreateDefaults = {False, NULLQUARK, False, False, kNone, kNone, kNone, kNone};
const PostCreate kPostCreateDefaults = {False,   False,   nullptr, nullptr, nullptr,
                                        True,    nullptr, nullptr, nullptr};

using wcl::FetchResource;

FetchResource kPreCreateResources[] = {
    {"wcPreCreateDumpResources", "WcDumpResources", XtRBoolean, sizeof(Boolean),
     offsetof(PreCreate, preCreateDump)},
    {"wcTemplate", "WcTemplate", WcRQuark, sizeof(XrmQuark), offsetof(PreCreate, templateName)},
    {"wcTraceTemplate", "WcTraceTemplate", XtRBoolean, sizeof(Boolean),
     offsetof(PreCreate, traceTemplate)},
    {"wcPostTemplateDumpResources", "WcDumpResources", XtRBoolean, sizeof(Boolean),
     offsetof(PreCreate, postTemplateDump)},
    {"wcCreate", "WcCreate", WcRQuarkRec, sizeof(WcQuarkRec), offsetof(PreCreate, create)},
    {"wcClassName", "WcClassName", WcRQuarkRec, sizeof(WcQuarkRec),
     offsetof(PreCreate, className)},
    {"wcClass", "WcClass", WcRQuarkRec, sizeof(WcQuarkRec), offsetof(PreCreate, widgetClass)},
    {"wcConstructor", "WcConstructor", WcRQuarkRec, sizeof(WcQuarkRec),
     offsetof(PreCreate, constructor)},
};

FetchResource kPostCreateResources[] = {
    {"wcTrace", "WcTrace", XtRBoolean, sizeof(Boolean), offsetof(PostCreate, trace)},
    {"wcPostCreateDumpResources", "WcDumpResources", XtRBoolean, sizeof(Boolean),
     offsetof(PostCreate, postCreateDump)},
    {"wcCallback", "WcCallback", XtRCallback, sizeof(XtCallbackList),
     offsetof(PostCreate, callback)},
    {"wcPopups", "WcPopups", XtRString, sizeof(String), offsetof(PostCreate, popups)},
    {"wcChildren", "WcChildren", XtRString, sizeof(String), offsetof(PostCreate, children)},
    {"wcManaged", "WcManaged", XtRBoolean, sizeof(Boolean), offsetof(PostCreate, managed)},
    {"wcAfterPopups", "WcAfterPopups", XtRCallback, sizeof(XtCallbackList),
     offsetof(PostCreate, afterPopups)},
    {"wcAfterChildren", "WcAfterChildren", XtRCallback, sizeof(XtCallbackList),
     offsetof(PostCreate, afterChildren)},
    {"wcAfterManageChildren", "WcAfterManageChildren", XtRCallback, sizeof(XtCallbackList),
     offsetof(PostCreate, afterManageChildren)},
};

bool IsSet(const WcQuarkRec& q) { return q.string && *q.string; }

// The class is not known yet, so the child's name stands in for it.
void ReadPreCreate(Widget parent, const char* name, PreCreate* pre) {
  *pre = kPreCreateDefaults;
  wcl::FetchSubpart(parent, name, kPreCreateResources, XtNumber(kPreCreateResources), pre);
}

bool IsSubclass(WidgetClass wc, WidgetClass super) {
  for (; wc; wc = wc->core_class.superclass)
    if (wc == super) return true;
  return false;
}

// Whether the toolkit refuses objects and gadgets as children of parent.
bool TakesOnlyWidgets(Widget parent) {
  if (XtIsShell(parent)) return true;
  if (!XtIsComposite(parent)) return false;
  auto* ext = static_cast<CompositeClassExtension>(XtGetClassExtension(
      XtClass(parent), XtOffsetOf(CompositeClassRec, composite_class.extension), NULLQUARK,
      XtCompositeExtensionVersion, sizeof(CompositeClassExtensionRec)));
  return !ext || !ext->accepts_objects;
}

struct ShellSize {
  Dimension width;
  Dimension height;
};
FetchResource kShellSizeResources[] = {
    {"width", "Width", XtRDimension, sizeof(Dimension), offsetof(ShellSize, width)},
    {"height", "Height", XtRDimension, sizeof(Dimension), offsetof(ShellSize, height)},
};

// Some shells realize themselves as they are made (a Motif menu shell),
// and the toolkit ends the program on a shell of size 0. One the database
// gives no size is made at 1x1; if it did not realize itself, the sizes go
// back to 0 so that its child sizes it as usual.
Widget CreateShell(Widget parent, const char* name, WidgetClass wc, WcCreateKind kind) {
  auto create = kind == WC_POPUP ? XtCreatePopupShell : XtCreateWidget;
  ShellSize size = {0, 0};
  wcl::FetchSubpart(parent, name, kShellSizeResources, XtNumber(kShellSizeResources), &size);
  if (size.width > 0 && size.height > 0) return create(name, wc, parent, nullptr, 0);
  Arg args[2];
  XtSetArg(args[0], XtNwidth, size.width > 0 ? size.width : 1);
  XtSetArg(args[1], XtNheight, size.height > 0 ? size.height : 1);
  Widget shell = create(name, wc, parent, args, 2);
  if (!XtIsRealized(shell)) {
    shell->core.width = size.width;
    shell->core.height = size.height;
  }
  return shell;
}

// Finds the constructor or class the creation resources name and makes the
// widget; null (after a warning) when none is registered or it fails.
Widget MakeWidget(Widget parent, const char* name, WcCreateKind kind, const PreCreate& pre) {
  if (!IsSet(pre.create) && !IsSet(pre.constructor) && !IsSet(pre.widgetClass) &&
      !IsSet(pre.className)) {
    std::string parentName = wcl::FullName(parent);
    wcl::Warn(parent, kMissingCreate, parentName.c_str(), name);
    return nullptr;
  }
  XtAppContext app = XtWidgetToApplicationContext(parent);
  const WcQuarkRec* called = nullptr;
  WcConstructorProc constructor = nullptr;
  if (IsSet(pre.create) && (constructor = WcFindConstructor(app, pre.create.quark)))
    called = &pre.create;
  else if (IsSet(pre.constructor) && (constructor = WcFindConstructor(app, pre.constructor.quark)))
    called = &pre.constructor;
  if (constructor) {
    Widget w = constructor(parent, const_cast<String>(name), nullptr, 0);
    // Names the constructor that was actually called, even when wcCreate
    // named something else.
    if (!w) wcl::Warn(parent, kConstructorFailed, called->string, XtName(parent), name);
    return w;
  }

  for (const WcQuarkRec* q : {&pre.create, &pre.widgetClass, &pre.className}) {
    if (!IsSet(*q)) continue;
    if (WidgetClass wc = WcFindClass(app, q->quark)) {
      if (kind == WC_POPUP && !IsSubclass(wc, shellWidgetClass)) {
        std::string parentName = wcl::FullName(parent);
        wcl::Warn(parent, kNotShellClass, parentName.c_str(), name, q->string);
        return nullptr;
      }
      if (kind != WC_POPUP && !IsSubclass(wc, widgetClass) && TakesOnlyWidgets(parent)) {
        std::string parentName = wcl::FullName(parent);
        wcl::Warn(parent, kNotWidgetClass, parentName.c_str(), name, q->string);
        return nullptr;
      }
      if (IsSubclass(wc, shellWidgetClass)) return CreateShell(parent, name, wc, kind);
      return XtCreateWidget(name, wc, parent, nullptr, 0);
    }
  }
  for (const WcQuarkRec* q : {&pre.create, &pre.constructor, &pre.widgetClass, &pre.className}) {
    if (!IsSet(*q)) continue;
    wcl::Warn(parent, kNotRegistered, q->string);
    break;
  }
  return nullptr;
}

// Whether children may be created under w; warns, naming w, when not.
bool TakesChildren(Widget w) {
  if (!XtIsComposite(w)) {
    wcl::Warn(w, kCantHaveChildren, wcl::FullName(w).c_str());
    return false;
  }
  auto* cls = reinterpret_cast<CompositeWidgetClass>(XtClass(w));
  if (XtClass(w) == constraintWidgetClass || !cls->composite_class.insert_child) {
    wcl::Warn(w, kCantHoldChildren, wcl::FullName(w).c_str(), cls->core_class.class_name);
    return false;
  }
  return true;
}

// A widget of an intrinsic class (Core, Composite, Constraint) starts at
// 0x0 and nothing sizes it: under a parent that keeps its children's sizes
// the toolkit would create a window of size 0, which ends the program.
// (Other classes size themselves, and a size set now would count as asked
// for.) Shells are sized later: an empty one when it is realized or popped
// up.
void UnzeroWidget(Widget w) {
  const WidgetClass wc = XtClass(w);
  if (wc != widgetClass && wc != compositeWidgetClass && wc != constraintWidgetClass) return;
  if (w->core.width > 0 && w->core.height > 0) return;
  const Dimension width = w->core.width > 0 ? w->core.width : 1;
  const Dimension height = w->core.height > 0 ? w->core.height : 1;
  XtVaSetValues(w, XtNwidth, XtArgVal{width}, XtNheight, XtArgVal{height}, nullptr);
}

const char* TraceLabel(WcCreateKind kind, Boolean managed) {
  switch (kind) {
    case WC_NEW_ROOT: return " New Root:";
    case WC_POPUP: return "   pop-up:";
    default: return managed ? "  managed:" : "unmanaged:";
  }
}

struct PostCreateResult {
  Boolean managed;
  bool destroyed;  // by a callback run during the step; w is gone
};

PostCreateResult PostCreateStep(Widget w, WcCreateKind kind);

// Creates one widget and its subtree; `managed` gets its wcManaged.
Widget CreateOne(Widget parent, const char* name, WcCreateKind kind, Boolean* managed) {
  if (!MayBuild(parent, name)) return nullptr;
  const Nest nest;

  PreCreate pre;
  ReadPreCreate(parent, name, &pre);
  if (pre.preCreateDump) WcDumpPreCreateResources(parent, name);
  if (pre.templateName != NULLQUARK) {
    const char* templ = XrmQuarkToString(pre.templateName);
    if (!WcFindTemplate(templ)) {
      std::string parentName = wcl::FullName(parent);
      wcl::Warn(parent, kTemplateNotFound, parentName.c_str(), name, templ);
    } else if (wcl::ExpandTemplate(pre.templateName, parent, name, pre.traceTemplate)) {
      ReadPreCreate(parent, name, &pre);
      if (pre.postTemplateDump) WcDumpPreCreateResources(parent, name);
    }
  }
  Widget w = MakeWidget(parent, name, kind, pre);
  if (!w) return nullptr;
  ++g_budget.made;
  UnzeroWidget(w);
  PostCreateResult result = PostCreateStep(w, kind);
  if (result.destroyed) return nullptr;
  if (managed) *managed = result.managed;
  return w;
}

// Children to be managed, collected so that each parent lays out once.
struct ToManage {
  std::vector<Widget> batch;     // direct children: one XtManageChildren
  std::vector<Widget> oneByOne;  // put under an intermediate parent by a constructor

  void Manage() const {
    if (!batch.empty()) XtManageChildren(const_cast<Widget*>(batch.data()),
                                         static_cast<Cardinal>(batch.size()));
    for (Widget child : oneByOne) XtManageChild(child);
  }

  // Drops `gone` and what lies below it (it is being destroyed).
  void Forget(Widget gone);
};

bool IsAncestorOrSelf(Widget ancestor, Widget w) {
  for (; w; w = XtParent(w))
    if (w == ancestor) return true;
  return false;
}

// Post-creation steps in progress, innermost last. Callbacks run during
// creation may destroy widgets, and outside event dispatch the toolkit
// frees them at once; the display's destroy hook tells the steps, so none
// touches or manages a widget that is gone.
struct Frame {
  Widget widget;
  bool destroyed = false;
  ToManage* pending = nullptr;
};
std::vector<Frame*> g_frames;

void ToManage::Forget(Widget gone) {
  for (std::vector<Widget>* list : {&batch, &oneByOne})
    std::erase_if(*list, [gone](Widget c) { return IsAncestorOrSelf(gone, c); });
}

void OnDestroy(Widget, XtPointer, XtPointer callData) {
  Widget gone = static_cast<XtDestroyHookData>(callData)->widget;
  for (Frame* f : g_frames) {
    if (f->destroyed) continue;
    if (IsAncestorOrSelf(gone, f->widget)) f->destroyed = true;
    else if (f->pending) f->pending->Forget(gone);
  }
}

// Calls the entries in order; once one destroys the frame's widget the
// rest would be handed freed memory, so they are skipped.
void CallList(Frame& frame, XtCallbackList list) {
  for (; list && list->callback && !frame.destroyed; ++list)
    list->callback(frame.widget, list->closure, nullptr);
}

// Displays whose hook object carries OnDestroy. A closed display takes its
// hook object along, and the next one opened often gets the same address.
std::vector<Display*> g_hookedDisplays;

void ForgetDisplay(Widget, XtPointer dpy, XtPointer) {
  std::erase(g_hookedDisplays, static_cast<Display*>(dpy));
}

class FrameScope {
 public:
  explicit FrameScope(Widget w) : frame_{w} {
    Display* dpy = XtDisplayOfObject(w);
    if (std::find(g_hookedDisplays.begin(), g_hookedDisplays.end(), dpy) ==
        g_hookedDisplays.end()) {
      g_hookedDisplays.push_back(dpy);
      Widget hooks = XtHooksOfDisplay(dpy);
      XtAddCallback(hooks, XtNdestroyHook, OnDestroy, nullptr);
      XtAddCallback(hooks, XtNdestroyCallback, ForgetDisplay, dpy);
    }
    g_frames.push_back(&frame_);
  }
  ~FrameScope() { g_frames.pop_back(); }
  Frame& frame() { return frame_; }

 private:
  Frame frame_;
};

// Creates the named children of frame's widget; stops if a callback
// destroys that widget.
void CreateChildren(Frame& frame, std::string_view names, ToManage* result) {
  Widget parent = frame.widget;
  std::string_view rest = names;
  for (std::string_view n = wcl::NextName(rest); !n.empty() && !frame.destroyed;
       n = wcl::NextName(rest)) {
    std::string name(n);
    Boolean managed = True;
    Widget child = CreateOne(parent, name.c_str(), WC_CHILD, &managed);
    if (!child || !managed || !wcl::IsManageableChild(child)) continue;
    (XtParent(child) == parent ? result->batch : result->oneByOne).push_back(child);
  }
}

void CreatePopups(Frame& frame, std::string_view names) {
  if (!XtIsWidget(frame.widget)) {
    std::string full = wcl::FullName(frame.widget);
    wcl::Warn(frame.widget, kCantHavePopups, full.c_str());
    return;
  }
  std::string_view rest = names;
  for (std::string_view n = wcl::NextName(rest); !n.empty() && !frame.destroyed;
       n = wcl::NextName(rest))
    CreateOne(frame.widget, std::string(n).c_str(), WC_POPUP, nullptr);
}

bool Empty(const char* text) {
  std::string_view rest = text ? text : "";
  return wcl::NextName(rest).empty();
}

PostCreateResult PostCreateStep(Widget w, WcCreateKind kind) {
  PostCreate post = kPostCreateDefaults;
  wcl::FetchFromWidget(w, kPostCreateResources, XtNumber(kPostCreateResources), &post);
  // The name lists live in the database, and any callback below (even one
  // run by a printer that shows the trace) may load a resource file that
  // replaces and frees them: copy them now.
  const std::string popups = post.popups ? post.popups : "";
  const std::string childNames = post.children ? post.children : "";
  if (post.trace) {
    std::string full = wcl::FullName(w);
    WcWarningPrinter("Wcl ", TraceLabel(kind, post.managed), full.c_str(), " of class ",
                     XtClass(w)->core_class.class_name, nullptr);
  }
  if (post.postCreateDump) WcDumpPostCreateResources(w);

  FrameScope scope(w);
  Frame& frame = scope.frame();
  const PostCreateResult gone = {False, true};
  CallList(frame, post.callback);
  if (frame.destroyed) return gone;

  if (!Empty(popups.c_str())) {
    CreatePopups(frame, popups);
    if (frame.destroyed) return gone;
    CallList(frame, post.afterPopups);
    if (frame.destroyed) return gone;
  }
  if (!Empty(childNames.c_str())) {
    // The after-callbacks run even when no child could be made.
    ToManage children;
    frame.pending = &children;
    if (TakesChildren(w)) {
      CreateChildren(frame, childNames, &children);
      if (frame.destroyed) return gone;
    }
    CallList(frame, post.afterChildren);
    if (frame.destroyed) return gone;
    children.Manage();
    frame.pending = nullptr;
    CallList(frame, post.afterManageChildren);
    if (frame.destroyed) return gone;
  }
  // A shell made as an ordinary child is realized with its parent.
  if (kind == WC_CHILD) wcl::SizeEmptyShell(w);
  return {post.managed, false};
}

}  // namespace

bool wcl::IsManageableChild(Widget w) {
  return w && XtIsRectObj(w) && !XtIsShell(w) && XtParent(w) && XtIsComposite(XtParent(w));
}

void wcl::SizeEmptyShell(Widget w) {
  if (!w || !XtIsShell(w) || XtIsRealized(w) || w->core.being_destroyed) return;
  if (w->core.width > 0 && w->core.height > 0) return;
  // A child sizes the shell when it is realized (the toolkit defers the
  // layout of an unrealized parent until then).
  const auto* shell = reinterpret_cast<CompositeWidget>(w);
  for (Cardinal i = 0; i < shell->composite.num_children; ++i)
    if (XtIsManaged(shell->composite.children[i])) return;
  const Dimension width = w->core.width > 0 ? w->core.width : 1;
  const Dimension height = w->core.height > 0 ? w->core.height : 1;
  XtVaSetValues(w, XtNwidth, XtArgVal{width}, XtNheight, XtArgVal{height}, nullptr);
  // A menu shell refuses sizes set from outside; nothing is realized yet,
  // so the fields are all the toolkit will read.
  if (w->core.width == 0) w->core.width = 1;
  if (w->core.height == 0) w->core.height = 1;
}

bool wcl::CreateBelowRoot(Widget root) {
  const CallScope call;
  if (PostCreateStep(root, WC_NEW_ROOT).destroyed) return false;
  wcl::SizeEmptyShell(root);  // a root with pop-ups only is realized empty
  return true;
}

void WcCreateNamedChildren(Widget parent, const char* names) {
  if (!parent || Empty(names) || !TakesChildren(parent)) return;
  const CallScope call;
  FrameScope scope(parent);
  ToManage children;
  scope.frame().pending = &children;
  CreateChildren(scope.frame(), std::string(names), &children);
  if (!scope.frame().destroyed) children.Manage();
}

void WcCreateNamedPopups(Widget parent, const char* names) {
  if (!parent || Empty(names)) return;
  const CallScope call;
  FrameScope scope(parent);
  CreatePopups(scope.frame(), std::string(names));
}

Widget WcCreateDatabaseChild(Widget parent, const char* name, WcCreateKind kind) {
  if (!parent || !name || !*name) return nullptr;
  if (kind == WC_POPUP && !XtIsWidget(parent)) {
    std::string full = wcl::FullName(parent);
    wcl::Warn(parent, kCantHavePopups, full.c_str());
    return nullptr;
  }
  const CallScope call;
  return CreateOne(parent, name, kind, nullptr);
}

void WcPostCreate(Widget w, WcCreateKind kind) {
  if (!w) return;
  const CallScope call;
  // A new root counts as made here: its callbacks may make another root
  // ("WcCreateRoot(r)" run by r itself), with no parent to limit them.
  if (!MayBuild(XtParent(w), XtName(w))) return;
  ++g_budget.made;
  const Nest nest;
  PostCreateStep(w, kind);
}
