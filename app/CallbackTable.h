// CallbackTable: every name through which xkest's resource description
// reaches the application: the actions and the callbacks, each a free
// function of exactly that name that forwards its arguments unchanged to
// the operation of the same name of one application object
// (xKestDoDsmSaveCB -> theDsm.Save).
//
//   RegisterXkestNames(app);   // before the widget tree is built
#pragma once

#include <X11/Intrinsic.h>

// Registers the actions, then every callback (null client data) in
// ASCII order of their names, with the widget creation layer.
void RegisterXkestNames(XtAppContext app);

// How many callbacks and actions RegisterXkestNames registers.
inline constexpr int kXkestCallbackCount = 77;
inline constexpr int kXkestActionCount = 3;

// The registered names in registration order (actions first), null-ended.
extern const char* const kXkestRegisteredNames[];

extern "C" {

void xKestDoDsmPostPopupMenuACT(Widget w, XEvent* event, String* params, Cardinal* numParams);
void xKestDoMsgFollowLinkACT(Widget w, XEvent* event, String* params, Cardinal* numParams);
void xKestDoMsgPostPopupMenuACT(Widget w, XEvent* event, String* params, Cardinal* numParams);
void xKestDoAppGracefulExitCB(Widget w, XtPointer client, XtPointer call);
void xKestDoAppQuitWithNoSaveCB(Widget w, XtPointer client, XtPointer call);
void xKestDoAppSetVerifyQuitDlgWidgetCB(Widget w, XtPointer client, XtPointer call);
void xKestDoDsmAppendCB(Widget w, XtPointer client, XtPointer call);
void xKestDoDsmCloseCB(Widget w, XtPointer client, XtPointer call);
void xKestDoDsmCloseWithNoSaveCB(Widget w, XtPointer client, XtPointer call);
void xKestDoDsmCopyCB(Widget w, XtPointer client, XtPointer call);
void xKestDoDsmCutCB(Widget w, XtPointer client, XtPointer call);
void xKestDoDsmDeleteCB(Widget w, XtPointer client, XtPointer call);
void xKestDoDsmDiscardAndLoadCB(Widget w, XtPointer client, XtPointer call);
void xKestDoDsmFindCB(Widget w, XtPointer client, XtPointer call);
void xKestDoDsmLoadCB(Widget w, XtPointer client, XtPointer call);
void xKestDoDsmNavBottomCB(Widget w, XtPointer client, XtPointer call);
void xKestDoDsmNavTopCB(Widget w, XtPointer client, XtPointer call);
void xKestDoDsmOverwriteCB(Widget w, XtPointer client, XtPointer call);
void xKestDoDsmPasteCB(Widget w, XtPointer client, XtPointer call);
void xKestDoDsmPrintCB(Widget w, XtPointer client, XtPointer call);
void xKestDoDsmRedoCB(Widget w, XtPointer client, XtPointer call);
void xKestDoDsmReloadCB(Widget w, XtPointer client, XtPointer call);
void xKestDoDsmReplaceCB(Widget w, XtPointer client, XtPointer call);
void xKestDoDsmRunCodegenCB(Widget w, XtPointer client, XtPointer call);
void xKestDoDsmSafeLoadCB(Widget w, XtPointer client, XtPointer call);
void xKestDoDsmSaveAndLoadCB(Widget w, XtPointer client, XtPointer call);
void xKestDoDsmSaveAsCB(Widget w, XtPointer client, XtPointer call);
void xKestDoDsmSaveAsReplaceCB(Widget w, XtPointer client, XtPointer call);
void xKestDoDsmSaveCB(Widget w, XtPointer client, XtPointer call);
void xKestDoDsmSetChangedDlgWidgetCB(Widget w, XtPointer client, XtPointer call);
void xKestDoDsmSetCursorPosWidgetCB(Widget w, XtPointer client, XtPointer call);
void xKestDoDsmSetOpenDlgWidgetCB(Widget w, XtPointer client, XtPointer call);
void xKestDoDsmSetPopMenuWidgetCB(Widget w, XtPointer client, XtPointer call);
void xKestDoDsmSetReplaceDlgWidgetCB(Widget w, XtPointer client, XtPointer call);
void xKestDoDsmSetSaveAndLoadQDlgWidgetCB(Widget w, XtPointer client, XtPointer call);
void xKestDoDsmSetSaveAsDlgWidgetCB(Widget w, XtPointer client, XtPointer call);
void xKestDoDsmSetVerifyCloseDlgWidgetCB(Widget w, XtPointer client, XtPointer call);
void xKestDoDsmSetWidgetCB(Widget w, XtPointer client, XtPointer call);
void xKestDoDsmSynchLineNumsCB(Widget w, XtPointer client, XtPointer call);
void xKestDoDsmUndoCB(Widget w, XtPointer client, XtPointer call);
void xKestDoMsgFindSelectionInDsmCB(Widget w, XtPointer client, XtPointer call);
void xKestDoMsgGoToSyntaxErrInDsmCB(Widget w, XtPointer client, XtPointer call);
void xKestDoMsgNextErrorCB(Widget w, XtPointer client, XtPointer call);
void xKestDoMsgOpenSelectedFileCB(Widget w, XtPointer client, XtPointer call);
void xKestDoMsgPreviousErrorCB(Widget w, XtPointer client, XtPointer call);
void xKestDoMsgSetMsgDialogWidgetCB(Widget w, XtPointer client, XtPointer call);
void xKestDoMsgSetPopMenuWidgetCB(Widget w, XtPointer client, XtPointer call);
void xKestDoMsgSetWidgetCB(Widget w, XtPointer client, XtPointer call);
void xKestDoOptsHandleAdaKeywordsChangeCB(Widget w, XtPointer client, XtPointer call);
void xKestDoOptsHandleBackupExtsChangeCB(Widget w, XtPointer client, XtPointer call);
void xKestDoOptsHandleCxxKeywordsChangeCB(Widget w, XtPointer client, XtPointer call);
void xKestDoOptsHandleFileToolChangeCB(Widget w, XtPointer client, XtPointer call);
void xKestDoOptsHandleHTMLToolChangeCB(Widget w, XtPointer client, XtPointer call);
void xKestDoOptsHandleMakeBackupsChangeCB(Widget w, XtPointer client, XtPointer call);
void xKestDoOptsHandleShowFilesChangeCB(Widget w, XtPointer client, XtPointer call);
void xKestDoOptsHandleShowSummaryChangeCB(Widget w, XtPointer client, XtPointer call);
void xKestDoOptsHandleTemTraceChangeCB(Widget w, XtPointer client, XtPointer call);
void xKestDoOptsSetAdaKeywordsWidgetCB(Widget w, XtPointer client, XtPointer call);
void xKestDoOptsSetBackupExtsWidgetCB(Widget w, XtPointer client, XtPointer call);
void xKestDoOptsSetCxxKeywordsWidgetCB(Widget w, XtPointer client, XtPointer call);
void xKestDoOptsSetDsmTitleWidgetCB(Widget w, XtPointer client, XtPointer call);
void xKestDoOptsSetFileToolTextCB(Widget w, XtPointer client, XtPointer call);
void xKestDoOptsSetHTMLToolTextCB(Widget w, XtPointer client, XtPointer call);
void xKestDoOptsSetMakeBackupsWidgetCB(Widget w, XtPointer client, XtPointer call);
void xKestDoOptsSetOutDirFilterCB(Widget w, XtPointer client, XtPointer call);
void xKestDoOptsSetOutDirSelectDlgWidgetCB(Widget w, XtPointer client, XtPointer call);
void xKestDoOptsSetOutputDirCB(Widget w, XtPointer client, XtPointer call);
void xKestDoOptsSetOutputDirWidgetCB(Widget w, XtPointer client, XtPointer call);
void xKestDoOptsSetQuickItemsCB(Widget w, XtPointer client, XtPointer call);
void xKestDoOptsSetShowFilesWidgetCB(Widget w, XtPointer client, XtPointer call);
void xKestDoOptsSetShowSummaryWidgetCB(Widget w, XtPointer client, XtPointer call);
void xKestDoOptsSetTemFileFilterCB(Widget w, XtPointer client, XtPointer call);
void xKestDoOptsSetTemFileSelectDlgWidgetCB(Widget w, XtPointer client, XtPointer call);
void xKestDoOptsSetTemTraceWidgetCB(Widget w, XtPointer client, XtPointer call);
void xKestDoOptsSetTemplateFromFSDialogCB(Widget w, XtPointer client, XtPointer call);
void xKestDoOptsSetTemplatePathCB(Widget w, XtPointer client, XtPointer call);
void xKestDoOptsSetTemplateWidgetCB(Widget w, XtPointer client, XtPointer call);
void xKestDoOptsUpdateWidgetsCB(Widget w, XtPointer client, XtPointer call);
void xKestDoSysftnsEditTemplateCB(Widget w, XtPointer client, XtPointer call);
void xKestDoSysftnsLaunchHTMLDocCB(Widget w, XtPointer client, XtPointer call);
}
