// Application: the five application objects, the application shell and
// the shared helpers getWidget, SetBusyCursor and WmCloseHandler.
#include "app/Application.h"

#include <X11/Xlib.h>
#include <Xm/Xm.h>
#include <Xm/FileSB.h>
#include <Xm/RowColumn.h>
#include <Xm/SelectioB.h>
#include <Xm/Text.h>
#include <Xm/TextF.h>

#include <cstdio>
#include <cstdlib>

#include "app/AppCl.h"
#include "app/DsmCl.h"
#include "app/MsgCl.h"
#include "app/OptsCl.h"
#include "app/SysftnsCl.h"
#include "wcl/WcCreate.h"
#include "xmp/XmpOwned.h"

// One translation unit defines all five, so their construction order is
// the order written here.
AppCl theApp;
DsmCl theDsm;
MsgCl theMsg;
OptsCl theOpts;
SysftnsCl theSysftns;

Widget theAppShell = nullptr;

namespace {

constexpr const char* kCantFindWidget = "getWidget(): couldn't find widget '%s' from '%s'\n";
constexpr const char* kWrongKindFrom = "getWidget(): widget '%s' from '%s' is not %s\n";
constexpr const char* kWrongKind = "%s(): widget '%s' is not %s\n";
constexpr const char* kClosedByWm = "Closed by window manager.\n";

// The watch glyph of the standard X cursor font (XC_watch).
constexpr unsigned kWatchCursor = 150;

}  // namespace

Widget getWidget(Widget ref, const char* name) {
  // Without a reference widget only a full path from a root shell resolves.
  Widget found = WcResolveWidgetName(ref, name);
  if (!found) {
    xmp::XtOwned<char> full(ref ? WcFullName(ref) : nullptr);
    std::fprintf(stderr, kCantFindWidget, name ? name : "", full ? full.get() : "(null)");
  }
  return found;
}

namespace {

const char* KindName(WidgetKind kind) {
  switch (kind) {
    case WidgetKind::kText: return "a text widget";
    case WidgetKind::kPopupMenu: return "a popup menu";
    case WidgetKind::kSelectionBox: return "a selection dialog";
  }
  return "";
}

}  // namespace

bool IsWidgetOfKind(Widget w, WidgetKind kind) {
  if (!w) return false;
  switch (kind) {
    case WidgetKind::kText:
      return XmIsText(w) || XmIsTextField(w);
    case WidgetKind::kPopupMenu: {
      if (!XmIsRowColumn(w)) return false;
      unsigned char type = 0;
      XtVaGetValues(w, XmNrowColumnType, &type, nullptr);
      return type == XmMENU_POPUP;
    }
    case WidgetKind::kSelectionBox:
      return XmIsSelectionBox(w);
  }
  return false;
}

Widget getWidgetOfKind(Widget ref, const char* name, WidgetKind kind) {
  Widget found = getWidget(ref, name);
  if (!found || IsWidgetOfKind(found, kind)) return found;
  xmp::XtOwned<char> full(ref ? WcFullName(ref) : nullptr);
  std::fprintf(stderr, kWrongKindFrom, name ? name : "", full ? full.get() : "(null)", KindName(kind));
  return nullptr;
}

bool AcceptWidget(const char* callback, Widget w, WidgetKind kind) {
  if (!w) return false;
  if (IsWidgetOfKind(w, kind)) return true;
  xmp::XtOwned<char> full(WcFullName(w));
  std::fprintf(stderr, kWrongKind, callback, full ? full.get() : "(null)", KindName(kind));
  return false;
}

namespace {

// Map callback of a file selection dialog: runs as the dialog shell
// manages it, before it is placed and shown.
void RereadFolder(Widget w, XtPointer, XtPointer) {
  Dimension width = 0, height = 0;
  unsigned char policy = XmRESIZE_ANY;
  XtVaGetValues(w, XmNwidth, &width, XmNheight, &height, XmNresizePolicy, &policy, nullptr);
  XtVaSetValues(w, XmNresizePolicy, XmRESIZE_NONE, nullptr);
  XmFileSelectionDoSearch(w, nullptr);
  XtVaSetValues(w, XmNresizePolicy, policy, nullptr);
  Dimension nowWidth = 0, nowHeight = 0;
  XtVaGetValues(w, XmNwidth, &nowWidth, XmNheight, &nowHeight, nullptr);
  // The box's own size request is refused while its dialog shell is being
  // managed (the search had already shrunk it to its lists' width), so the
  // size is given back through the shell, which sizes the box to fit.
  if (width && height && (nowWidth != width || nowHeight != height)) {
    Widget shell = XtParent(w);
    XtVaSetValues(XtIsShell(shell) ? shell : w, XmNwidth, width, XmNheight, height, nullptr);
  }
}

}  // namespace

void RereadFolderWhenShown(Widget dialog) {
  if (!dialog || !XmIsFileSelectionBox(dialog)) return;
  // Under a window manager a size given back through the shell holds only
  // until the manager's first placement: after it, each showing would
  // shrink the box to its lists' width again. Never shrinking by its own
  // request keeps its width; the user's resizing still does.
  unsigned char policy = XmRESIZE_ANY;
  XtVaGetValues(dialog, XmNresizePolicy, &policy, nullptr);
  if (policy == XmRESIZE_ANY) XtVaSetValues(dialog, XmNresizePolicy, XmRESIZE_GROW, nullptr);
  XtRemoveCallback(dialog, XmNmapCallback, RereadFolder, nullptr);
  XtAddCallback(dialog, XmNmapCallback, RereadFolder, nullptr);
}

void SetBusyCursor(Widget shell, int flag) {
  Widget main = getWidget(shell, "*main");
  if (!main || !XtIsWidget(main)) return;
  Display* dpy = XtDisplay(main);
  Window win = XtWindow(main);
  if (win) {
    if (flag) {
      Cursor watch = XCreateFontCursor(dpy, kWatchCursor);
      XDefineCursor(dpy, win, watch);
      XFreeCursor(dpy, watch);
    } else {
      XUndefineCursor(dpy, win);
    }
  }
  XFlush(dpy);
}

int FixedLabelRoom(Widget label) {
  if (!label) return -1;
  Boolean recompute = True;
  Dimension width = 0, margin = 0, left = 0, right = 0, shadow = 0, highlight = 0;
  XtVaGetValues(label, XmNrecomputeSize, &recompute, XmNwidth, &width, XmNmarginWidth, &margin,
                XmNmarginLeft, &left, XmNmarginRight, &right, XmNshadowThickness, &shadow,
                XmNhighlightThickness, &highlight, nullptr);
  if (recompute) return -1;
  return int(width) - 2 * (margin + shadow + highlight) - left - right;
}

void RunBusyCommand(const char* command) {
  SetBusyCursor(theAppShell, 1);
  int ignored = std::system(command);
  (void)ignored;
  SetBusyCursor(theAppShell, 0);
}

extern "C" void WmCloseHandler(Widget, XtPointer, XtPointer) {
  std::fputs(kClosedByWm, stdout);
  std::fflush(stdout);
}
