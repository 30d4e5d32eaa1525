// WcConvertUtil.h: small helpers shared by the layer's resource converters.
#pragma once

#include <X11/Intrinsic.h>

#include "wcl/WcWarnings.h"

namespace wcl {

// Stores a converted value the toolkit's way: into the caller's storage
// when given (refusing one that is too small), else into a static.
template <class T>
Boolean ConvertDone(XrmValue* to, T value) {
  static T result;
  if (!to->addr) {
    result = value;
    to->addr = reinterpret_cast<XPointer>(&result);
  } else if (to->size < sizeof(T)) {
    to->size = sizeof(T);
    return False;
  } else {
    *reinterpret_cast<T*>(to->addr) = value;
  }
  to->size = sizeof(T);
  return True;
}

// A converter registered without wcCvtWidgetArgs is a programming error
// the toolkit treats as fatal.
// The message names the converter: {"wrongArgs", converter, text, "WcLibError"}.
inline void RequireWidgetArgs(const Cardinal* numArgs, const Message<0>& m) {
  if (*numArgs != 2) Fail(nullptr, m);
}

// The widget a conversion is made for (first conversion argument).
inline Widget ConvertWidget(const XrmValue* args) {
  return *reinterpret_cast<Widget*>(args[0].addr);
}

inline const char* ConvertText(const XrmValue* from) {
  return from->addr ? reinterpret_cast<const char*>(from->addr) : "";
}

}  // namespace wcl
