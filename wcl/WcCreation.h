// WcCreation.h: widget tree creation from resources.
//
// Creation takes an existing widget and creates, recursively, every widget
// the resource database names below it. For each widget it reads the creation resources (wcCreate, wcClass,
// wcClassName, wcConstructor, wcTemplate, ...), creates it from a
// registered class or constructor, runs wcCallback, creates its wcPopups
// and wcChildren and manages the children in one batch:
//
//   *wcChildren:        main
//   *main.wcCreate:     XmMainWindow
//   *main.wcChildren:   menuBar, work
//   *main.wcCallback:   xKestDoAppMainWidgetCB
//
//   WcCreateNamedChildren(form, "okButton, cancelButton");
//
// WcWidgetCreation (WcInitialize.h) builds a whole tree from its root.
//
// Callbacks run during creation may create or destroy widgets, even the one
// being built; what is destroyed is skipped, never touched again. Nesting
// stops at 256 levels (a loosely bound wcChildren naming its own widget).
//
// Templates (WcTemplates.h): `*foo.wcTemplate: dialog.tmpl` copies a
// template's entries below foo without overriding what the database says.
#pragma once

#include <X11/Intrinsic.h>

#ifdef __cplusplus
extern "C" {
#endif

// How a widget is being created: decides XtCreatePopupShell vs
// XtCreateWidget for classes, and the trace label.
typedef enum {
  WC_NEW_ROOT = 0,
  WC_CHILD = 1,
  WC_POPUP = 2
} WcCreateKind;

// Creates the named children of an existing widget (name list as in
// wcChildren) and manages them; no after-callbacks.
void WcCreateNamedChildren(Widget parent, const char* names);

// Creates each named pop-up shell of parent. Only a widget holds pop-ups:
// a gadget or other object gets a warning and none.
void WcCreateNamedPopups(Widget parent, const char* names);

// Creates one widget `name` under parent from its creation resources and
// builds its subtree. Returns the widget, or null (after a warning).
Widget WcCreateDatabaseChild(Widget parent, const char* name, WcCreateKind kind);

// The step after a widget exists: trace, dump, wcCallback, pop-ups,
// children and their after-callbacks. WcCreateRoot uses it on new shells.
void WcPostCreate(Widget w, WcCreateKind kind);

#ifdef __cplusplus
}

namespace wcl {

// The creation below an existing root: its wcCallback, pop-ups and
// children. False when a callback destroyed the root meanwhile.
bool CreateBelowRoot(Widget root);

// Whether the toolkit can manage w: a rectangle object among the children
// of a composite. A shell is popped up, never managed: a root has no parent
// (managing it crashes the toolkit) and a pop-up is none of its parent's
// children.
bool IsManageableChild(Widget w);

// The toolkit ends the program when it realizes or pops up a shell of
// width or height 0 (an empty shell: nothing sized it). Gives such a shell,
// not yet realized and without a managed child, 1 for each side that is 0.
void SizeEmptyShell(Widget w);

}  // namespace wcl
#endif
