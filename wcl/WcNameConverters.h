// WcNameConverters.h: the String-to-Widget and String-to-WidgetList
// converters, so a resource of type Widget may hold a widget name relative
// to the widget it is converted for. WcRegisterConverters adds them:
//
//   *form.defaultButton: ^okButton
#pragma once

#include <X11/Intrinsic.h>

#ifdef __cplusplus
extern "C" {
#endif

// String-to-Widget and String-to-WidgetList (new-style converters, both
// need the wcCvtWidgetArgs conversion arguments; see WcConverters.h).
Boolean WcCvtStringToWidget(Display* dpy, XrmValue* args, Cardinal* numArgs, XrmValue* from,
                            XrmValue* to, XtPointer* converterData);
Boolean WcCvtStringToWidgetList(Display* dpy, XrmValue* args, Cardinal* numArgs,
                                XrmValue* from, XrmValue* to, XtPointer* converterData);
void WcDestroyWidgetList(XtAppContext app, XrmValue* to, XtPointer converterData,
                         XrmValue* args, Cardinal* numArgs);

#ifdef __cplusplus
}
#endif
