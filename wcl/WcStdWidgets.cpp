// WcStdWidgets.cpp: the standard operations that act on existing widgets:
// manage, map, pop up, sensitivity, accelerators, equal sizes, tree prints,
// resource dumps and exit.
#include "wcl/WcStdWidgets.h"

#include "wcl/WcCreation.h"
#include "wcl/WcDump.h"
#include "wcl/WcNames.h"
#include "wcl/WcWarnings.h"

#include <X11/IntrinsicP.h>
#include <X11/CompositeP.h>
#include <X11/Shell.h>
#include <X11/StringDefs.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr wcl::SharedMessage<2> kNotFound{"notFound", "Wcl Warning: %s(%s) - Widget not found"};
// WcDumpResources names itself in its text: one argument, not two.
constexpr wcl::Message<1> kDumpNotFound{"WcDumpResources", "notFound",
                                        "Wcl Warning: WcDumpResources(%s) - Widget not found"};
constexpr wcl::SharedMessage<2> kMustBeWidget{"mustBeWidget",
                                              "Wcl Warning: %s(%s) - Must be a Widget"};
constexpr wcl::SharedMessage<2> kMustBeShell{"mustBeShell",
                                             "Wcl Warning: %s(%s) - Must be a Shell widget"};
// The toolkit ends the process (or crashes) when asked to manage a root
// shell or a pop-up of a simple widget, and when asked to map a widget that
// has no window yet: such names are reported instead. No shell is managed.
constexpr wcl::SharedMessage<2> kMustBeChild{
    "mustBeChild", "Wcl Warning: %s(%s) - Must be a child of a Composite widget"};
constexpr wcl::SharedMessage<2> kMustBeRealized{"mustBeRealized",
                                                "Wcl Warning: %s(%s) - Must be realized"};

constexpr wcl::SharedMessage<1> kChildrenUsage{"usage",
                                               "Wcl Usage: %s( parent, child [, child] ... )"};
constexpr wcl::SharedMessage<2> kParentNotFound{"parentNotFound",
                                                "Wcl Warning: %s( %s, ... ) - parent not found"};
constexpr wcl::SharedMessage<2> kChildNotFound{"childNotFound",
                                               "Wcl Warning: %s() - child %s not found"};

constexpr wcl::Message<0> kAccelUsage{
    "WcInstallAccelerators", "usage",
    "Wcl Usage: WcInstallAccelerators( dest, src [, src] ... )\n"
    "\tdest - (root of tree) widget that can activate accelerators,\n"
    "\tsrc  - widget which provides functionality, \n"
    "\t       and defines the accel translation (accelerators resource)."};
constexpr wcl::Message<0> kAllAccelUsage{
    "WcInstallAllAccelerators", "usage",
    "Wcl Usage: WcInstallAllAccelerators( dest, src )\n"
    "\tdest - (root of tree) widget that can activate accelerators,\n"
    "\tsrc  - root of widget tree, each child widget can provide functionality, \n"
    "\t       and can define a accel translation (accelerators resource)."};
constexpr wcl::SharedMessage<1> kDestNotFound{"destNotFound",
                                              "Wcl Warning: Destination widget %s not found."};
constexpr wcl::SharedMessage<1> kSrcNotFound{"srcNotFound",
                                             "Wcl Warning: Source widget %s not found."};

constexpr wcl::Message<1> kNeedTwoOrMore{"WcSameSize", "needTwoOrMore",
                                         "Wcl Warning: WcSameSize(%s) - Need at least two widgets"};
constexpr wcl::Message<2> kSameSizeNotFound{
    "WcSameSize", "notFound", "Wcl Warning: WcSameSize cannot find widget %s from %s\n"};

const char* Text(const char* s) { return s ? s : ""; }

enum class Need { Object, Child, Widget, Realized, Shell };


// The per-widget operations: resolve each parameter, check its kind, act.
template <typename Op>
void ForEachNamed(Widget w, String* params, Cardinal n, const char* func, Need need, Op op) {
  // WcDestroy(this, other) frees w itself before the next name is resolved
  // from it (at once, when no event is being dispatched).
  const wcl::WidgetWatch watch(w);
  for (Cardinal i = 0; i < n && watch.Present(); ++i) {
    const char* name = Text(params[i]);
    Widget target = WcResolveWidgetName(w, name);
    if (!target) {
      wcl::Warn(w, kNotFound.For(func), func, name);
    } else if (need == Need::Child && !wcl::IsManageableChild(target)) {
      wcl::Warn(w, kMustBeChild.For(func), func, name);
    } else if ((need == Need::Widget || need == Need::Realized) && !XtIsWidget(target)) {
      wcl::Warn(w, kMustBeWidget.For(func), func, name);
    } else if (need == Need::Realized && !XtIsRealized(target)) {
      wcl::Warn(w, kMustBeRealized.For(func), func, name);
    } else if (need == Need::Shell && !XtIsShell(target)) {
      wcl::Warn(w, kMustBeShell.For(func), func, name);
    } else {
      op(target);
    }
  }
}

