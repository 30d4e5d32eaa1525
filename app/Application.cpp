// Application: the five application objects, the application shell and
// the shared helpers getWidget, SetBusyCursor and WmCloseHandler.
#include "app/Application.h"

#include <X11/Xlib.h>
#include <Xm/Xm.h>

#include <cstdio>
#include <cstdlib>

#include "app/AppCl.h"
#include "app/DsmCl.h"
#include "app/MsgCl.h"
#include "app/OptsCl.h"
#include "app/SysftnsCl.h"
#include "wcl/WcCreate.h"

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
constexpr const char* kClosedByWm = "Closed by window manager.\n";

// The watch glyph of the standard X cursor font (XC_watch).
constexpr unsigned kWatchCursor = 150;

}  // namespace

Widget getWidget(Widget ref, const char* name) {
  // Without a reference widget only a full path from a root shell resolves.
  Widget found = WcResolveWidgetName(ref, name);
  if (!found) {
    char* full = ref ? WcFullName(ref) : nullptr;
    std::fprintf(stderr, kCantFindWidget, name ? name : "", full ? full : "(null)");
    XtFree(full);
  }
  return found;
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
