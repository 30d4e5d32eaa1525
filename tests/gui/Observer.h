// Observer: a client of the test's own on xkest's display, to see what a
// user would see: the PRIMARY selection (what a middle-click paste gives),
// window sizes, menus popping up, windows going away, the pointer's cursor;
// and xdotool run there. It also chooses entries of the report's popup
// menu (ReportMenu).
//
//   Observer o(x.DisplayName());
//   o.Xdo("windowfocus --sync " + main + " key ctrl+g");
//   EXPECT_EQ(o.WaitForPrimary("record R {"), "record R {");
#pragma once

#include <gtest/gtest.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xfixes.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "XkestRun.h"

namespace xk::test {

// A client of our own on xkest's display: reads the PRIMARY selection and
// window sizes, and runs xdotool there.
class Observer {
 public:
  explicit Observer(const std::string& display) : display_(display) {
    dpy_ = XOpenDisplay(display.c_str());
    if (dpy_)
      win_ = XCreateSimpleWindow(dpy_, DefaultRootWindow(dpy_), 0, 0, 1, 1, 0, 0, 0);
  }
  ~Observer() {
    if (dpy_) XCloseDisplay(dpy_);
  }
  Observer(const Observer&) = delete;
  Observer& operator=(const Observer&) = delete;

  bool Ok() const { return dpy_ != nullptr; }

  // A picture of the screen in the build folder, to see why a step failed.
  std::string Snap(const std::string& name) const {
    std::string png = std::string(XK_BINARY_DIR) + "/demo-e2e-" + name + ".png";
    Shell("DISPLAY=" + display_ + " import -window root -crop 1000x800+0+0 '" + png + "'");
    return png;
  }

  std::string Xdo(const std::string& command) const {
    std::string locale = utf8_ ? "LC_ALL=C.UTF-8 " : "";
    return Shell(locale + "DISPLAY=" + display_ + " xdotool " + command + " 2>/dev/null");
  }

  bool WaitGone(const std::string& wid, int seconds = 10) const {
    return WaitUntil(
        [&] { return Xdo("search --onlyvisible --name '.*'").find(wid + "\n") == std::string::npos; },
        seconds);
  }

  // A menu pops up as an unnamed override-redirect window with its corner
  // at the pointer; 0 when none shows in time.
  unsigned long WaitForMenuAt(int rootX, int rootY, int seconds = 10) {
    unsigned long found = 0;
    WaitUntil(
        [&] {
          for (Window w : TopWindows())
            if (Shows(w, true) && Near(w, rootX, rootY)) found = w;
          return found != 0;
        },
        seconds);
    return found;
  }
  bool WaitMenuGone(unsigned long menu, int seconds = 10) {
    return WaitUntil([&] { return !Shows(menu, true); }, seconds);
  }

  // Clicks a button of a message dialog (its shell's window id): 0 OK,
  // 1 Cancel, 2 Help. The buttons are gadgets without windows; Motif puts
  // them in one row along the bottom, evenly spread.
  bool ClickDialogButton(const std::string& dialog, int button) {
    std::vector<Window> box = Children(std::stoul(dialog));
    if (box.size() != 1) return false;
    XWindowAttributes a{};
    XGetWindowAttributes(dpy_, box[0], &a);
    Xdo("mousemove --sync --window " + std::to_string(box[0]) + " " + std::to_string(a.width * (2 * button + 1) / 6) +
        " " + std::to_string(a.height - 34) + " click 1");
    return true;
  }

  // Maps a plain top-level window of the test's own titled title (to take
  // the focus away from xkest); its id, once it shows.
  std::string MapWindow(const std::string& title) {
    Window w = XCreateSimpleWindow(dpy_, DefaultRootWindow(dpy_), 900, 100, 200, 100, 0, 0, 0);
    XStoreName(dpy_, w, title.c_str());
    XMapWindow(dpy_, w);
    XFlush(dpy_);
    std::string id = std::to_string(w);
    return WaitUntil([&] { return Shows(w, false); }, 10) ? id : "";
  }

  // The innermost window under a point of a window (a text widget's own
  // window, say), as a decimal id.
  std::string WindowAt(const std::string& wid, int x, int y) {
    Window w = std::stoul(wid);
    for (;;) {
      Window child = None, ignored = None;
      int nx = 0, ny = 0;
      if (!XTranslateCoordinates(dpy_, w, w, x, y, &nx, &ny, &child) || child == None) break;
      XTranslateCoordinates(dpy_, w, child, x, y, &nx, &ny, &ignored);
      w = child;
      x = nx;
      y = ny;
    }
    return std::to_string(w);
  }

  // Root coordinates of a point of a window.
  void ToRoot(const std::string& wid, int x, int y, int& rootX, int& rootY) {
    Window child;
    XTranslateCoordinates(dpy_, std::stoul(wid), DefaultRootWindow(dpy_), x, y, &rootX, &rootY,
                          &child);
  }

