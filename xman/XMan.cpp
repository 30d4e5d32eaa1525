// XMan: the managed widget handle.
#include "xman/XMan.h"

XMan* XMan::Clone() const { return new XMan(*this); }
XMan::~XMan() = default;
Widget XMan::GetWidget() const { return widget_; }
void XMan::SetWidget(Widget w) { widget_ = w; }
bool XMan::IsA(int classNumber) const { return classNumber == kXManClass; }
