// WcNameConverters.cpp: the String-to-Widget and String-to-WidgetList
// converters. A widget being created is not yet attached to its parent
// when its Widget resources are converted, so names relative to it are
// resolved from the parent.
#include "wcl/WcNameConverters.h"

#include "wcl/WcConvertUtil.h"
#include "wcl/WcNames.h"
#include "wcl/WcOwned.h"
#include "wcl/WcWarnings.h"

#include <X11/IntrinsicP.h>
#include <X11/StringDefs.h>

#include <algorithm>
#include <cstring>

namespace {

constexpr wcl::Message<0> kCvtStringToWidgetArgs{
    "wrongArgs", "WcCvtStringToWidget", "WcCvtStringToWidget registered without wcCvtWidgetArgs",
    "WcLibError"};

constexpr wcl::Message<0> kCvtStringToWidgetListArgs{
    "wrongArgs", "WcCvtStringToWidgetList",
    "WcCvtStringToWidgetList registered without wcCvtWidgetArgs", "WcLibError"};

constexpr wcl::Message<2> kNotInit{
    "WcCvtStringToWidget", "notInit",
    "Wcl Warning: WcCvtStringToWidget could not find\n    widget %s from "
    "uninitialized widget %s.\n    Perhaps try starting from parent (pre-pend ^ "
    "to widget name)"};

constexpr wcl::Message<2> kWidgetNotFound{
    "WcCvtStringToWidget", "notFound",
    "Wcl Warning: WcCvtStringToWidget could not find\n    widget %s from widget %s."};

constexpr wcl::Message<2> kListNotFound{
    "WcCvtStringToWidgetList", "notFound",
    "Wcl Warning: WcCvtStringToWidgetList could not find\n    widget %s from "
    "widget %s."};

// Whether w is already one of its parent's pop-ups or children.
bool IsAttached(Widget w) {
  Widget parent = XtParent(w);
  if (!parent) return true;
  WidgetList popups = parent->core.popup_list;
  if (std::find(popups, popups + parent->core.num_popups, w) != popups + parent->core.num_popups) {
    return true;
  }
  if (!XtIsComposite(parent)) return false;
  auto* cw = reinterpret_cast<CompositeWidget>(parent);
  WidgetList kids = cw->composite.children;
  return std::find(kids, kids + cw->composite.num_children, w) != kids + cw->composite.num_children;
}

// Resolves `name` for w that is being created; `*found` says whether a
// widget was looked for (false after the "notInit" warning).
Widget ResolveFromParent(Widget w, const char* name, bool* searched) {
  Widget parent = XtParent(w);
  if (std::strncmp(name, "this", 4) == 0) name += 4;
  if (*name == '.') ++name;
  *searched = true;
  // A name that ends after its leading step means the widget reached.
  auto from = [](Widget ref, const char* rest) {
    return *rest ? WcResolveWidgetName(ref, rest) : ref;
  };
  switch (*name) {
    case '*':
      return WcResolveWidgetName(parent, name);
    case '^':
      return from(parent, name + 1);
    case '~':
      return XtIsShell(parent) ? from(parent, name + 1) : WcResolveWidgetName(parent, name);
    case '/':
      return XtIsWMShell(parent) ? from(parent, name + 1) : WcResolveWidgetName(parent, name);
    default:
      break;
  }
  *searched = false;
  return nullptr;
}

}  // namespace

Boolean WcCvtStringToWidget(Display*, XrmValue* args, Cardinal* numArgs, XrmValue* from,
                            XrmValue* to, XtPointer*) {
  wcl::RequireWidgetArgs(numArgs, kCvtStringToWidgetArgs);
  Widget w = wcl::ConvertWidget(args);
  std::string_view rest = from->addr ? reinterpret_cast<const char*>(from->addr) : "";
  std::string name(wcl::NextName(rest));
  if (name.empty()) return wcl::ConvertDone<Widget>(to, nullptr);
  if (name == "." || name == "this" || name == "this.") return wcl::ConvertDone(to, w);

  Widget found;
  if (IsAttached(w)) {
    found = WcResolveWidgetName(w, name.c_str());
  } else {
    bool searched = false;
    found = ResolveFromParent(w, name.c_str(), &searched);
    if (!searched) {
      wcl::Warn(w, kNotInit, name.c_str(), XtName(w));
      return wcl::ConvertDone<Widget>(to, nullptr);
    }
  }
  if (!found) {
    wcl::Warn(w, kWidgetNotFound, name.c_str(), XtName(w));
  }
  return wcl::ConvertDone(to, found);
}

Boolean WcCvtStringToWidgetList(Display*, XrmValue* args, Cardinal* numArgs, XrmValue* from,
                                XrmValue* to, XtPointer*) {
  wcl::RequireWidgetArgs(numArgs, kCvtStringToWidgetListArgs);
  Widget w = wcl::ConvertWidget(args);
  auto names = wcl::SplitNames(from->addr ? reinterpret_cast<const char*>(from->addr) : "");
  if (names.empty()) return wcl::ConvertDone<WidgetList>(to, nullptr);

  wcl::XtOwned<Widget> owned(reinterpret_cast<WidgetList>(XtMalloc((names.size() + 1) * sizeof(Widget))));
  WidgetList list = owned.get();
  for (size_t i = 0; i < names.size(); ++i) {
    list[i] = WcResolveWidgetName(w, names[i].c_str());
    if (!list[i]) {
      wcl::Warn(w, kListNotFound, names[i].c_str(), XtName(w));
      return False;
    }
  }
  list[names.size()] = nullptr;
  if (!wcl::ConvertDone(to, list)) return False;
  owned.release();  // the converted value now: WcDestroyWidgetList frees it
  return True;
}

void WcDestroyWidgetList(XtAppContext, XrmValue* to, XtPointer, XrmValue*, Cardinal*) {
  XtFree(*reinterpret_cast<char**>(to->addr));
}