void ChangeManagedChildren(Widget w, String* params, Cardinal n, const char* func, bool manage) {
  if (n < 2) {
    wcl::Warn(w, kChildrenUsage.For(func), func);
    return;
  }
  Widget parent = WcResolveWidgetName(w, Text(params[0]));
  if (!parent) {
    wcl::Warn(w, kParentNotFound.For(func), func, Text(params[0]));
    return;
  }
  std::vector<Widget> children;
  for (Cardinal i = 1; i < n; ++i) {
    Widget child = params[i] ? XtNameToWidget(parent, params[i]) : nullptr;
    if (!child) {
      wcl::Warn(w, kChildNotFound.For(func), func, Text(params[i]));
      return;
    }
    // A dotted name or a pop-up may be no child of a composite at all.
    if (!wcl::IsManageableChild(child)) {
      wcl::Warn(w, kMustBeChild.For(func), func, params[i]);
      return;
    }
    children.push_back(child);
  }
  if (manage) {
    XtManageChildren(children.data(), static_cast<Cardinal>(children.size()));
  } else {
    XtUnmanageChildren(children.data(), static_cast<Cardinal>(children.size()));
  }
}

// Accelerators are installed into the destination's translations, which a
// gadget or other object does not have (the toolkit would write past it).
bool DestinationIsWidget(Widget w, const char* func, Widget dest, const char* name) {
  if (XtIsWidget(dest)) return true;
  wcl::Warn(w, kMustBeWidget.For(func), func, name);
  return false;
}

void AppendTree(std::string& out, Widget w, int depth) {
  const std::string indent(static_cast<std::size_t>(std::min(2 * depth, 80)), ' ');
  out += indent + wcl::FullName(w) + " of class " + XtClass(w)->core_class.class_name + "\n";
  if (XtIsWidget(w) && w->core.num_popups > 0) {
    out += indent + "Popups:\n";
    for (Cardinal i = 0; i < w->core.num_popups; ++i)
      AppendTree(out, w->core.popup_list[i], depth + 1);
  }
  if (XtIsComposite(w)) {
    const CompositeWidget c = reinterpret_cast<CompositeWidget>(w);
    if (c->composite.num_children == 0) {
      out += indent + "No Children.\n";
    } else {
      out += indent + "Children:\n";
      for (Cardinal i = 0; i < c->composite.num_children; ++i) {
        AppendTree(out, c->composite.children[i], depth + 1);
      }
    }
  }
}

void PrintTree(Widget w) {
  std::string text;
  AppendTree(text, w, 0);
  WcWarningPrinter(text.c_str(), nullptr);
}

// The toolkit calls a shell's popupCallback before it marks the shell
// popped up, so a list that pops up its own shell (directly or through
// another shell's list) would pop it up again without end. A shell whose
// pop-up is under way is taken as up already, as the toolkit takes one
// that is.
std::vector<Widget> g_poppingUp;

void PopUp(Widget shell, XtGrabKind grab) {
  if (std::find(g_poppingUp.begin(), g_poppingUp.end(), shell) != g_poppingUp.end()) return;
  wcl::SizeEmptyShell(shell);
  g_poppingUp.push_back(shell);
  XtPopup(shell, grab);
  std::erase(g_poppingUp, shell);
}

}  // namespace

void WcManageACT(Widget w, XEvent*, String* params, Cardinal* n) {
  ForEachNamed(w, params, *n, "WcManage", Need::Child, XtManageChild);
}

void WcUnmanageACT(Widget w, XEvent*, String* params, Cardinal* n) {
  ForEachNamed(w, params, *n, "WcUnmanage", Need::Child, XtUnmanageChild);
}

void WcManageChildrenACT(Widget w, XEvent*, String* params, Cardinal* n) {
  ChangeManagedChildren(w, params, *n, "WcManageChildren", true);
}

void WcUnmanageChildrenACT(Widget w, XEvent*, String* params, Cardinal* n) {
  ChangeManagedChildren(w, params, *n, "WcUnmanageChildren", false);
}

void WcDestroyACT(Widget w, XEvent*, String* params, Cardinal* n) {
  ForEachNamed(w, params, *n, "WcDestroy", Need::Object, XtDestroyWidget);
}

void WcSetSensitiveACT(Widget w, XEvent*, String* params, Cardinal* n) {
  ForEachNamed(w, params, *n, "WcSetSensitive", Need::Widget,
               [](Widget t) { XtSetSensitive(t, True); });
}

void WcSetInsensitiveACT(Widget w, XEvent*, String* params, Cardinal* n) {
  ForEachNamed(w, params, *n, "WcSetInsensitive", Need::Widget,
               [](Widget t) { XtSetSensitive(t, False); });
}

void WcPopupACT(Widget w, XEvent*, String* params, Cardinal* n) {
  ForEachNamed(w, params, *n, "WcPopup", Need::Shell,
               [](Widget t) { PopUp(t, XtGrabNone); });
}

