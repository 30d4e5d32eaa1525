// WcTemplates.h: templates for widget creation. A file named in
// wclTemplateFiles is a resource database registered under its base name;
// `*foo.wcTemplate: dialog.tmpl` makes creation copy its entries below foo
// without overriding what the database already says.
//
//   WcLoadTemplateFiles(root, "/usr/lib/app/dialog.tmpl", False);
//   if (wcl::ExpandTemplate(templ, parent, "okBox", trace)) ...read again
#pragma once

#include <X11/Intrinsic.h>

#ifdef __cplusplus
extern "C" {
#endif

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

// Copies every entry of the template registered under `templateName` into
// the screen database below parent's path and `name` (all loosely bound),
// without overriding entries already there. With `trace`, prints the
// copied entries. False when the template is unknown or empty.
bool ExpandTemplate(XrmQuark templateName, Widget parent, const char* name, bool trace);

}  // namespace wcl
#endif
