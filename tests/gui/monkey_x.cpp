// monkey_x: the X side of the monkey soak (tests/gui/monkey.py), a helper
// that reads one command a line on standard input and answers on standard
// output:
//
//   list               the windows a user can see: one line each,
//                      "CLIENT FX FY FW FH CX CY CW CH KIND NAME CLASS TITLE"
//                      (the frame's and the client's place on the screen),
//                      then "end"
//                      (KIND: "wm" for a managed window, "or" for an
//                      override-redirect one such as a Motif menu)
//   focus              the client window that has the keyboard focus, or 0
//   release            releases every mouse button and modifier key
//   cancel             as release, then presses and releases Escape (ends
//                      a window manager's keyboard move or resize, which
//                      holds a server grab until then)
//   probe CLIENT MS    asks the client that owns window CLIENT to answer
//                      within MS milliseconds: "ok", "timeout" or "gone"
//
// The probe is the editres request that every Motif shell answers from its
// event loop: the client asks for our selection, so its request proves it
// has handled every event sent before the probe. We refuse the selection,
// which makes the client drop the request quietly.
//
// The helper is impervious to server grabs, as a real keyboard and mouse
// are: a Motif drag grabs the server until its button is released, which
// a client's synthetic release (xdotool's) would wait for forever.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <poll.h>

#include <chrono>
#include <cstdio>
#include <iostream>
#include <sstream>
#include <string>

