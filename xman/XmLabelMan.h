// XmLabelMan: manager of an XmLabel. Its text operations are stubs that
// leave the label alone and answer "not implemented".
//
//   XmLabelMan man(label);
//   man.GetString();            // "not implemented"
#pragma once

#include "support/Support.h"
#include "xman/XMan.h"

class XmLabelMan : public XMan {
 public:
  XmLabelMan() = default;
  explicit XmLabelMan(Widget w) : XMan(w) {}
  XmLabelMan(const XmLabelMan& other) = default;
  XmLabelMan& operator=(const XmLabelMan& other) = default;

  XmLabelMan* Clone() const override;
  ~XmLabelMan() override;
  bool IsA(int classNumber) const override;

  Str& GetString();
  Str& SetString(const Str& text);
  Str& AppendString(const Str& text);

 private:
  Str buffer_;
};
