// XmpMessage.cpp: the message widget: the printer that appends warnings to
// an XmText, the line limit, pop-up and raise, install and removal.
#include "xmp/XmpMessage.h"

#include <X11/IntrinsicP.h>
#include <Xm/DialogS.h>
#include <Xm/Text.h>

#include <cstring>
#include <string>

#include "wcl/WcCreate.h"
#include "xmp/XmpOwned.h"

namespace xmp {
namespace {

struct MessageResources {
  int maxLines;
  String linesLostMsg;
  int linesLostLines;  // computed from linesLostMsg
  Boolean popup;
  Boolean raise;
  Boolean showPosition;
};

#define Offset(field) XtOffsetOf(MessageResources, field)
XtResource resources[] = {
    {const_cast<char*>("messageMaxLines"), const_cast<char*>("MessageMaxLines"), XtRInt,
     sizeof(int), Offset(maxLines), XtRString, const_cast<char*>("100")},
    {const_cast<char*>("messageLinesLostMsg"), const_cast<char*>("MessageLinesLostMsg"),
     XtRString, sizeof(String), Offset(linesLostMsg), XtRString,
     const_cast<char*>("... some lines lost...\n")},
    {const_cast<char*>("messagePopup"), const_cast<char*>("MessagePopup"), XtRBoolean,
     sizeof(Boolean), Offset(popup), XtRString, const_cast<char*>("True")},
    {const_cast<char*>("messageRaise"), const_cast<char*>("MessageRaise"), XtRBoolean,
     sizeof(Boolean), Offset(raise), XtRString, const_cast<char*>("False")},
    {const_cast<char*>("messageBrokenXmTextShowPosition"),
     const_cast<char*>("MessageBrokenXmTextShowPosition"), XtRBoolean, sizeof(Boolean),
     Offset(showPosition), XtRString, const_cast<char*>("False")},
};
#undef Offset

using Printer = decltype(WcWarningPrinter);

struct State {
  Widget text = nullptr;
  bool installed = false;
  Printer saved = nullptr;  // the printer in force before the first install
  MessageResources res{};   // linesLostMsg is left null: see note
  // The lines-lost note, copied at install: the fetched value points into
  // the resource database, which frees it when a file is merged.
  std::string note;
};

State& Current() {
  static State s;
  return s;
}

constexpr wcl::Message<1> kNotXmText{"XmpMessageWidget", "notXmText",
                                     "Xmp Warning: XmpMessageWidget(%s) - not an XmTextWidget"};
constexpr wcl::Message<0> kUsage{"XmpMessageWidget", "usage",
                                 "Xmp Usage: XmpMessageWidget( [messageWidgetName] )"};
constexpr wcl::Message<2> kNotFound{"XmpMessageWidget", "notFound",
                                    "Xmp Warning: XmpMessageWidget could not find %s from %s\n"};

void Restore() {
  State& s = Current();
  if (s.installed) WcWarningPrinter = s.saved;
  s.installed = false;
  s.saved = nullptr;
  s.text = nullptr;
  s.note.clear();
}

void TextDestroyed(Widget w, XtPointer, XtPointer) {
  // A text that was replaced by a later install no longer owns the printer.
  if (Current().text == w) Restore();
}

void InstallOnName(Widget w, const char* name) {
  if (!name || !*name) {
    XmpMessageWidget(w);
    return;
  }
  Widget target = WcResolveWidgetName(w, name);
  if (!target) {
    wcl::Warn(w, kNotFound, name, wcl::FullName(w).c_str());
    return;
  }
  XmpMessageWidget(target);
}

// Shows the window holding the text, as the resources ask.
void PopupOrRaise(Widget text, const MessageResources& res) {
  if (!res.popup && !res.raise) return;
  Widget child = text;
  Widget shell = XtParent(text);
  while (shell && !XtIsShell(shell)) {
    child = shell;
    shell = XtParent(shell);
  }
  if (!shell) return;
  if (res.popup) {
    if (XmIsDialogShell(shell)) {
      XtManageChild(child);
    } else {
      if (!XtIsManaged(child)) XtManageChild(child);
      XtPopup(shell, XtGrabNone);
    }
  }
  if (res.raise) {
    if (!XtIsManaged(child)) XtManageChild(child);
    XtRealizeWidget(shell);
    XRaiseWindow(XtDisplay(shell), XtWindow(shell));
    XFlush(XtDisplay(shell));
  }
}

void Append(Widget text, const State& s, const std::string& message) {
  const MessageResources& res = s.res;
  XtOwned<char> old(XmTextGetString(text));
  std::string_view oldText = TextOf(old);
  if (auto cut = CutEnd(oldText, CountLines(message), res.maxLines, res.linesLostLines)) {
    std::string note = ValidMultibyte(s.note);
    XmTextReplace(text, 0, CharPosition(oldText, *cut), note.data());
  }
  old.reset();  // a long report's copy is not kept while the message goes in

  XmTextPosition pos = XmTextGetLastPosition(text);
  if (pos != 0) {
    XmTextInsert(text, pos, const_cast<char*>("\n"));
    ++pos;
  }
  XmTextInsert(text, pos, const_cast<char*>(message.c_str()));
  if (res.showPosition) XmTextShowPosition(text, pos);
}

}  // namespace
}  // namespace xmp

