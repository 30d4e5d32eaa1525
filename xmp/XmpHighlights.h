// XmpHighlights.h: many highlighted ranges of an XmText set at once.
// XmTextSetHighlight walks the widget's whole highlight list on every call,
// so marking thousands of lines one call at a time grows with the square
// of their number (10,000 lines of a 50 MB text: half a second); this
// builds the list in one pass and has Motif redraw once.
//
//   std::vector<XmTextPosition> bounds = {10, 20, 85, 97};   // two ranges
//   XmpTextSetHighlights(text, bounds.data(), 2, XmHIGHLIGHT_SECONDARY_SELECTED);
#pragma once

#include <Xm/Xm.h>

extern "C" {
// Replaces all highlighting of text (an XmText) by the pairs ranges
// bounds[2i]..bounds[2i+1], ascending and apart, in mode; the primary
// selection keeps its own highlight. Ranges out of order, empty or
// beyond the text are left out. Does nothing for a widget of another class.
void XmpTextSetHighlights(Widget text, const XmTextPosition* bounds, Cardinal pairs, XmHighlightMode mode);
}
