// XmpHighlights: builds the XmText's highlight list directly (the layout of
// Motif's own _XmHighlightRec list: ascending positions, each starting a
// run of its mode, the first at 0), after one public call that makes Motif
// take its snapshot for the redraw of what changed.
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
  if (last > 0) XmTextSetHighlight(text, 0, last, XmHIGHLIGHT_NORMAL);

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
  if (list.size() > 1 && last > 0) {
    _XmHighlightData& h = tw->text.highlight;
    if (h.maximum < Cardinal(list.size())) {
      h.maximum = Cardinal(list.size());
      h.list = reinterpret_cast<_XmHighlightRec*>(XtRealloc(reinterpret_cast<char*>(h.list),
                                                            Cardinal(list.size() * sizeof(_XmHighlightRec))));
    }
    std::memcpy(h.list, list.data(), list.size() * sizeof(_XmHighlightRec));
    h.number = Cardinal(list.size());
    tw->text.highlight_changed = True;
    tw->text.needs_redisplay = True;
  }
  XmTextPosition selLeft = 0, selRight = 0;
  if (XmTextGetSelectionPosition(text, &selLeft, &selRight) && selLeft < selRight)
    XmTextSetHighlight(text, selLeft, selRight, XmHIGHLIGHT_SELECTED);
  XmTextEnableRedisplay(text);
}