namespace {

Display* dpy = nullptr;
bool badWindow = false;

int OnError(Display*, XErrorEvent* e) {
  if (e->error_code == BadWindow || e->error_code == BadMatch || e->error_code == BadDrawable)
    badWindow = true;
  return 0;
}

Atom Intern(const char* name) { return XInternAtom(dpy, name, False); }

std::string Text(const char* s) {
  std::string out;
  for (const char* p = s ? s : ""; *p; ++p) out += (*p == '\n' || *p == '\t') ? ' ' : *p;
  return out.empty() ? "-" : out;
}

bool HasWmState(Window w) {
  Atom type;
  int format;
  unsigned long n, after;
  unsigned char* data = nullptr;
  bool has = XGetWindowProperty(dpy, w, Intern("WM_STATE"), 0, 2, False, AnyPropertyType, &type,
                                &format, &n, &after, &data) == Success &&
             type != None;
  if (data) XFree(data);
  return has;
}

// The client window inside a window manager's frame (or the frame itself).
Window ClientOf(Window w, int depth) {
  if (HasWmState(w)) return w;
  if (depth == 0) return None;
  Window root, parent, *kids = nullptr;
  unsigned n = 0;
  if (!XQueryTree(dpy, w, &root, &parent, &kids, &n)) return None;
  Window found = None;
  for (unsigned i = 0; i < n && found == None; ++i) found = ClientOf(kids[i], depth - 1);
  if (kids) XFree(kids);
  return found;
}

void List() {
  Window root = DefaultRootWindow(dpy), parent, *kids = nullptr;
  unsigned n = 0;
  XQueryTree(dpy, root, &root, &parent, &kids, &n);
  for (unsigned i = 0; i < n; ++i) {
    XWindowAttributes a;
    badWindow = false;
    if (!XGetWindowAttributes(dpy, kids[i], &a) || badWindow || a.map_state != IsViewable) continue;
    Window client = a.override_redirect ? kids[i] : ClientOf(kids[i], 3);
    if (client == None) continue;
    XClassHint hint{nullptr, nullptr};
    char* title = nullptr;
    XGetClassHint(dpy, client, &hint);
    XFetchName(dpy, client, &title);
    XWindowAttributes c = a;
    int cx = a.x, cy = a.y;
    Window child;
    if (client != kids[i]) {
      XGetWindowAttributes(dpy, client, &c);
      XTranslateCoordinates(dpy, client, root, 0, 0, &cx, &cy, &child);
    }
    std::printf("%lu %d %d %d %d %d %d %d %d %s %s %s %s\n", client, a.x, a.y, a.width, a.height, cx,
                cy, c.width, c.height, a.override_redirect ? "or" : "wm", Text(hint.res_name).c_str(),
                Text(hint.res_class).c_str(), Text(title).c_str());
    if (hint.res_name) XFree(hint.res_name);
    if (hint.res_class) XFree(hint.res_class);
    if (title) XFree(title);
  }
  if (kids) XFree(kids);
  std::printf("end\n");
}

Window Focus() {
  Window w = None, root = DefaultRootWindow(dpy), parent, *kids = nullptr;
  int revert;
  unsigned n;
  XGetInputFocus(dpy, &w, &revert);
  if (w == None || w == PointerRoot) return None;
  // Up to the child of the root: the frame, or the window itself.
  for (;;) {
    badWindow = false;
    if (!XQueryTree(dpy, w, &root, &parent, &kids, &n) || badWindow) return None;
    if (kids) XFree(kids);
    if (parent == root || parent == None) break;
    w = parent;
  }
  if (w == root) return None;
  XWindowAttributes a;
  if (!XGetWindowAttributes(dpy, w, &a)) return None;
  return a.override_redirect ? w : ClientOf(w, 3);
}

void Release(bool escape) {
  for (unsigned b = 1; b <= 5; ++b) XTestFakeButtonEvent(dpy, b, False, CurrentTime);
  for (KeySym k : {XK_Alt_L, XK_Alt_R, XK_Shift_L, XK_Shift_R, XK_Control_L, XK_Control_R}) {
    KeyCode code = XKeysymToKeycode(dpy, k);
    if (code) XTestFakeKeyEvent(dpy, code, False, CurrentTime);
  }
  if (KeyCode code = XKeysymToKeycode(dpy, XK_Escape); escape && code) {
    XTestFakeKeyEvent(dpy, code, True, CurrentTime);
    XTestFakeKeyEvent(dpy, code, False, CurrentTime);
  }
  XSync(dpy, False);
}

const char* Probe(Window client, int ms) {
  static Window self = XCreateSimpleWindow(dpy, DefaultRootWindow(dpy), 0, 0, 1, 1, 0, 0, 0);
  static Atom selection = Intern("XKEST_MONKEY_PROBE");
  static long ident = 0;
  XSetSelectionOwner(dpy, selection, self, CurrentTime);
  XEvent ev{};
  ev.xclient.type = ClientMessage;
  ev.xclient.window = client;
  ev.xclient.message_type = Intern("Editres");
  ev.xclient.format = 32;
  ev.xclient.data.l[0] = CurrentTime;
  ev.xclient.data.l[1] = long(selection);
  ev.xclient.data.l[2] = ++ident;
  ev.xclient.data.l[3] = 5;  // the protocol version the toolkit speaks
  badWindow = false;
  XSendEvent(dpy, client, False, NoEventMask, &ev);
  XSync(dpy, False);
  if (badWindow) return "gone";
  auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  for (;;) {
    while (XPending(dpy)) {
      XEvent e;
      XNextEvent(dpy, &e);
      if (e.type != SelectionRequest || e.xselectionrequest.selection != selection) continue;
      XEvent reply{};
      reply.xselection.type = SelectionNotify;
      reply.xselection.requestor = e.xselectionrequest.requestor;
      reply.xselection.selection = selection;
      reply.xselection.target = e.xselectionrequest.target;
      reply.xselection.property = None;
      reply.xselection.time = e.xselectionrequest.time;
      XSendEvent(dpy, e.xselectionrequest.requestor, False, NoEventMask, &reply);
      XSync(dpy, False);
      return "ok";
    }
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) break;
    pollfd p{ConnectionNumber(dpy), POLLIN, 0};
    poll(&p, 1, int(left.count()));
  }
  // A client that was killed meanwhile is gone, not hung.
  XWindowAttributes a;
  badWindow = false;
  XGetWindowAttributes(dpy, client, &a);
  return badWindow ? "gone" : "timeout";
}

}  // namespace

int main() {
  dpy = XOpenDisplay(nullptr);
  if (!dpy) {
    std::fprintf(stderr, "monkey_x: cannot open the display\n");
    return 1;
  }
  XSetErrorHandler(OnError);
  int event, error, major, minor;
  if (XTestQueryExtension(dpy, &event, &error, &major, &minor)) XTestGrabControl(dpy, True);
  XSync(dpy, False);  // impervious from now on, not from its first request
  std::string line;
  while (std::getline(std::cin, line)) {
    std::istringstream in(line);
    std::string cmd;
    in >> cmd;
    if (cmd == "list") {
      List();
    } else if (cmd == "release" || cmd == "cancel") {
      Release(cmd == "cancel");
      std::printf("ok\n");
    } else if (cmd == "focus") {
      std::printf("%lu\n", Focus());
    } else if (cmd == "probe") {
      unsigned long client = 0;
      int ms = 10000;
      in >> client >> ms;
      std::printf("%s\n", Probe(Window(client), ms));
    } else {
      std::printf("error unknown command\n");
    }
    std::fflush(stdout);
  }
  XCloseDisplay(dpy);
  return 0;
}
