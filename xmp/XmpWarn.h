// XmpWarn.h: the Motif support set's warnings. Each message keeps its
// operation name, message name and default text together in one constant,
// so the message database key and the text live in one place:
//
//   constexpr xmp::Warn kNotFound{"XmpAddTabGroup", "notFound",
//                                 "Xmp Warning: XmpAddTabGroup(%s) - Widget not found"};
//   xmp::Warn1(w, kNotFound, name);
//   xmp::Warn2(w, kOther, name, xmp::FullName(w).c_str());
#pragma once

#include <X11/Intrinsic.h>

#include "wcl/WcCreate.h"

namespace xmp {

struct Warn {
  const char* func;     // operation name, first half of the database key
  const char* msgName;  // message name, second half
  const char* text;     // default text with its %s directives
};

inline void Warn0(Widget w, const Warn& m) { WcWarning0(w, m.func, m.msgName, m.text); }
inline void Warn1(Widget w, const Warn& m, const char* a1) {
  WcWarning1(w, m.func, m.msgName, m.text, a1);
}
inline void Warn2(Widget w, const Warn& m, const char* a1, const char* a2) {
  WcWarning2(w, m.func, m.msgName, m.text, a1, a2);
}
inline void Warn3(Widget w, const Warn& m, const char* a1, const char* a2, const char* a3) {
  WcWarning3(w, m.func, m.msgName, m.text, a1, a2, a3);
}

// A widget's dotted full name for one message; freed when it goes out of
// scope.
class FullName {
 public:
  explicit FullName(Widget w) : name_(w ? WcFullName(w) : nullptr) {}
  ~FullName() { XtFree(name_); }
  FullName(const FullName&) = delete;
  FullName& operator=(const FullName&) = delete;
  const char* c_str() const { return name_ ? name_ : ""; }

 private:
  char* name_;
};

}  // namespace xmp