  void Size(const std::string& wid, int& width, int& height) const {
    XWindowAttributes a{};
    XGetWindowAttributes(dpy_, std::stoul(wid), &a);
    width = a.width;
    height = a.height;
  }

  Display* Dpy() const { return dpy_; }

  // Asks for the selection as UTF-8 rather than Latin-1 text, and types
  // text as UTF-8 whatever the tests' own locale.
  void WantUtf8() { utf8_ = true; }

  // Gives each of these characters a key of its own for the rest of the
  // run. xdotool otherwise lends a spare key for each character and takes
  // it back at once; a busy client reads the keymap only when the key event
  // comes, by then lent to the next character, and types that one instead.
  void KeepKeys(const std::vector<KeySym>& keysyms) {
    int low = 0, high = 0, per = 0;
    XDisplayKeycodes(dpy_, &low, &high);
    KeySym* map = XGetKeyboardMapping(dpy_, KeyCode(low), high - low + 1, &per);
    size_t next = 0;
    for (int code = high; code >= low && next < keysyms.size(); --code) {
      KeySym* row = map + (code - low) * per;
      if (std::any_of(row, row + per, [](KeySym k) { return k != NoSymbol; })) continue;
      KeySym both[2] = {keysyms[next], keysyms[next]};
      XChangeKeyboardMapping(dpy_, code, 2, both, 1);
      ++next;
    }
    XFree(map);
    XSync(dpy_, False);
  }

  // The PRIMARY selection as text; empty when there is none or its owner
  // does not answer within a second.
  std::string Primary() {
    Atom prop = XInternAtom(dpy_, "XKEST_DEMO_SEL", False);
    XDeleteProperty(dpy_, win_, prop);
    Atom target = utf8_ ? XInternAtom(dpy_, "UTF8_STRING", False) : XA_STRING;
    XConvertSelection(dpy_, XA_PRIMARY, target, prop, win_, CurrentTime);
    XFlush(dpy_);
    XEvent ev;
    bool answered = WaitUntil(
        [&] { return XCheckTypedWindowEvent(dpy_, win_, SelectionNotify, &ev) == True; }, 1);
    if (!answered || ev.xselection.property == None) return "";
    Atom type;
    int format;
    unsigned long count, after;
    unsigned char* data = nullptr;
    std::string text;
    if (XGetWindowProperty(dpy_, win_, prop, 0, 1 << 20, True, AnyPropertyType, &type, &format,
                           &count, &after, &data) == Success && data && format == 8)
      text.assign(reinterpret_cast<char*>(data), count);
    if (data) XFree(data);
    return text;
  }

  // Waits until xkest has handled all that was sent to it so far: a Motif
  // text typed into holds the destination selection, and xkest answers a
  // request for it only after the events queued before the request.
  // Returns at once when no text holds it.
  bool Sync(int seconds = 10) {
    Atom prop = XInternAtom(dpy_, "XKEST_TEST_SYNC", False);
    XConvertSelection(dpy_, XInternAtom(dpy_, "_MOTIF_DESTINATION", False),
                      XInternAtom(dpy_, "TARGETS", False), prop, win_, CurrentTime);
    XFlush(dpy_);
    XEvent ev;
    bool answered = WaitUntil(
        [&] { return XCheckTypedWindowEvent(dpy_, win_, SelectionNotify, &ev) == True; }, seconds);
    XDeleteProperty(dpy_, win_, prop);
    return answered;
  }

  // True when the destination selection has an owner, so that Sync is a
  // round trip through that client's event loop.
  bool SyncGoesThroughXkest() {
    return XGetSelectionOwner(dpy_, XInternAtom(dpy_, "_MOTIF_DESTINATION", False)) != None;
  }

  // Clears a window to its background, as when it is uncovered, and says
  // whether its owner painted it again as it was: the exposure comes
  // before the round trip's request, and so does the painting before the
  // answer. A program that does not answer fails.
  bool Repaints(const std::string& wid) {
    Window w = std::stoul(wid);
    XWindowAttributes a{};
    if (!XGetWindowAttributes(dpy_, w, &a) || a.width < 1 || a.height < 1) return false;
    auto image = [&] {
      XImage* img = XGetImage(dpy_, w, 0, 0, unsigned(a.width), unsigned(a.height), AllPlanes, ZPixmap);
      std::string bytes;
      if (img) bytes.assign(img->data, size_t(img->bytes_per_line) * size_t(img->height));
      if (img) XDestroyImage(img);
      return bytes;
    };
    // The program may change the picture itself between the looks (a
    // dialog taking the focus from the text): look again, a few times.
    for (int tries = 0; tries < 3; ++tries) {
      if (!Sync()) return false;
      std::string before = image();
      XClearArea(dpy_, w, 0, 0, 0, 0, True);
      if (!Sync()) return false;
      if (!before.empty() && image() == before) return true;
    }
    return false;
  }

