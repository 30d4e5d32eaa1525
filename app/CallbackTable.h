// CallbackTable: every name through which xkest's resource description
// reaches the application: the actions and the callbacks, each a free
// function of exactly that name that forwards its arguments to the
// operation of the same name of one application object
// (xKestDoDsmSaveCB -> theDsm.Save).
//
//   RegisterXkestNames(app);   // before the widget tree is built
#pragma once

#include <X11/Intrinsic.h>

// The one list of names. X(Dsm, Save) stands for the callback
// xKestDoDsmSaveCB forwarding to theDsm.Save (an action's name ends in ACT
// instead); the declarations below, the forwarding functions, their
// registration and kXkestRegisteredNames are all made from these lines.
// Each list is kept in ASCII order of the names (the build checks it).
#define XKEST_ACTIONS(X) \
  X(Dsm, PostPopupMenu)  \
  X(Msg, FollowLink)     \
  X(Msg, PostPopupMenu)

#define XKEST_CALLBACKS(X)           \
  X(App, GracefulExit)               \
  X(App, QuitWithNoSave)             \
  X(App, SetVerifyQuitDlgWidget)     \
  X(Dsm, Append)                     \
  X(Dsm, Close)                      \
  X(Dsm, CloseWithNoSave)            \
  X(Dsm, Copy)                       \
  X(Dsm, Cut)                        \
  X(Dsm, Delete)                     \
  X(Dsm, DiscardAndLoad)             \
  X(Dsm, Find)                       \
  X(Dsm, KeepFile)                   \
  X(Dsm, Load)                       \
  X(Dsm, NavBottom)                  \
  X(Dsm, NavTop)                     \
  X(Dsm, OpenCopy)                   \
  X(Dsm, Overwrite)                  \
  X(Dsm, Paste)                      \
  X(Dsm, Print)                      \
  X(Dsm, Redo)                       \
  X(Dsm, Reload)                     \
  X(Dsm, Replace)                    \
  X(Dsm, RunCodegen)                 \
  X(Dsm, SafeLoad)                   \
  X(Dsm, SaveAndLoad)                \
  X(Dsm, SaveAs)                     \
  X(Dsm, SaveAsReplace)              \
  X(Dsm, Save)                       \
  X(Dsm, SetChangedDlgWidget)        \
  X(Dsm, SetCopyDlgWidget)           \
  X(Dsm, SetCursorPosWidget)         \
  X(Dsm, SetOpenDlgWidget)           \
  X(Dsm, SetPopMenuWidget)           \
  X(Dsm, SetReplaceDlgWidget)        \
  X(Dsm, SetSaveAndLoadQDlgWidget)   \
  X(Dsm, SetSaveAsDlgWidget)         \
  X(Dsm, SetVerifyCloseDlgWidget)    \
  X(Dsm, SetWidget)                  \
  X(Dsm, SynchLineNums)              \
  X(Dsm, Undo)                       \
  X(Msg, FindSelectionInDsm)         \
  X(Msg, GoToSyntaxErrInDsm)         \
  X(Msg, NextError)                  \
  X(Msg, OpenSelectedFile)           \
  X(Msg, PreviousError)              \
  X(Msg, SetMsgDialogWidget)         \
  X(Msg, SetPopMenuWidget)           \
  X(Msg, SetWidget)                  \
  X(Opts, HandleAdaKeywordsChange)   \
  X(Opts, HandleBackupExtsChange)    \
  X(Opts, HandleCxxKeywordsChange)   \
  X(Opts, HandleFileToolChange)      \
  X(Opts, HandleHTMLToolChange)      \
  X(Opts, HandleMakeBackupsChange)   \
  X(Opts, HandleShowFilesChange)     \
  X(Opts, HandleShowSummaryChange)   \
  X(Opts, HandleTemTraceChange)      \
  X(Opts, SetAdaKeywordsWidget)      \
  X(Opts, SetBackupExtsWidget)       \
  X(Opts, SetCxxKeywordsWidget)      \
  X(Opts, SetDsmTitleWidget)         \
  X(Opts, SetFileToolText)           \
  X(Opts, SetHTMLToolText)           \
  X(Opts, SetMakeBackupsWidget)      \
  X(Opts, SetOutDirFilter)           \
  X(Opts, SetOutDirSelectDlgWidget)  \
  X(Opts, SetOutputDir)              \
  X(Opts, SetOutputDirWidget)        \
  X(Opts, SetQuickItems)             \
  X(Opts, SetShowFilesWidget)        \
  X(Opts, SetShowSummaryWidget)      \
  X(Opts, SetTemFileFilter)          \
  X(Opts, SetTemFileSelectDlgWidget) \
  X(Opts, SetTemTraceWidget)         \
  X(Opts, SetTemplateFromFSDialog)   \
  X(Opts, SetTemplatePath)           \
  X(Opts, SetTemplateWidget)         \
  X(Opts, UpdateWidgets)             \
  X(Sysftns, EditTemplate)           \
  X(Sysftns, LaunchHTMLDoc)

// The name of a line of either list, as a string literal.
#define XKEST_ACTION_NAME(Class, Op) "xKestDo" #Class #Op "ACT"
#define XKEST_CALLBACK_NAME(Class, Op) "xKestDo" #Class #Op "CB"

// Registers the actions, then every callback (null client data) in
// ASCII order of their names, with the widget creation layer.
void RegisterXkestNames(XtAppContext app);

#define XKEST_PLUS_ONE(Class, Op) +1
// How many callbacks and actions RegisterXkestNames registers.
inline constexpr int kXkestCallbackCount = 0 XKEST_CALLBACKS(XKEST_PLUS_ONE);
inline constexpr int kXkestActionCount = 0 XKEST_ACTIONS(XKEST_PLUS_ONE);
#undef XKEST_PLUS_ONE

// The registered names in registration order (actions first), null-ended.
extern const char* const kXkestRegisteredNames[];

#define XKEST_DECLARE_ACTION(Class, Op) \
  void xKestDo##Class##Op##ACT(Widget w, XEvent* event, String* params, Cardinal* numParams);
#define XKEST_DECLARE_CALLBACK(Class, Op) \
  void xKestDo##Class##Op##CB(Widget w, XtPointer client, XtPointer call);
extern "C" {
XKEST_ACTIONS(XKEST_DECLARE_ACTION)
XKEST_CALLBACKS(XKEST_DECLARE_CALLBACK)
}
#undef XKEST_DECLARE_ACTION
#undef XKEST_DECLARE_CALLBACK
