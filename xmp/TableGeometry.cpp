// TableGeometry.cpp: how the table negotiates sizes: it asks its parent for
// its preferred size after each change of layout, answers its parent's
// queries, and answers a child's size request by a trial: the layout it
// would have with the new size, checked with the parent (query only), is
// kept until the child accepts the answer, and only then applied.
#include <Xm/XmP.h>

#include <algorithm>

#include "wcl/WcWarnings.h"
#include "xmp/TableP.h"

using namespace xmp::table;

namespace {

constexpr XtGeometryMask kSizeBits = CWWidth | CWHeight | CWBorderWidth;

// Reported through the toolkit's own handlers, keyed the toolkit's way.
constexpr wcl::Message<2> kBrokenParent{
    "XmpTableQueryParentForResize", "brokenParent",
    "Widget %s of class %s\nhas a GeometryManager method which ignores XtCWQueryOnly!",
    "Widget Library Error"};
constexpr wcl::Message<2> kUnmanagedChildRequest{
    "XmpTableGetProposedChildSize", "unmanagedChildMadeResizeRequest",
    "XtMakeGeometryRequest passed request from unmanaged child %s to table %s\n",
    "Xt Implementation Bug"};
constexpr wcl::Message<0> kBadParent{"badParent", "XmpTableGeometryManager",
                                     "Parent of widget is not an XmpTableWidget", "XtToolkitError"};

XmpTableWidget Table(Widget w) { return reinterpret_cast<XmpTableWidget>(w); }
Widget AsWidget(XmpTableWidget tw) { return reinterpret_cast<Widget>(tw); }

// The accepted answer's trial becomes the layout; the table asks its
// parent for the allowance the trial was fitted to.
void ApplyTrial(XmpTableWidget tw) {
  State& s = *tw->table.state;
  s.cols = std::move(s.trialCols);
  s.rows = std::move(s.trialRows);
  s.trialCols.clear();
  s.trialRows.clear();
  s.haveTrial = false;
  s.applying = s.answer;
  s.answer = {};
  s.approved = true;
  XmpTableRequestResize(tw);
  s.approved = false;

  // The granted size is the child's own from now on, also where the
  // layout falls back on the size it took the child in with.
  Widget child = s.applying.child;
  s.applying = {};
  if (!child || child->core.being_destroyed) return;
  auto update = [child](XmpTableLocRec& r) {
    if (r.w != child) return;
    r.orig_width = child->core.width;
    r.orig_height = child->core.height;
    r.orig_border_width = child->core.border_width;
  };
  for (XmpTableLocRec& r : s.layoutList) update(r);
  for (XmpTableLocRec& r : s.current) update(r);
}

// Tries the layout with the recorded request: the vectors it would give,
// the parent's allowance for the size they want, and the child's share.
void RunTrial(XmpTableWidget tw) {
  State& s = *tw->table.state;
  ComputeSameSize(tw);
  Vector savedCols = std::move(s.cols), savedRows = std::move(s.rows);
  ComputeVectors(tw);
  XmpTableQueryParentForResize(tw);
  if (s.negotiation != Negotiation::Negotiating) return;  // laid out with the new vectors

  FitToSize(tw, s.cols, s.rows, s.allowWidth, s.allowHeight);
  s.haveTrial = true;
  XmpTableGetProposedChildSize(tw);
  if (s.haveTrial) {
    s.trialCols = std::move(s.cols);
    s.trialRows = std::move(s.rows);
  }
  s.cols = std::move(savedCols);
  s.rows = std::move(savedRows);
}

}  // namespace

