// WcCreation.cpp: building widget trees from the creation resources.
//
// Each widget costs two resource fetches besides its own creation: the
// pre-creation group through the parent (the class is not known yet) and
// the post-creation group from the new widget. Nothing searches the tree
// by name, and children of one parent are managed in one call.
#include "wcl/WcCreation.h"

#include <X11/IntrinsicP.h>
#include <X11/StringDefs.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "wcl/WcCallbacks.h"
#include "wcl/WcDump.h"
#include "wcl/WcNames.h"
#include "wcl/WcRegistry.h"
#include "wcl/WcResFiles.h"
#include "wcl/WcTemplates.h"
#include "wcl/WcWarnings.h"

namespace {

constexpr const char* kTemplateNotFound = "Wcl Warning: %s.%s cannot find template %s";
constexpr const char* kMissingCreate =
    "Wcl Warning: %s.%s.wcCreate resource missing - need class or constructor";
constexpr const char* kConstructorFailed = "Wcl Warning: %s( %s, %s, NULL, 0) - Failed!";
constexpr const char* kNotRegistered =
    "Wcl Warning: Could not convert %s to Class or Constructor.";
constexpr const char* kCantHaveChildren =
    "Wcl Warning: WcCreate(%s) - Not a Composite, can't have children.";
constexpr const char* kNoChildren =
    "Wcl Error: WcWidgetCreation(%s) - Failed \n"
    "    Problem: No children could be created from Xrm database.\n"
    "    Possible: Resource file not found \n"
    "\t\tperhaps XENVIRONMENT is not set, \n"
    "\t\tor XAPPLRESDIR not terminated with '/' \n"
    "    Possible: top level widget in resource file not named '%s'";

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

XtResource Res(const char* name, const char* cls, const char* type, size_t size, size_t offset,
               const char* defaultType, const void* defaultValue) {
  return {const_cast<String>(name),        const_cast<String>(cls),
          const_cast<String>(type),        static_cast<Cardinal>(size),
          static_cast<Cardinal>(offset),   const_cast<String>(defaultType),
          const_cast<XtPointer>(defaultValue)};
}

XtResource BoolRes(const char* name, const char* cls, size_t offset, Boolean def) {
  return Res(name, cls, XtRBoolean, sizeof(Boolean), offset, XtRImmediate,
             reinterpret_cast<const void*>(static_cast<intptr_t>(def)));
}

// A QuarkRec is wider than a word, which Xt's immediate defaults do not
// handle; "" goes through the (caching) converter instead.
XtResource QuarkRecRes(const char* name, const char* cls, size_t offset) {
  return Res(name, cls, WcRQuarkRec, sizeof(WcQuarkRec), offset, XtRString, "");
}

XtResource CallbackRes(const char* name, const char* cls, size_t offset) {
  return Res(name, cls, XtRCallback, sizeof(XtCallbackList), offset, XtRImmediate, nullptr);
}

XtResource kPreCreateResources[] = {
    BoolRes("wcPreCreateDumpResources", "WcDumpResources", offsetof(PreCreate, preCreateDump),
         False),
    Res("wcTemplate", "WcTemplate", WcRQuark, sizeof(XrmQuark), offsetof(PreCreate, templateName),
        XtRImmediate, nullptr),
    BoolRes("wcTraceTemplate", "WcTraceTemplate", offsetof(PreCreate, traceTemplate), False),
    BoolRes("wcPostTemplateDumpResources", "WcDumpResources", offsetof(PreCreate, postTemplateDump),
         False),
    QuarkRecRes("wcCreate", "WcCreate", offsetof(PreCreate, create)),
    QuarkRecRes("wcClassName", "WcClassName", offsetof(PreCreate, className)),
    QuarkRecRes("wcClass", "WcClass", offsetof(PreCreate, widgetClass)),
    QuarkRecRes("wcConstructor", "WcConstructor", offsetof(PreCreate, constructor)),
};

XtResource kPostCreateResources[] = {
    BoolRes("wcTrace", "WcTrace", offsetof(PostCreate, trace), False),
    BoolRes("wcPostCreateDumpResources", "WcDumpResources", offsetof(PostCreate, postCreateDump),
         False),
    CallbackRes("wcCallback", "WcCallback", offsetof(PostCreate, callback)),
    Res("wcPopups", "WcPopups", XtRString, sizeof(String), offsetof(PostCreate, popups),
        XtRImmediate, nullptr),
    Res("wcChildren", "WcChildren", XtRString, sizeof(String), offsetof(PostCreate, children),
        XtRImmediate, nullptr),
    BoolRes("wcManaged", "WcManaged", offsetof(PostCreate, managed), True),
    CallbackRes("wcAfterPopups", "WcAfterPopups", offsetof(PostCreate, afterPopups)),
    CallbackRes("wcAfterChildren", "WcAfterChildren", offsetof(PostCreate, afterChildren)),
    CallbackRes("wcAfterManageChildren", "WcAfterManageChildren",
             offsetof(PostCreate, afterManageChildren)),
};

bool IsSet(const WcQuarkRec& q) { return q.string && *q.string; }

void ReadPreCreate(Widget parent, const char* name, PreCreate* pre) {
  XtGetSubresources(parent, pre, name, name, kPreCreateResources,
                    XtNumber(kPreCreateResources), nullptr, 0);
}

void CallList(Widget w, XtCallbackList list) {
  if (!list) return;
  for (; list->callback; ++list) list->callback(w, list->closure, nullptr);
}

// Finds the constructor or class the creation resources name and makes the
// widget; null (after a warning) when none is registered or it fails.
Widget MakeWidget(Widget parent, const char* name, WcCreateKind kind, const PreCreate& pre) {
  if (!IsSet(pre.create) && !IsSet(pre.constructor) && !IsSet(pre.widgetClass) &&
      !IsSet(pre.className)) {
    std::string parentName = wcl::FullName(parent);
    WcWarning2(parent, "WcCreate", "missingCreate", kMissingCreate, parentName.c_str(), name);
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
    if (!w) WcWarning3(parent, "WcCreate", "constructorFailed", kConstructorFailed,
                       called->string, XtName(parent), name);
    return w;
  }

  for (const WcQuarkRec* q : {&pre.create, &pre.widgetClass, &pre.className}) {
    if (!IsSet(*q)) continue;
    if (WidgetClass wc = WcFindClass(app, q->quark)) {
      return kind == WC_POPUP ? XtCreatePopupShell(name, wc, parent, nullptr, 0)
                              : XtCreateWidget(name, wc, parent, nullptr, 0);
    }
  }
  for (const WcQuarkRec* q : {&pre.create, &pre.constructor, &pre.widgetClass, &pre.className}) {
    if (!IsSet(*q)) continue;
    WcWarning1(parent, "WcCreate", "notRegistered", kNotRegistered, q->string);
    break;
  }
  return nullptr;
}

const char* TraceLabel(WcCreateKind kind, Boolean managed) {
  switch (kind) {
    case WC_NEW_ROOT: return " New Root:";
    case WC_POPUP: return "   pop-up:";
    default: return managed ? "  managed:" : "unmanaged:";
  }
}

Boolean PostCreateStep(Widget w, WcCreateKind kind);

// Creates one widget and its subtree; `managed` gets its wcManaged.
Widget CreateOne(Widget parent, const char* name, WcCreateKind kind, Boolean* managed) {
  PreCreate pre;
  ReadPreCreate(parent, name, &pre);
  if (pre.preCreateDump) WcDumpPreCreateResources(parent, name);
  if (pre.templateName != NULLQUARK) {
    const char* templ = XrmQuarkToString(pre.templateName);
    if (!WcFindTemplate(templ)) {
      std::string parentName = wcl::FullName(parent);
      WcWarning3(parent, "WcCreate", "templateNotFound", kTemplateNotFound, parentName.c_str(),
                 name, templ);
    } else if (wcl::ExpandTemplate(pre.templateName, parent, name, pre.traceTemplate)) {
      ReadPreCreate(parent, name, &pre);
      if (pre.postTemplateDump) WcDumpPreCreateResources(parent, name);
    }
  }
  Widget w = MakeWidget(parent, name, kind, pre);
  if (!w) return nullptr;
  Boolean m = PostCreateStep(w, kind);
  if (managed) *managed = m;
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
};

ToManage CreateChildren(Widget parent, std::string_view names) {
  ToManage result;
  std::string_view rest = names;
  for (std::string_view n = wcl::NextName(rest); !n.empty(); n = wcl::NextName(rest)) {
    std::string name(n);
    Boolean managed = True;
    Widget child = CreateOne(parent, name.c_str(), WC_CHILD, &managed);
    if (!child || !managed || !XtIsRectObj(child)) continue;
    (XtParent(child) == parent ? result.batch : result.oneByOne).push_back(child);
  }
  return result;
}

void CreatePopups(Widget parent, std::string_view names) {
  std::string_view rest = names;
  for (std::string_view n = wcl::NextName(rest); !n.empty(); n = wcl::NextName(rest))
    CreateOne(parent, std::string(n).c_str(), WC_POPUP, nullptr);
}

bool Empty(const char* text) {
  std::string_view rest = text ? text : "";
  return wcl::NextName(rest).empty();
}

Boolean PostCreateStep(Widget w, WcCreateKind kind) {
  PostCreate post;
  XtGetApplicationResources(w, &post, kPostCreateResources, XtNumber(kPostCreateResources),
                            nullptr, 0);
  if (post.trace) {
    std::string full = wcl::FullName(w);
    WcWarningPrinter("Wcl ", TraceLabel(kind, post.managed), full.c_str(), " of class ",
                     XtClass(w)->core_class.class_name, nullptr);
  }
  if (post.postCreateDump) WcDumpPostCreateResources(w);
  CallList(w, post.callback);

  // The name lists are copied: creating widgets may merge templates or
  // resource files into the database that holds them.
  if (!Empty(post.popups)) {
    CreatePopups(w, std::string(post.popups));
    CallList(w, post.afterPopups);
  }
  if (!Empty(post.children)) {
    if (!XtIsComposite(w)) {
      std::string full = wcl::FullName(w);
      WcWarning1(w, "WcCreate", "cantHaveChildren", kCantHaveChildren, full.c_str());
    } else {
      ToManage children = CreateChildren(w, std::string(post.children));
      CallList(w, post.afterChildren);
      children.Manage();
      CallList(w, post.afterManageChildren);
    }
  }
  return post.managed;
}

}  // namespace