  // Counts the changes of the pointer's cursor image (XFixes), so a test
  // can see the busy cursor come; 0 without the extension.
  unsigned long CursorSerial() {
    int event = 0, error = 0;
    if (!XFixesQueryExtension(dpy_, &event, &error)) return 0;
    XFixesCursorImage* image = XFixesGetCursorImage(dpy_);
    unsigned long serial = image ? image->cursor_serial : 0;
    if (image) XFree(image);
    return serial;
  }

  // Waits until PRIMARY holds want; returns what it held last.
  std::string WaitForPrimary(const std::string& want, int seconds = 10) {
    std::string got;
    WaitUntil(
        [&] {
          got = Primary();
          return got == want;
        },
        seconds);
    return got;
  }

 private:
  std::vector<Window> TopWindows() { return Children(DefaultRootWindow(dpy_)); }
  std::vector<Window> Children(Window w) {
    Window root, parent, *kids = nullptr;
    unsigned n = 0;
    std::vector<Window> out;
    if (XQueryTree(dpy_, w, &root, &parent, &kids, &n)) out.assign(kids, kids + n);
    if (kids) XFree(kids);
    return out;
  }
  bool Shows(Window w, bool overrideRedirect) {
    XWindowAttributes a{};
    return XGetWindowAttributes(dpy_, w, &a) && a.map_state == IsViewable &&
           bool(a.override_redirect) == overrideRedirect;
  }
  bool Near(Window w, int rootX, int rootY) {
    XWindowAttributes a{};
    XGetWindowAttributes(dpy_, w, &a);
    return std::abs(a.x - rootX) <= 2 && std::abs(a.y - rootY) <= 2;
  }

  std::string display_;
  Display* dpy_ = nullptr;
  Window win_ = 0;
  bool utf8_ = false;
};

// Opens path through File > Open as a user does: the selection field
// starts as the working folder, which is rubbed out for the typed path.
inline void OpenThroughDialog(XkestRun& x, Observer& o, const std::string& main,
                              const std::string& path) {
  o.Xdo("windowfocus --sync " + main + " key ctrl+o");
  std::string open = x.WaitForWindow("Open DSM file", 10);
  ASSERT_FALSE(open.empty());
  o.Xdo("windowfocus --sync " + open + " key End");
  o.Xdo("key --delay 2 --repeat 120 BackSpace");
  o.Xdo("type --delay 10 '" + path + "'");
  o.Xdo("key Return");
  ASSERT_TRUE(o.WaitGone(open)) << "the Open dialog stayed: " << o.Snap("open");
}

// Where the report lies in the main window: any point inside it serves,
// since the keys that follow put the cursor where they need it.
struct Report {
  int x, y;
};
inline Report ReportPoint(Observer& o, const std::string& main) {
  int w = 0, h = 0;
  o.Size(main, w, h);
  return {w / 2, h - 50};
}

// Clicks into the report and puts its cursor at the start of its first
// line. Ctrl+Home is the window's Go to Top accelerator, so Up is used.
inline void ReportToStart(Observer& o, const std::string& main) {
  Report r = ReportPoint(o, main);
  o.Xdo("mousemove --window " + main + " " + std::to_string(r.x) + " " +
        std::to_string(r.y) + " click 1");
  o.Xdo("key --delay 5 --repeat 40 Up");
  o.Xdo("key Home");
}

// Chooses an entry of the report's popup menu the classic way: press the
// right button in the report, drag onto the entry, release. item counts
// from 1 among the three entries (Go to DSM Line, Find in DSM, Open File in
// Editor), which share the menu's height evenly.
inline bool ReportMenu(Observer& o, const std::string& main, int item) {
  Report r = ReportPoint(o, main);
  o.Xdo("mousemove --window " + main + " " + std::to_string(r.x) + " " +
        std::to_string(r.y) + " mousedown 3");
  int rootX = 0, rootY = 0;
  o.ToRoot(main, r.x, r.y, rootX, rootY);
  unsigned long menu = o.WaitForMenuAt(rootX, rootY);
  if (!menu) {
    o.Xdo("mouseup 3");
    o.Snap("menu");
    return false;
  }
  int w = 0, h = 0;
  o.Size(std::to_string(menu), w, h);
  // A release straight after the move is not taken as a choice (the entry
  // only arms), so the hand rests on the entry a moment, as a user's does.
  o.Xdo("mousemove " + std::to_string(rootX + w / 2) + " " +
        std::to_string(rootY + h * (2 * item - 1) / 6) + " sleep 0.2 mouseup 3");
  return o.WaitMenuGone(menu) || (o.Snap("menu"), false);
}

}  // namespace xk::test
