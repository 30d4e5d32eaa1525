// WcCreation.h: widget tree creation from resources.
//
// WcWidgetCreation takes an existing root (the application shell) and
// creates, recursively, every widget the resource database names below it.
// For each widget it reads the creation resources (wcCreate, wcClass,
// wcClassName, wcConstructor, wcTemplate, ...), creates it from a
// registered class or constructor, runs wcCallback, creates its wcPopups
// and wcChildren and manages the children in one batch:
//
//   *wcChildren:        main
//   *main.wcCreate:     XmMainWindow
//   *main.wcChildren:   menuBar, work
//   *main.wcCallback:   xKestDoAppMainWidgetCB
//
//   if (WcWidgetCreation(appShell) != 0) exit(1);   // nothing was created
//
// Callbacks run during creation may create or destroy widgets, even the one
// being built; what is destroyed is skipped, never touched again. Nesting
// stops at 256 levels (a loosely bound wcChildren naming its own widget).
//
// Templates: a file named in wclTemplateFiles is a resource database
// registered under its base name; `*foo.wcTemplate: dialog.tmpl` copies its
// entries below foo without overriding what the database already says.
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

// Runs the layer's start-up for root's context, then builds the tree below
// root. Returns 0 on success, 1 (with the "noChildren" error) when root got
// neither children nor pop-ups.
int WcWidgetCreation(Widget root);

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

// Templates, registered under their exact name (letter case kept).
// Registering a name again replaces the database.
void WcRegisterTemplate(const char* name, XrmDatabase db);
XrmDatabase WcFindTemplate(const char* name);

// Loads each file of the name list once as a template named after the
// text after its last '/'. With `trace`, dumps each definition.
void WcLoadTemplateFiles(Widget w, const char* fileNames, Boolean trace);

#ifdef __cplusplus
}

namespace wcl {

// Whether the toolkit can manage w: a rectangle object among the children
// of a composite. A shell is popped up, never managed: a root has no parent
// (managing it crashes the toolkit) and a pop-up is none of its parent's
// children.
bool IsManageableChild(Widget w);

}  // namespace wcl
#endif
