// XmpOwned.h: owners for the toolkit's strings, so that no return path
// forgets an XmStringFree or XtFree, and the one way the program reads a
// Motif string as text.
//
//   xmp::XmStr label(XmStringCreateLocalized(text));
//   XtVaSetValues(button, XmNlabelString, label.get(), nullptr);
//
//   xmp::XtOwned<char> typed(XmTextGetString(field));
//   std::string name = xmp::PlainText(cbs->value);
//
// It lives here because this is the lowest folder that may include Motif's
// headers: support/ is free of X and wcl/ is Xt only. The owner of
// Xt-allocated memory is wcl's, so that the creation layer can use it too.
#pragma once

#include <memory>
#include <string>
#include <type_traits>

#include <Xm/Xm.h>

#include "wcl/WcOwned.h"

namespace xmp {

using wcl::TextOf;
using wcl::XtOwned;

struct XmStringFreer {
  void operator()(XmString s) const { XmStringFree(s); }
};

using XmStr = std::unique_ptr<std::remove_pointer_t<XmString>, XmStringFreer>;

// The text of s: its first left-to-right segment in the locale's default
// tag, as XmStringGetLtoR reads it (a string of several lines gives its
// first). "" for a null string or one without such a segment.
inline std::string PlainText(XmString s) {
  char* text = nullptr;
  if (!s || !XmStringGetLtoR(s, const_cast<char*>(XmFONTLIST_DEFAULT_TAG), &text)) return {};
  XtOwned<char> owned(text);
  return TextOf(owned);
}

}  // namespace xmp
