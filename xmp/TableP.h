// TableP.h: private records of the XmpTable widget (class and instance
// records, placement records, the C++ state the table owns) and the
// layout and negotiation steps shared by Table.cpp, TableGeometry.cpp and
// TableChild.cpp. Widget writers who subclass the table include this.
#pragma once

#include <X11/Xresource.h>
#include <Xm/BulletinBP.h>

#include <vector>

#include "xmp/Table.h"
#include "xmp/TableLayout.h"

// One placement record. A list of them ends with a record whose name is
// NULLQUARK.
typedef struct _XmpTableLocRec {
  XrmQuark name;  // the child's name
  Widget w;       // the child that claimed the record, or null
  int col, row;
  int h_span, v_span;                                    // at least 1
  int orig_width, orig_height, orig_border_width;        // taken into the layout
  int forced_width, forced_height, forced_border_width;  // 0: not forced
  int options;
} XmpTableLocRec, *XmpTableLoc;

// Lists of name lists: an array of NULLQUARK-ended quark arrays, ended by a
// null list.
typedef XrmQuark** XrmNameListLists;

typedef struct {
  XtPointer extension;
} XmpTableClassPart;

typedef struct _XmpTableClassRec {
  CoreClassPart core_class;
  CompositeClassPart composite_class;
  ConstraintClassPart constraint_class;
  XmManagerClassPart manager_class;
  XmBulletinBoardClassPart bulletin_board_class;
  XmpTableClassPart table_class;
} XmpTableClassRec;

extern XmpTableClassRec xmpTableClassRec;

namespace xmp::table {
struct State;
}

typedef struct {
  // Resources.
  int default_options;
  XmpTableLoc default_layout;
  XrmNameListLists same_width;
  XrmNameListLists same_height;
  XrmNameListLists same_border;
  Boolean force_shrink;
  int col_spacing;
  int row_spacing;
  // Everything else, owned by the table (created in initialize, deleted in
  // destroy: Xt allocates this record without running constructors).
  xmp::table::State* state;
} XmpTablePart;

typedef struct _XmpTableRec {
  CorePart core;
  CompositePart composite;
  ConstraintPart constraint;
  XmManagerPart manager;
  XmBulletinBoardPart bulletin_board;
  XmpTablePart table;
} XmpTableRec;

namespace xmp::table {

// Whether the children have been configured since the last request to the
// parent or child trial began. The resize method running inside a request
// to the parent shows as LaidOut when the request returns.
enum class Negotiation { LaidOut, Negotiating };

// A child's size request, or the table's answer to it.
struct SizeRequest {
  Widget child = nullptr;
  XtGeometryMask mode = 0;
  Px width = 0, height = 0, border = 0;
};

struct State {
  std::vector<XmpTableLocRec> layoutList;  // the layout resource's copy plus claimed records
  std::vector<XmpTableLocRec> current;     // one per managed child, in child order
  std::vector<std::vector<XrmQuark>> sameWidth, sameHeight, sameBorder;
  Vector cols, rows;
  bool hasGadgets = false;  // among the managed children: they are painted by the table

  Negotiation negotiation = Negotiation::LaidOut;
  bool asking = false;  // while asking the parent, query-geometry reports askWidth x askHeight
  Px askWidth = 0, askHeight = 0;
  SizeRequest request;   // the child request a trial is running for
  SizeRequest answer;    // the table's answer to that child
  SizeRequest applying;  // an accepted answer while its trial is applied
  bool haveTrial = false;
  Vector trialCols, trialRows;
  XtGeometryMask allowMode = 0;  // the parent's allowance from the last query
  Px allowWidth = 0, allowHeight = 0;
  bool approved = false;  // an approved trial is being applied
};

inline State& StateOf(Widget table) {
  return *reinterpret_cast<XmpTableWidget>(table)->table.state;
}

// Layout steps (Table.cpp).
void BuildCurrentLayout(XmpTableWidget tw);
XmpTableLocRec ClaimRecord(XmpTableWidget tw, Widget child);
void ComputeSameSize(XmpTableWidget tw);
void ComputeVectors(XmpTableWidget tw);
Px PreferredWidth(XmpTableWidget tw);  // preferred totals
Px PreferredHeight(XmpTableWidget tw);
void FitToSize(XmpTableWidget tw, Vector& cols, Vector& rows, Px width, Px height);
void PlaceVectors(XmpTableWidget tw);  // column and row positions
// Where a record's child goes (after PlaceVectors).
xmp::table::Box ChildBox(XmpTableWidget tw, const XmpTableLocRec& rec, Px givenWidth,
                         Px givenHeight, Px border);
void ConfigureChildren(XmpTableWidget tw);
void LayOut(XmpTableWidget tw);

// Negotiation (TableGeometry.cpp).
void DropTrial(State& s);  // trial vectors, answer and approved flag
void RequestResize(XmpTableWidget tw);
XtGeometryResult QueryGeometry(Widget w, XtWidgetGeometry* proposed, XtWidgetGeometry* preferred);

// A pixel count as a toolkit dimension (1 .. 65535).
Dimension ToDimension(Px v);

}  // namespace xmp::table

// Geometry manager and negotiation steps, under their toolkit-facing names.
XtGeometryResult XmpTableGeometryManager(Widget child, XtWidgetGeometry* request,
                                         XtWidgetGeometry* reply);
void XmpTableRequestResize(XmpTableWidget tw);
XtGeometryResult XmpTableQueryParentForResize(XmpTableWidget tw);
void XmpTableGetProposedChildSize(XmpTableWidget tw);

// Changes a child's placement; `what` is 1 (cell), 2 (spans), 4 (options)
// or their sum.
void XmpTableChildChange(Widget w, int what, int col, int row, int hSpan, int vSpan, int options);

// Old-style converters from String, registered by class-initialize.
void XmpCvtStrToXmpTableOpts(XrmValue* args, Cardinal* numArgs, XrmValue* from, XrmValue* to);
void XmpCvtStrToXmpTableLoc(XrmValue* args, Cardinal* numArgs, XrmValue* from, XrmValue* to);
void XmpCvtStrToXrmNameListLists(XrmValue* args, Cardinal* numArgs, XrmValue* from, XrmValue* to);
