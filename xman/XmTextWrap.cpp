// XmTextWrap: the widest character of a text widget's render table and the
// width between its margins.
#include "xman/XmTextWrap.h"

#include <X11/Xft/Xft.h>
#include <Xm/Xm.h>

#include <algorithm>

#include "xmp/XmpOwned.h"

namespace {

// Widest advance of one rendition's font, loading it if need be; 0 when
// it has none.
int WidestChar(XmRendition r) {
  XtPointer font = nullptr, xftFont = nullptr;
  XmFontType type = XmFONT_IS_FONT;
  Arg args[3];
  XtSetArg(args[0], XmNfontType, &type);
  XtSetArg(args[1], XmNfont, &font);  // asking for it loads the font
  XtSetArg(args[2], XmNxftFont, &xftFont);
  XmRenditionRetrieve(r, args, 3);
  if (type == XmFONT_IS_XFT) font = xftFont;
  if (!font || font == reinterpret_cast<XtPointer>(XmAS_IS)) return 0;
  switch (type) {
    case XmFONT_IS_FONT:
      return static_cast<XFontStruct*>(font)->max_bounds.width;
    case XmFONT_IS_FONTSET:
      return XExtentsOfFontSet(static_cast<XFontSet>(font))->max_logical_extent.width;
    case XmFONT_IS_XFT:
      return static_cast<XftFont*>(font)->max_advance_width;
  }
  return 0;
}

}  // namespace

size_t XmTextCellsAcross(Widget text) {
  if (!text) return 0;
  XmRenderTable table = nullptr;  // the widget's own: not freed here
  Dimension width = 0, margin = 0, shadow = 0, highlight = 0;
  XtVaGetValues(text, XmNrenderTable, &table, XmNwidth, &width, XmNmarginWidth, &margin,
                XmNshadowThickness, &shadow, XmNhighlightThickness, &highlight, nullptr);
  if (!table) return 0;
  int widest = 0;
  XmStringTag* raw = nullptr;
  int count = XmRenderTableGetTags(table, &raw);
  xmp::XtOwned<XmStringTag> tags(raw);
  for (int i = 0; i < count; ++i) {
    xmp::XtOwned<char> tag(tags.get()[i]);
    if (XmRendition r = XmRenderTableGetRendition(table, tag.get())) {
      widest = std::max(widest, WidestChar(r));
      XmRenditionFree(r);
    }
  }
  int area = int(width) - 2 * (int(margin) + int(shadow) + int(highlight));
  if (widest <= 0 || area <= 0) return 0;
  return size_t(area / widest);
}