namespace xmp::table {

void DropTrial(State& s) {
  s.haveTrial = false;
  s.trialCols.clear();
  s.trialRows.clear();
  s.answer = {};
  s.approved = false;
}

void RequestResize(XmpTableWidget tw) { XmpTableRequestResize(tw); }

XtGeometryResult QueryGeometry(Widget w, XtWidgetGeometry* proposed, XtWidgetGeometry* preferred) {
  XmpTableWidget tw = Table(w);
  const State& s = *tw->table.state;
  XtGeometryMask mode = proposed->request_mode;
  if (((mode & CWWidth) && proposed->width == w->core.width) ||
      ((mode & CWHeight) && proposed->height == w->core.height))
    return XtGeometryNo;

  Dimension prefWidth = s.asking ? ToDimension(s.askWidth) : ToDimension(PreferredWidth(tw));
  Dimension prefHeight = s.asking ? ToDimension(s.askHeight) : ToDimension(PreferredHeight(tw));
  preferred->request_mode = 0;
  preferred->width = w->core.width;
  preferred->height = w->core.height;
  bool compromise = false;
  if (!(mode & (CWWidth | CWHeight))) {
    // Nothing proposed: the parent's values are the current ones, and a
    // compromise is asked for where they fall short of the preferred size.
    preferred->request_mode = CWWidth | CWHeight;
    preferred->width = prefWidth;
    preferred->height = prefHeight;
    compromise = w->core.width < prefWidth || w->core.height < prefHeight;
  }
  if (mode & CWWidth) {
    preferred->request_mode |= CWWidth;
    preferred->width = std::max(proposed->width, prefWidth);
    compromise |= proposed->width < prefWidth;
  }
  if (mode & CWHeight) {
    preferred->request_mode |= CWHeight;
    preferred->height = std::max(proposed->height, prefHeight);
    compromise |= proposed->height < prefHeight;
  }
  if (preferred->width == w->core.width && preferred->height == w->core.height) return XtGeometryNo;
  return compromise ? XtGeometryAlmost : XtGeometryYes;
}

}  // namespace xmp::table

void XmpTableRequestResize(XmpTableWidget tw) {
  State& s = *tw->table.state;
  Widget w = AsWidget(tw);
  s.negotiation = Negotiation::Negotiating;

  XtWidgetGeometry request{};
  if (s.approved) {
    request.request_mode = s.allowMode;
    request.width = ToDimension(s.allowWidth);
    request.height = ToDimension(s.allowHeight);
  } else {
    request.width = ToDimension(PreferredWidth(tw));
    request.height = ToDimension(PreferredHeight(tw));
    if (request.width != w->core.width) request.request_mode |= CWWidth;
    if (request.height != w->core.height) request.request_mode |= CWHeight;
  }

  s.asking = true;
  s.askWidth = request.width;
  s.askHeight = request.height;
  if (request.width != w->core.width || request.height != w->core.height) {
    XtWidgetGeometry reply{};
    if (XtMakeGeometryRequest(w, &request, &reply) == XtGeometryAlmost) {
      // The compromise is what is asked for now, also by the query.
      if (reply.request_mode & CWWidth) s.askWidth = reply.width;
      if (reply.request_mode & CWHeight) s.askHeight = reply.height;
      XtMakeGeometryRequest(w, &reply, nullptr);
    }
  }
  s.asking = false;

  if (s.negotiation != Negotiation::Negotiating) return;  // resize laid out already
  if (!(s.approved && w->core.width == s.allowWidth && w->core.height == s.allowHeight))
    DropTrial(s);
  LayOut(tw);
}

XtGeometryResult XmpTableQueryParentForResize(XmpTableWidget tw) {
  State& s = *tw->table.state;
  Widget w = AsWidget(tw);
  s.negotiation = Negotiation::Negotiating;

  XtWidgetGeometry request{};
  request.request_mode = CWWidth | CWHeight | XtCWQueryOnly;
  request.width = ToDimension(PreferredWidth(tw));
  request.height = ToDimension(PreferredHeight(tw));
  Dimension oldWidth = w->core.width, oldHeight = w->core.height;

  XtGeometryResult result = XtGeometryYes;
  XtWidgetGeometry reply{};
  if (request.width != oldWidth || request.height != oldHeight) {
    s.asking = true;
    s.askWidth = request.width;
    s.askHeight = request.height;
    result = XtMakeGeometryRequest(w, &request, &reply);
    s.asking = false;
  }

  bool resized = s.negotiation != Negotiation::Negotiating || w->core.width != oldWidth ||
                 w->core.height != oldHeight;
  if (result == XtGeometryYes && resized) {
    wcl::Warn(w, kBrokenParent, XtName(XtParent(w)), XtClass(XtParent(w))->core_class.class_name);
    result = XtGeometryNo;
  }

  s.allowMode = 0;
  s.allowWidth = w->core.width;
  s.allowHeight = w->core.height;
  if (result == XtGeometryYes) {
    s.allowMode = CWWidth | CWHeight;
    s.allowWidth = request.width;
    s.allowHeight = request.height;
  } else if (result == XtGeometryAlmost) {
    s.allowMode = reply.request_mode & (CWWidth | CWHeight);
    if (reply.request_mode & CWWidth) s.allowWidth = reply.width;
    if (reply.request_mode & CWHeight) s.allowHeight = reply.height;
  }
  return result;
}

