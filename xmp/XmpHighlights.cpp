// XmpHighlights: builds the XmText's highlight list directly (the layout of
// Motif's own _XmHighlightRec list: ascending positions, each starting a
// run of its mode, the first at 0), keeping Motif's snapshot of the old
// list for the redraw of what changed, as its own XmTextSetHighlight does.
#include "xmp/XmpHighlights.h"

#include <Xm/Text.h>
#include <Xm/TextP.h>

#include <cstring>
#include <vector>

void XmpTextSetHighlights(Widget text, const XmTextPosition* bounds, Cardinal pairs, XmHighlightMode mode) {
  if (!text || !XmIsText(text)) return;
  auto* tw = reinterpret_cast<XmTextWidget>(text);
  XmTextPosition last = XmTextGetLastPosition(text);
  XmTextDisableRedisplay(text);
  // Motif redraws what differs from the list as it was before the first
  // change since the last redraw: keep that, as XmTextSetHighlight does.
  // (Clearing through XmTextSetHighlight would drop a long list's entries
  // one memmove at a time.)
  _XmHighlightData& h = tw->text.highlight;
  if (!tw->text.highlight_changed) {
    _XmHighlightData& old = tw->text.old_highlight;
    if (old.maximum < h.number) {
      old.maximum = h.number;
      old.list = reinterpret_cast<_XmHighlightRec*>(
          XtRealloc(reinterpret_cast<char*>(old.list), Cardinal(old.maximum * sizeof(_XmHighlightRec))));
    }
    std::memcpy(old.list, h.list, h.number * sizeof(_XmHighlightRec));
    old.number = h.number;
    tw->text.highlight_changed = True;
  }

  std::vector<_XmHighlightRec> list;
  list.reserve(size_t(pairs) * 2 + 1);
  list.push_back({0, XmHIGHLIGHT_NORMAL});
  for (Cardinal i = 0; i < pairs && bounds; ++i) {
    XmTextPosition left = bounds[2 * i], right = bounds[2 * i + 1];
    if (right > last) right = last;
    if (left < list.back().position || left >= right) continue;
    if (left == list.back().position)
      list.back().mode = mode;  // at 0, or right behind the previous range
    else
      list.push_back({left, mode});
    list.push_back({right, XmHIGHLIGHT_NORMAL});
  }
  {
    if (h.maximum < Cardinal(list.size())) {
      h.maximum = Cardinal(list.size());
      h.list = reinterpret_cast<_XmHighlightRec*>(XtRealloc(reinterpret_cast<char*>(h.list),
                                                            Cardinal(list.size() * sizeof(_XmHighlightRec))));
    }
    std::memcpy(h.list, list.data(), list.size() * sizeof(_XmHighlightRec));
    h.number = Cardinal(list.size());
    tw->text.needs_redisplay = True;
  }
  XmTextPosition selLeft = 0, selRight = 0;
  if (XmTextGetSelectionPosition(text, &selLeft, &selRight) && selLeft < selRight)
    XmTextSetHighlight(text, selLeft, selRight, XmHIGHLIGHT_SELECTED);
  XmTextEnableRedisplay(text);
}
