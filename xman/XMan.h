// XMan: the base of the widget managers: it holds one Motif widget (owned
// by the toolkit, never destroyed here) and answers class-number tests.
// XmTextMan and XmLabelMan add string-level operations on their widget.
//
//   XmTextMan man(text);
//   if (man.IsA(kXmTextManClass)) man.SelectLineNumber(42);
#pragma once

#include <X11/Intrinsic.h>

enum XManClassNumber { kXManClass = 0, kXmTextManClass = 1, kXmLabelManClass = 2 };

class XMan {
 public:
  XMan() = default;
  explicit XMan(Widget w) : widget_(w) {}
  XMan(const XMan& other) = default;
  XMan& operator=(const XMan& other) = default;

  virtual XMan* Clone() const;
  virtual ~XMan();
  virtual Widget GetWidget() const;
  virtual void SetWidget(Widget w);
  virtual bool IsA(int classNumber) const;

 private:
  Widget widget_ = nullptr;
};
