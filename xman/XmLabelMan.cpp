// XmLabelMan: stubs over a label.
#include "xman/XmLabelMan.h"

namespace {
constexpr const char* kNotImplemented = "not implemented";
}

XmLabelMan* XmLabelMan::Clone() const { return new XmLabelMan(*this); }
XmLabelMan::~XmLabelMan() = default;
bool XmLabelMan::IsA(int classNumber) const {
  return classNumber == kXmLabelManClass || classNumber == kXManClass;
}

Str& XmLabelMan::GetString() {
  buffer_ = kNotImplemented;
  return buffer_;
}

Str& XmLabelMan::SetString(const Str& text) {
  buffer_ = Str(kNotImplemented) + ": " + text;
  return buffer_;
}

Str& XmLabelMan::AppendString(const Str& text) {
  buffer_ = Str(kNotImplemented) + ": " + text;
  return buffer_;
}
