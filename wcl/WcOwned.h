// WcOwned.h: an owner for memory the X toolkit allocates (XtMalloc,
// XtNewString, and every toolkit call whose result the caller must XtFree),
// so that no return path forgets the XtFree.
//
//   wcl::XtOwned<char> full(WcFullName(w));
//   std::fprintf(stderr, "%s\n", wcl::TextOf(full));  // freed at scope end
//
//   XtResourceList raw = nullptr;
//   XtGetResourceList(XtClass(w), &raw, &count);
//   wcl::XtOwned<XtResource> list(raw);
//
// Motif's strings (XmString) have their owner one layer up, in
// xmp/XmpOwned.h: this library is Xt only.
#pragma once

#include <memory>

#include <X11/Intrinsic.h>

namespace wcl {

struct XtFreer {
  void operator()(void* p) const { XtFree(static_cast<char*>(p)); }
};

template <class T>
using XtOwned = std::unique_ptr<T, XtFreer>;

// An owned toolkit string's text; "" when there is none.
inline const char* TextOf(const XtOwned<char>& s) { return s ? s.get() : ""; }

}  // namespace wcl