int WcWidgetCreation(Widget root) {
  if (!root) return 1;
  WcInitialize(root);
  PostCreateStep(root, WC_NEW_ROOT);
  Cardinal children = XtIsComposite(root) ? reinterpret_cast<CompositeWidget>(root)->composite.num_children : 0;
  Cardinal popups = XtIsWidget(root) ? root->core.num_popups : 0;
  if (children == 0 && popups == 0) {
    std::string full = wcl::FullName(root);
    WcWarning2(root, "WcWidgetCreation", "noChildren", kNoChildren, full.c_str(), XtName(root));
    return 1;
  }
  return 0;
}

void WcCreateNamedChildren(Widget parent, const char* names) {
  if (!parent || Empty(names)) return;
  if (!XtIsComposite(parent)) {
    std::string full = wcl::FullName(parent);
    WcWarning1(parent, "WcCreate", "cantHaveChildren", kCantHaveChildren, full.c_str());
    return;
  }
  CreateChildren(parent, std::string(names)).Manage();
}

void WcCreateNamedPopups(Widget parent, const char* names) {
  if (!parent || Empty(names)) return;
  CreatePopups(parent, std::string(names));
}

Widget WcCreateDatabaseChild(Widget parent, const char* name, WcCreateKind kind) {
  if (!parent || !name || !*name) return nullptr;
  return CreateOne(parent, name, kind, nullptr);
}

void WcPostCreate(Widget w, WcCreateKind kind) {
  if (w) PostCreateStep(w, kind);
}
