// WcConverters.cpp: the resource converters the creation layer adds to the
// toolkit (QuarkRec, Quark, Widget, WidgetList, Callback, DynamicLibs).
#include "wcl/WcConverters.h"

#include "wcl/WcCallbacks.h"
#include "wcl/WcConvertUtil.h"
#include "wcl/WcNameConverters.h"
#include "wcl/WcNames.h"
#include "wcl/WcRegistry.h"

#include <X11/StringDefs.h>

namespace {

constexpr wcl::Message<0> kCvtStringToCallbackArgs{
    "wrongArgs", "WcCvtStringToCallback",
    "WcCvtStringToCallback registered without wcCvtWidgetArgs", "WcLibError"};

constexpr wcl::Message<0> kCvtStringToDynamicLibsArgs{
    "wrongArgs", "WcCvtStringToDynamicLibs",
    "WcCvtStringToDynamicLibs registered without wcCvtWidgetArgs", "WcLibError"};

Boolean CvtStringToQuarkRec(Display*, XrmValue*, Cardinal*, XrmValue* from, XrmValue* to,
                            XtPointer*) {
  // The quark table gives the text permanent storage, longer than the
  // database value it came from may live.
  const char* text = wcl::ConvertText(from);
  WcQuarkRec rec{XrmQuarkToString(XrmStringToQuark(text)), WcNameToQuarkLower(text)};
  return wcl::ConvertDone(to, rec);
}

Boolean CvtStringToQuark(Display*, XrmValue*, Cardinal*, XrmValue* from, XrmValue* to,
                         XtPointer*) {
  return wcl::ConvertDone<XrmQuark>(to, XrmStringToQuark(wcl::ConvertText(from)));
}

}  // namespace

// The widget being converted for, read from the object's first word (its
// `self` pointer), at the native pointer size.
XtConvertArgRec wcCvtWidgetArgs[2] = {
    {XtBaseOffset, nullptr, sizeof(Widget)},
    {XtBaseOffset, nullptr, sizeof(Widget)},
};

void WcCvtStringToCallback(XrmValue* args, Cardinal* numArgs, XrmValue* from, XrmValue* to) {
  wcl::RequireWidgetArgs(numArgs, kCvtStringToCallbackArgs);
  // Old-style converters hand back their own storage.
  static XtCallbackList result;
  result = WcStringToCallbackList(wcl::ConvertWidget(args), wcl::ConvertText(from));
  to->addr = reinterpret_cast<XPointer>(&result);
  to->size = sizeof(result);
}

Boolean WcCvtStringToDynamicLibs(Display*, XrmValue* args, Cardinal* numArgs, XrmValue* from,
                                 XrmValue* to, XtPointer*) {
  wcl::RequireWidgetArgs(numArgs, kCvtStringToDynamicLibsArgs);
  const char* text = wcl::ConvertText(from);
  WcLoadDynamicLibs(XtWidgetToApplicationContext(wcl::ConvertWidget(args)), text);
  return wcl::ConvertDone<String>(to, XrmQuarkToString(XrmStringToQuark(text)));
}

void WcRegisterConverters(XtAppContext app) {
  static WcAppContextList served;
  if (!served.FirstTime(app)) return;

  XtAppSetTypeConverter(app, XtRString, WcRQuarkRec, CvtStringToQuarkRec, nullptr, 0, XtCacheAll,
                        nullptr);
  XtAppSetTypeConverter(app, XtRString, WcRQuark, CvtStringToQuark, nullptr, 0, XtCacheAll,
                        nullptr);
  XtAppSetTypeConverter(app, XtRString, XtRWidget, WcCvtStringToWidget, wcCvtWidgetArgs, 2,
                        XtCacheNone, nullptr);
  XtAppSetTypeConverter(app, XtRString, XtRWidgetList, WcCvtStringToWidgetList, wcCvtWidgetArgs,
                        2, XtCacheNone, WcDestroyWidgetList);
  XtAppAddConverter(app, XtRString, XtRCallback, WcCvtStringToCallback, wcCvtWidgetArgs, 2);
  XtAppSetTypeConverter(app, XtRString, WcRDynamicLibs, WcCvtStringToDynamicLibs,
                        wcCvtWidgetArgs, 2, XtCacheNone, nullptr);
}