extern "C" void XmpMessageWidget(Widget w) {
  using namespace xmp;
  State& s = Current();
  if (!w) {
    Restore();
    return;
  }
  if (!XmIsText(w)) {
    wcl::Warn(w, kNotXmText, wcl::FullName(w).c_str());
    return;
  }
  if (!s.installed) {
    s.installed = true;
    s.saved = WcWarningPrinter;
    WcWarningPrinter = XmpMessagePrinter;
  }
  s.text = w;
  XtGetApplicationResources(w, &s.res, resources, XtNumber(resources), nullptr, 0);
  s.note = s.res.linesLostMsg ? s.res.linesLostMsg : "";
  s.res.linesLostMsg = nullptr;
  s.res.linesLostLines = XmpCountLines(s.note.c_str());
  // Installing the same text twice must not stack destroy callbacks.
  XtRemoveCallback(w, XtNdestroyCallback, TextDestroyed, nullptr);
  XtAddCallback(w, XtNdestroyCallback, TextDestroyed, nullptr);
}

extern "C" void XmpMessageWidgetCB(Widget w, XtPointer client, XtPointer) {
  xmp::InstallOnName(w, static_cast<const char*>(client));
}

extern "C" void XmpMessageWidgetACT(Widget w, XEvent*, String* params, Cardinal* numParams) {
  Cardinal n = numParams ? *numParams : 0;
  if (n == 0) {
    XmpMessageWidget(w);
  } else if (n == 1) {
    xmp::InstallOnName(w, params[0]);
  } else {
    wcl::Warn(w, xmp::kUsage);
  }
}

extern "C" void XmpMessagePrinter(const char* first, ...) {
  using namespace xmp;
  va_list rest;
  va_start(rest, first);
  std::string message = JoinPieces(first, rest);
  va_end(rest);
  if (message.empty()) return;

  State& s = Current();
  Widget text = s.text;
  // With no live text (called directly, or while the text goes away), or
  // for a message issued by a callback of the text while it is being
  // appended to (which would recurse without end), the message goes to the
  // printer that was in force before.
  static bool appending = false;
  if (!text || text->core.being_destroyed || appending) {
    Printer fallback = s.installed && s.saved ? s.saved : WcPrintToStderr;
    if (fallback != XmpMessagePrinter) fallback(message.c_str(), nullptr);
    return;
  }
  appending = true;
  Append(text, s, ValidMultibyte(message));
  PopupOrRaise(text, s.res);
  appending = false;
}
