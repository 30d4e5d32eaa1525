// SendWmProtocol: what a window manager sends to ask a top-level window to
// close (WM_DELETE_WINDOW) or to save its state (WM_SAVE_YOURSELF), so a
// test can make the request without one.
//
//   xk::test::SendWmProtocol(XtDisplay(shell), XtWindow(shell), "WM_DELETE_WINDOW");
#pragma once

#include <X11/Xlib.h>

namespace xk::test {

inline void SendWmProtocol(Display* dpy, Window w, const char* protocol) {
  XEvent ev{};
  ev.xclient.type = ClientMessage;
  ev.xclient.window = w;
  ev.xclient.message_type = XInternAtom(dpy, "WM_PROTOCOLS", False);
  ev.xclient.format = 32;
  ev.xclient.data.l[0] = static_cast<long>(XInternAtom(dpy, protocol, False));
  ev.xclient.data.l[1] = CurrentTime;
  XSendEvent(dpy, w, False, NoEventMask, &ev);
  XFlush(dpy);
}

}  // namespace xk::test