void XmpTableGetProposedChildSize(XmpTableWidget tw) {
  State& s = *tw->table.state;
  Widget child = s.request.child;
  const XmpTableLocRec* rec = nullptr;
  for (const XmpTableLocRec& r : s.current)
    if (r.w == child) rec = &r;
  if (!rec) {
    wcl::Warn(child, kUnmanagedChildRequest, XtName(child), XtName(AsWidget(tw)));
    DropTrial(s);
    return;
  }

  PlaceVectors(tw);
  Px border = s.request.border;
  Box b = ChildBox(tw, *rec, 0, 0, border);
  if (!(b.width > 1 && b.height > 1)) {
    border = child->core.border_width;
    b = ChildBox(tw, *rec, 0, 0, border);
  }
  SizeRequest& a = s.answer;
  a = {child, 0, b.width, b.height, border};
  XtGeometryMask asked = s.request.mode;
  if ((asked & CWWidth) && a.width != child->core.width) a.mode |= CWWidth;
  if ((asked & CWHeight) && a.height != child->core.height) a.mode |= CWHeight;
  if ((asked & CWBorderWidth) && a.border != child->core.border_width) a.mode |= CWBorderWidth;
}

XtGeometryResult XmpTableGeometryManager(Widget child, XtWidgetGeometry* request,
                                         XtWidgetGeometry* reply) {
  Widget parent = XtParent(child);
  if (!parent || !XmpIsTable(parent)) wcl::Fail(nullptr, kBadParent);
  XmpTableWidget tw = Table(parent);
  State& s = *tw->table.state;

  XtGeometryMask mode = request->request_mode;
  bool queryOnly = mode & XtCWQueryOnly;
  Px width = (mode & CWWidth) ? request->width : child->core.width;
  Px height = (mode & CWHeight) ? request->height : child->core.height;
  Px border = (mode & CWBorderWidth) ? request->border_width : child->core.border_width;
  auto answerWith = [reply](XtGeometryMask m, Px w, Px h, Px b) {
    reply->request_mode = m;
    reply->width = ToDimension(w);
    reply->height = ToDimension(h);
    reply->border_width = static_cast<Dimension>(std::clamp<Px>(b, 0, 65535));
  };

  if (width == child->core.width && height == child->core.height &&
      border == child->core.border_width) {
    answerWith(mode & kSizeBits, width, height, border);
    return queryOnly ? XtGeometryYes : XtGeometryDone;
  }

  // The child accepts the answer it was given: the trial becomes the layout.
  if (!queryOnly && s.answer.child == child && s.haveTrial && width == s.answer.width &&
      height == s.answer.height && border == s.answer.border) {
    ApplyTrial(tw);
    return XtGeometryDone;
  }

  DropTrial(s);
  s.request = {child, mode, width, height, border};
  RunTrial(tw);
  s.request = {};

  const SizeRequest& a = s.answer;
  answerWith(a.mode, a.width, a.height, a.border);
  // Requested fields that already hold the requested value need no answer.
  XtGeometryMask same = 0;
  if (width == child->core.width) same |= CWWidth;
  if (height == child->core.height) same |= CWHeight;
  if (border == child->core.border_width) same |= CWBorderWidth;
  XtGeometryMask wanted = mode & ~same;
  bool exact = (!(mode & CWWidth) || a.width == width) &&
               (!(mode & CWHeight) || a.height == height) &&
               (!(mode & CWBorderWidth) || a.border == border);
  if (exact && a.child == child) {
    if ((a.mode | XtCWQueryOnly) == wanted) return XtGeometryYes;
    if (a.mode == wanted) {
      ApplyTrial(tw);
      return XtGeometryDone;
    }
  }
  if (a.mode == 0) return XtGeometryNo;
  if (a.width != child->core.width || a.height != child->core.height ||
      a.border != child->core.border_width)
    return XtGeometryAlmost;
  return XtGeometryNo;
}
