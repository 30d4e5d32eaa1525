// XmTextChunks: a text widget's value read through XmTextGetSubstring.
#include "xman/XmTextChunks.h"

#include <Xm/Text.h>

#include <algorithm>
#include <cstring>

size_t XmTextChunks::Length() {
  return text_ ? size_t(XmTextGetLastPosition(text_)) : 0;
}

std::string_view XmTextChunks::Read(size_t start, size_t len) {
  size_t total = Length();
  if (start >= total || len == 0) return {};
  len = std::min(len, total - start);
  buffer_.resize(len + 1);
  int got = XmTextGetSubstring(text_, XmTextPosition(start), int(len), int(len + 1), buffer_.data());
  if (got == XmCOPY_FAILED) return {};
  // Truncation can only come from a multibyte locale; keep what arrived.
  return std::string_view(buffer_.data(), got == XmCOPY_SUCCEEDED ? len : std::strlen(buffer_.data()));
}