void WcPopupGrabACT(Widget w, XEvent*, String* params, Cardinal* n) {
  ForEachNamed(w, params, *n, "WcPopupGrab", Need::Shell,
               [](Widget t) { PopUp(t, XtGrabExclusive); });
}

void WcPopdownACT(Widget w, XEvent*, String* params, Cardinal* n) {
  ForEachNamed(w, params, *n, "WcPopdown", Need::Shell, XtPopdown);
}

void WcMapACT(Widget w, XEvent*, String* params, Cardinal* n) {
  ForEachNamed(w, params, *n, "WcMap", Need::Realized, [](Widget t) { XtMapWidget(t); });
}

void WcUnmapACT(Widget w, XEvent*, String* params, Cardinal* n) {
  ForEachNamed(w, params, *n, "WcUnmap", Need::Realized, [](Widget t) { XtUnmapWidget(t); });
}

void WcInstallAcceleratorsACT(Widget w, XEvent*, String* params, Cardinal* numParams) {
  const char* func = "WcInstallAccelerators";
  const Cardinal n = *numParams;
  if (n < 2) {
    wcl::Warn(w, kAccelUsage);
    return;
  }
  Widget dest = WcResolveWidgetName(w, Text(params[0]));
  if (!dest) {
    wcl::Warn(w, kDestNotFound.For(func), Text(params[0]));
    wcl::Warn(w, kAccelUsage);
    return;
  }
  if (!DestinationIsWidget(w, func, dest, params[0])) return;
  for (Cardinal i = 1; i < n; ++i) {
    Widget src = WcResolveWidgetName(w, Text(params[i]));
    if (!src) {
      wcl::Warn(w, kSrcNotFound.For(func), Text(params[i]));
      wcl::Warn(w, kAccelUsage);
      continue;
    }
    XtInstallAccelerators(dest, src);
  }
}

void WcInstallAllAcceleratorsACT(Widget w, XEvent*, String* params, Cardinal* numParams) {
  const char* func = "WcInstallAllAccelerators";
  if (*numParams != 2) {
    wcl::Warn(w, kAllAccelUsage);
    return;
  }
  Widget dest = WcResolveWidgetName(w, Text(params[0]));
  if (!dest) {
    wcl::Warn(w, kDestNotFound.For(func), Text(params[0]));
    wcl::Warn(w, kAllAccelUsage);
    return;
  }
  if (!DestinationIsWidget(w, func, dest, params[0])) return;
  Widget src = WcResolveWidgetName(w, Text(params[1]));
  if (!src) {
    wcl::Warn(w, kSrcNotFound.For(func), Text(params[1]));
    wcl::Warn(w, kAllAccelUsage);
    return;
  }
  XtInstallAllAccelerators(dest, src);
}

void WcPrintTreeACT(Widget w, XEvent*, String* params, Cardinal* n) {
  if (*n == 0) {
    PrintTree(w);
    return;
  }
  ForEachNamed(w, params, *n, "WcPrintTree", Need::Object, PrintTree);
}

void WcDumpResourcesACT(Widget w, XEvent*, String* params, Cardinal* n) {
  if (*n == 0) {
    WcDumpPostCreateResources(w);
    return;
  }
  for (Cardinal i = 0; i < *n; ++i) {
    const char* name = Text(params[i]);
    if (Widget target = WcResolveWidgetName(w, name)) {
      WcDumpPostCreateResources(target);
    } else {
      wcl::Warn(w, kDumpNotFound, name);
    }
  }
}

void WcSameSizeACT(Widget w, XEvent*, String* params, Cardinal* numParams) {
  const Cardinal n = *numParams;
  if (n < 2) {
    wcl::Warn(w, kNeedTwoOrMore, n ? Text(params[0]) : "");
    return;
  }
  std::vector<Widget> found;
  for (Cardinal i = 0; i < n; ++i) {
    Widget t = WcResolveWidgetName(w, Text(params[i]));
    if (t) {
      found.push_back(t);
    } else {
      const std::string from = wcl::FullName(w);
      wcl::Warn(w, kSameSizeNotFound, Text(params[i]), from.c_str());
    }
  }
  Dimension width = 0, height = 0, border = 0;
  for (Widget t : found) {
    Dimension tw = 0, th = 0, tb = 0;
    XtVaGetValues(t, XtNwidth, &tw, XtNheight, &th, XtNborderWidth, &tb, nullptr);
    width = std::max(width, tw);
    height = std::max(height, th);
    border = std::max(border, tb);
  }
  for (Widget t : found) {
    // Varargs values are read as XtArgVal: widen them explicitly.
    XtVaSetValues(t, XtNborderWidth, XtArgVal{border}, XtNheight, XtArgVal{height}, XtNwidth,
                  XtArgVal{width}, nullptr);
  }
}

void WcExitACT(Widget, XEvent*, String* params, Cardinal* n) {
  std::exit(*n > 0 && params[0] ? std::atoi(params[0]) : 0);
}
