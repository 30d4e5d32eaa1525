// XmTextChunks: reads a Motif text widget's value in pieces for the shared
// line and search arithmetic (support/TextLines.h), so a question about a
// few lines of a large text never copies the whole text.
//
//   XmTextChunks src(textWidget);
//   size_t line = textlines::CountNewlines(src, 0, cursor) + 1;
//
// Offsets are widget positions, which are byte offsets only in the C
// locale; in a UTF-8 locale read a copy instead (xman/XmTextMirror.h).
#pragma once

#include <X11/Intrinsic.h>

#include <string>

#include "support/TextLines.h"

class XmTextChunks : public textlines::TextSource {
 public:
  explicit XmTextChunks(Widget text) : text_(text) {}
  size_t Length() override;
  std::string_view Read(size_t start, size_t len) override;

 private:
  Widget text_;
  std::string buffer_;
};
