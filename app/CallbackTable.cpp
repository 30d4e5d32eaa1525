// CallbackTable: the forwarding functions and their registration.
#include "app/CallbackTable.h"

#include "app/AppCl.h"
#include "app/Application.h"
#include "app/DsmCl.h"
#include "app/MsgCl.h"
#include "app/OptsCl.h"
#include "app/SysftnsCl.h"
#include <iterator>

#include "wcl/WcCreate.h"

extern "C" {

void xKestDoDsmPostPopupMenuACT(Widget w, XEvent* event, String* params, Cardinal* numParams) {
  theDsm.PostPopupMenu(w, event, params, numParams);
}
void xKestDoMsgFollowLinkACT(Widget w, XEvent* event, String* params, Cardinal* numParams) {
  theMsg.FollowLink(w, event, params, numParams);
}
void xKestDoMsgPostPopupMenuACT(Widget w, XEvent* event, String* params, Cardinal* numParams) {
  theMsg.PostPopupMenu(w, event, params, numParams);
}
void xKestDoAppGracefulExitCB(Widget, XtPointer, XtPointer) { theApp.GracefulExit(); }
void xKestDoAppQuitWithNoSaveCB(Widget, XtPointer, XtPointer) { theApp.QuitWithNoSave(); }
void xKestDoAppSetVerifyQuitDlgWidgetCB(Widget w, XtPointer, XtPointer) { theApp.SetVerifyQuitDlgWidget(w); }
void xKestDoDsmAppendCB(Widget w, XtPointer client, XtPointer call) {
  theDsm.Append(w, client, call);
}
void xKestDoDsmCloseCB(Widget w, XtPointer client, XtPointer call) {
  theDsm.Close(w, client, call);
}
void xKestDoDsmCloseWithNoSaveCB(Widget w, XtPointer client, XtPointer call) {
  theDsm.CloseWithNoSave(w, client, call);
}
void xKestDoDsmCopyCB(Widget w, XtPointer client, XtPointer call) {
  theDsm.Copy(w, client, call);
}
void xKestDoDsmCutCB(Widget w, XtPointer client, XtPointer call) {
  theDsm.Cut(w, client, call);
}
void xKestDoDsmDeleteCB(Widget w, XtPointer client, XtPointer call) {
  theDsm.Delete(w, client, call);
}
void xKestDoDsmDiscardAndLoadCB(Widget w, XtPointer client, XtPointer call) {
  theDsm.DiscardAndLoad(w, client, call);
}
void xKestDoDsmFindCB(Widget w, XtPointer client, XtPointer call) {
  theDsm.Find(w, client, call);
}
void xKestDoDsmLoadCB(Widget w, XtPointer client, XtPointer call) {
  theDsm.Load(w, client, call);
}
void xKestDoDsmNavBottomCB(Widget w, XtPointer client, XtPointer call) {
  theDsm.NavBottom(w, client, call);
}
void xKestDoDsmNavTopCB(Widget w, XtPointer client, XtPointer call) {
  theDsm.NavTop(w, client, call);
}
void xKestDoDsmOverwriteCB(Widget w, XtPointer client, XtPointer call) {
  theDsm.Overwrite(w, client, call);
}
void xKestDoDsmPasteCB(Widget w, XtPointer client, XtPointer call) {
  theDsm.Paste(w, client, call);
}
void xKestDoDsmPrintCB(Widget w, XtPointer client, XtPointer call) {
  theDsm.Print(w, client, call);
}
void xKestDoDsmRedoCB(Widget w, XtPointer client, XtPointer call) {
  theDsm.Redo(w, client, call);
}
void xKestDoDsmReloadCB(Widget w, XtPointer client, XtPointer call) {
  theDsm.Reload(w, client, call);
}
void xKestDoDsmReplaceCB(Widget w, XtPointer client, XtPointer call) {
  theDsm.Replace(w, client, call);
}
void xKestDoDsmRunCodegenCB(Widget w, XtPointer client, XtPointer call) {
  theDsm.RunCodegen(w, client, call);
}
void xKestDoDsmSafeLoadCB(Widget w, XtPointer client, XtPointer call) {
  theDsm.SafeLoad(w, client, call);
}
void xKestDoDsmSaveAndLoadCB(Widget w, XtPointer client, XtPointer call) {
  theDsm.SaveAndLoad(w, client, call);
}
void xKestDoDsmSaveAsCB(Widget w, XtPointer client, XtPointer call) {
  theDsm.SaveAs(w, client, call);
}
void xKestDoDsmSaveAsReplaceCB(Widget w, XtPointer client, XtPointer call) {
  theDsm.SaveAsReplace(w, client, call);
}
void xKestDoDsmSaveCB(Widget w, XtPointer client, XtPointer call) {
  theDsm.Save(w, client, call);
}
void xKestDoDsmSetChangedDlgWidgetCB(Widget w, XtPointer client, XtPointer call) {
  theDsm.SetChangedDlgWidget(w, client, call);
}
void xKestDoDsmSetCursorPosWidgetCB(Widget w, XtPointer client, XtPointer call) {
  theDsm.SetCursorPosWidget(w, client, call);
}
void xKestDoDsmSetOpenDlgWidgetCB(Widget w, XtPointer client, XtPointer call) {
  theDsm.SetOpenDlgWidget(w, client, call);
}
void xKestDoDsmSetPopMenuWidgetCB(Widget w, XtPointer client, XtPointer call) {
  theDsm.SetPopMenuWidget(w, client, call);
}
void xKestDoDsmSetReplaceDlgWidgetCB(Widget w, XtPointer client, XtPointer call) {
  theDsm.SetReplaceDlgWidget(w, client, call);
}
void xKestDoDsmSetSaveAndLoadQDlgWidgetCB(Widget w, XtPointer client, XtPointer call) {
  theDsm.SetSaveAndLoadQDlgWidget(w, client, call);
}
void xKestDoDsmSetSaveAsDlgWidgetCB(Widget w, XtPointer client, XtPointer call) {
  theDsm.SetSaveAsDlgWidget(w, client, call);
}
void xKestDoDsmSetVerifyCloseDlgWidgetCB(Widget w, XtPointer client, XtPointer call) {
  theDsm.SetVerifyCloseDlgWidget(w, client, call);
}
void xKestDoDsmSetWidgetCB(Widget w, XtPointer client, XtPointer call) {
  theDsm.SetWidget(w, client, call);
}
void xKestDoDsmSynchLineNumsCB(Widget w, XtPointer client, XtPointer call) {
  theDsm.SynchLineNums(w, client, call);
}
void xKestDoDsmUndoCB(Widget w, XtPointer client, XtPointer call) {
  theDsm.Undo(w, client, call);
}
void xKestDoMsgFindSelectionInDsmCB(Widget w, XtPointer client, XtPointer call) {
  theMsg.FindSelectionInDsm(w, client, call);
}
void xKestDoMsgGoToSyntaxErrInDsmCB(Widget w, XtPointer client, XtPointer call) {
  theMsg.GoToSyntaxErrInDsm(w, client, call);
}
void xKestDoMsgNextErrorCB(Widget w, XtPointer client, XtPointer call) {
  theMsg.NextError(w, client, call);
}
void xKestDoMsgOpenSelectedFileCB(Widget w, XtPointer client, XtPointer call) {
  theMsg.OpenSelectedFile(w, client, call);
}
void xKestDoMsgPreviousErrorCB(Widget w, XtPointer client, XtPointer call) {
  theMsg.PreviousError(w, client, call);
}
void xKestDoMsgSetMsgDialogWidgetCB(Widget w, XtPointer client, XtPointer call) {
  theMsg.SetMsgDialogWidget(w, client, call);
}
void xKestDoMsgSetPopMenuWidgetCB(Widget w, XtPointer client, XtPointer call) {
  theMsg.SetPopMenuWidget(w, client, call);
}
void xKestDoMsgSetWidgetCB(Widget w, XtPointer client, XtPointer call) {
  theMsg.SetWidget(w, client, call);
}
void xKestDoOptsHandleAdaKeywordsChangeCB(Widget w, XtPointer client, XtPointer call) {
  theOpts.HandleAdaKeywordsChange(w, client, call);
}
void xKestDoOptsHandleBackupExtsChangeCB(Widget w, XtPointer client, XtPointer call) {
  theOpts.HandleBackupExtsChange(w, client, call);
}
void xKestDoOptsHandleCxxKeywordsChangeCB(Widget w, XtPointer client, XtPointer call) {
  theOpts.HandleCxxKeywordsChange(w, client, call);
}
void xKestDoOptsHandleFileToolChangeCB(Widget w, XtPointer client, XtPointer call) {
  theOpts.HandleFileToolChange(w, client, call);
}
void xKestDoOptsHandleHTMLToolChangeCB(Widget w, XtPointer client, XtPointer call) {
  theOpts.HandleHTMLToolChange(w, client, call);
}
void xKestDoOptsHandleMakeBackupsChangeCB(Widget w, XtPointer client, XtPointer call) {
  theOpts.HandleMakeBackupsChange(w, client, call);
}
void xKestDoOptsHandleShowFilesChangeCB(Widget w, XtPointer client, XtPointer call) {
  theOpts.HandleShowFilesChange(w, client, call);
}
void xKestDoOptsHandleShowSummaryChangeCB(Widget w, XtPointer client, XtPointer call) {
  theOpts.HandleShowSummaryChange(w, client, call);
}
void xKestDoOptsHandleTemTraceChangeCB(Widget w, XtPointer client, XtPointer call) {
  theOpts.HandleTemTraceChange(w, client, call);
}
void xKestDoOptsSetAdaKeywordsWidgetCB(Widget w, XtPointer client, XtPointer call) {
  theOpts.SetAdaKeywordsWidget(w, client, call);
}
void xKestDoOptsSetBackupExtsWidgetCB(Widget w, XtPointer client, XtPointer call) {
  theOpts.SetBackupExtsWidget(w, client, call);
}
void xKestDoOptsSetCxxKeywordsWidgetCB(Widget w, XtPointer client, XtPointer call) {
  theOpts.SetCxxKeywordsWidget(w, client, call);
}
void xKestDoOptsSetDsmTitleWidgetCB(Widget w, XtPointer client, XtPointer call) {
  theOpts.SetDsmTitleWidget(w, client, call);
}
void xKestDoOptsSetFileToolTextCB(Widget w, XtPointer client, XtPointer call) {
  theOpts.SetFileToolText(w, client, call);
}
void xKestDoOptsSetHTMLToolTextCB(Widget w, XtPointer client, XtPointer call) {
  theOpts.SetHTMLToolText(w, client, call);
}
void xKestDoOptsSetMakeBackupsWidgetCB(Widget w, XtPointer client, XtPointer call) {
  theOpts.SetMakeBackupsWidget(w, client, call);
}
void xKestDoOptsSetOutDirFilterCB(Widget w, XtPointer client, XtPointer call) {
  theOpts.SetOutDirFilter(w, client, call);
}
void xKestDoOptsSetOutDirSelectDlgWidgetCB(Widget w, XtPointer client, XtPointer call) {
  theOpts.SetOutDirSelectDlgWidget(w, client, call);
}
void xKestDoOptsSetOutputDirCB(Widget w, XtPointer client, XtPointer call) {
  theOpts.SetOutputDir(w, client, call);
}
void xKestDoOptsSetOutputDirWidgetCB(Widget w, XtPointer client, XtPointer call) {
  theOpts.SetOutputDirWidget(w, client, call);
}
void xKestDoOptsSetQuickItemsCB(Widget w, XtPointer client, XtPointer call) {
  theOpts.SetQuickItems(w, client, call);
}
void xKestDoOptsSetShowFilesWidgetCB(Widget w, XtPointer client, XtPointer call) {
  theOpts.SetShowFilesWidget(w, client, call);
}
void xKestDoOptsSetShowSummaryWidgetCB(Widget w, XtPointer client, XtPointer call) {
  theOpts.SetShowSummaryWidget(w, client, call);
}
void xKestDoOptsSetTemFileFilterCB(Widget w, XtPointer client, XtPointer call) {
  theOpts.SetTemFileFilter(w, client, call);
}
void xKestDoOptsSetTemFileSelectDlgWidgetCB(Widget w, XtPointer client, XtPointer call) {
  theOpts.SetTemFileSelectDlgWidget(w, client, call);
}
void xKestDoOptsSetTemTraceWidgetCB(Widget w, XtPointer client, XtPointer call) {
  theOpts.SetTemTraceWidget(w, client, call);
}
void xKestDoOptsSetTemplateFromFSDialogCB(Widget w, XtPointer client, XtPointer call) {
  theOpts.SetTemplateFromFSDialog(w, client, call);
}
void xKestDoOptsSetTemplatePathCB(Widget w, XtPointer client, XtPointer call) {
  theOpts.SetTemplatePath(w, client, call);
}
void xKestDoOptsSetTemplateWidgetCB(Widget w, XtPointer client, XtPointer call) {
  theOpts.SetTemplateWidget(w, client, call);
}
void xKestDoOptsUpdateWidgetsCB(Widget w, XtPointer client, XtPointer call) {
  theOpts.UpdateWidgets(w, client, call);
}
void xKestDoSysftnsEditTemplateCB(Widget w, XtPointer client, XtPointer call) {
  theSysftns.EditTemplate(w, client, call);
}
void xKestDoSysftnsLaunchHTMLDocCB(Widget w, XtPointer client, XtPointer call) {
  theSysftns.LaunchHTMLDoc(w, client, call);
}
}  // extern "C"

namespace {

struct ActionEntry {
  const char* name;
  XtActionProc proc;
};

struct CallbackEntry {
  const char* name;
  XtCallbackProc proc;
};

constexpr ActionEntry kActions[] = {
    {"xKestDoDsmPostPopupMenuACT", xKestDoDsmPostPopupMenuACT},
    {"xKestDoMsgFollowLinkACT", xKestDoMsgFollowLinkACT},
    {"xKestDoMsgPostPopupMenuACT", xKestDoMsgPostPopupMenuACT},
};

constexpr CallbackEntry kCallbacks[] = {
    {"xKestDoAppGracefulExitCB", xKestDoAppGracefulExitCB},
    {"xKestDoAppQuitWithNoSaveCB", xKestDoAppQuitWithNoSaveCB},
    {"xKestDoAppSetVerifyQuitDlgWidgetCB", xKestDoAppSetVerifyQuitDlgWidgetCB},
    {"xKestDoDsmAppendCB", xKestDoDsmAppendCB},
    {"xKestDoDsmCloseCB", xKestDoDsmCloseCB},
    {"xKestDoDsmCloseWithNoSaveCB", xKestDoDsmCloseWithNoSaveCB},
    {"xKestDoDsmCopyCB", xKestDoDsmCopyCB},
    {"xKestDoDsmCutCB", xKestDoDsmCutCB},
    {"xKestDoDsmDeleteCB", xKestDoDsmDeleteCB},
    {"xKestDoDsmDiscardAndLoadCB", xKestDoDsmDiscardAndLoadCB},
    {"xKestDoDsmFindCB", xKestDoDsmFindCB},
    {"xKestDoDsmLoadCB", xKestDoDsmLoadCB},
    {"xKestDoDsmNavBottomCB", xKestDoDsmNavBottomCB},
    {"xKestDoDsmNavTopCB", xKestDoDsmNavTopCB},
    {"xKestDoDsmOverwriteCB", xKestDoDsmOverwriteCB},
    {"xKestDoDsmPasteCB", xKestDoDsmPasteCB},
    {"xKestDoDsmPrintCB", xKestDoDsmPrintCB},
    {"xKestDoDsmRedoCB", xKestDoDsmRedoCB},
    {"xKestDoDsmReloadCB", xKestDoDsmReloadCB},
    {"xKestDoDsmReplaceCB", xKestDoDsmReplaceCB},
    {"xKestDoDsmRunCodegenCB", xKestDoDsmRunCodegenCB},
    {"xKestDoDsmSafeLoadCB", xKestDoDsmSafeLoadCB},
    {"xKestDoDsmSaveAndLoadCB", xKestDoDsmSaveAndLoadCB},
    {"xKestDoDsmSaveAsCB", xKestDoDsmSaveAsCB},
    {"xKestDoDsmSaveAsReplaceCB", xKestDoDsmSaveAsReplaceCB},
    {"xKestDoDsmSaveCB", xKestDoDsmSaveCB},
    {"xKestDoDsmSetChangedDlgWidgetCB", xKestDoDsmSetChangedDlgWidgetCB},
    {"xKestDoDsmSetCursorPosWidgetCB", xKestDoDsmSetCursorPosWidgetCB},
    {"xKestDoDsmSetOpenDlgWidgetCB", xKestDoDsmSetOpenDlgWidgetCB},
    {"xKestDoDsmSetPopMenuWidgetCB", xKestDoDsmSetPopMenuWidgetCB},
    {"xKestDoDsmSetReplaceDlgWidgetCB", xKestDoDsmSetReplaceDlgWidgetCB},
    {"xKestDoDsmSetSaveAndLoadQDlgWidgetCB", xKestDoDsmSetSaveAndLoadQDlgWidgetCB},
    {"xKestDoDsmSetSaveAsDlgWidgetCB", xKestDoDsmSetSaveAsDlgWidgetCB},
    {"xKestDoDsmSetVerifyCloseDlgWidgetCB", xKestDoDsmSetVerifyCloseDlgWidgetCB},
    {"xKestDoDsmSetWidgetCB", xKestDoDsmSetWidgetCB},
    {"xKestDoDsmSynchLineNumsCB", xKestDoDsmSynchLineNumsCB},
    {"xKestDoDsmUndoCB", xKestDoDsmUndoCB},
    {"xKestDoMsgFindSelectionInDsmCB", xKestDoMsgFindSelectionInDsmCB},
    {"xKestDoMsgGoToSyntaxErrInDsmCB", xKestDoMsgGoToSyntaxErrInDsmCB},
    {"xKestDoMsgNextErrorCB", xKestDoMsgNextErrorCB},
    {"xKestDoMsgOpenSelectedFileCB", xKestDoMsgOpenSelectedFileCB},
    {"xKestDoMsgPreviousErrorCB", xKestDoMsgPreviousErrorCB},
    {"xKestDoMsgSetMsgDialogWidgetCB", xKestDoMsgSetMsgDialogWidgetCB},
    {"xKestDoMsgSetPopMenuWidgetCB", xKestDoMsgSetPopMenuWidgetCB},
    {"xKestDoMsgSetWidgetCB", xKestDoMsgSetWidgetCB},
    {"xKestDoOptsHandleAdaKeywordsChangeCB", xKestDoOptsHandleAdaKeywordsChangeCB},
    {"xKestDoOptsHandleBackupExtsChangeCB", xKestDoOptsHandleBackupExtsChangeCB},
    {"xKestDoOptsHandleCxxKeywordsChangeCB", xKestDoOptsHandleCxxKeywordsChangeCB},
    {"xKestDoOptsHandleFileToolChangeCB", xKestDoOptsHandleFileToolChangeCB},
    {"xKestDoOptsHandleHTMLToolChangeCB", xKestDoOptsHandleHTMLToolChangeCB},
    {"xKestDoOptsHandleMakeBackupsChangeCB", xKestDoOptsHandleMakeBackupsChangeCB},
    {"xKestDoOptsHandleShowFilesChangeCB", xKestDoOptsHandleShowFilesChangeCB},
    {"xKestDoOptsHandleShowSummaryChangeCB", xKestDoOptsHandleShowSummaryChangeCB},
    {"xKestDoOptsHandleTemTraceChangeCB", xKestDoOptsHandleTemTraceChangeCB},
    {"xKestDoOptsSetAdaKeywordsWidgetCB", xKestDoOptsSetAdaKeywordsWidgetCB},
    {"xKestDoOptsSetBackupExtsWidgetCB", xKestDoOptsSetBackupExtsWidgetCB},
    {"xKestDoOptsSetCxxKeywordsWidgetCB", xKestDoOptsSetCxxKeywordsWidgetCB},
    {"xKestDoOptsSetDsmTitleWidgetCB", xKestDoOptsSetDsmTitleWidgetCB},
    {"xKestDoOptsSetFileToolTextCB", xKestDoOptsSetFileToolTextCB},
    {"xKestDoOptsSetHTMLToolTextCB", xKestDoOptsSetHTMLToolTextCB},
    {"xKestDoOptsSetMakeBackupsWidgetCB", xKestDoOptsSetMakeBackupsWidgetCB},
    {"xKestDoOptsSetOutDirFilterCB", xKestDoOptsSetOutDirFilterCB},
    {"xKestDoOptsSetOutDirSelectDlgWidgetCB", xKestDoOptsSetOutDirSelectDlgWidgetCB},
    {"xKestDoOptsSetOutputDirCB", xKestDoOptsSetOutputDirCB},
    {"xKestDoOptsSetOutputDirWidgetCB", xKestDoOptsSetOutputDirWidgetCB},
    {"xKestDoOptsSetQuickItemsCB", xKestDoOptsSetQuickItemsCB},
    {"xKestDoOptsSetShowFilesWidgetCB", xKestDoOptsSetShowFilesWidgetCB},
    {"xKestDoOptsSetShowSummaryWidgetCB", xKestDoOptsSetShowSummaryWidgetCB},
    {"xKestDoOptsSetTemFileFilterCB", xKestDoOptsSetTemFileFilterCB},
    {"xKestDoOptsSetTemFileSelectDlgWidgetCB", xKestDoOptsSetTemFileSelectDlgWidgetCB},
    {"xKestDoOptsSetTemTraceWidgetCB", xKestDoOptsSetTemTraceWidgetCB},
    {"xKestDoOptsSetTemplateFromFSDialogCB", xKestDoOptsSetTemplateFromFSDialogCB},
    {"xKestDoOptsSetTemplatePathCB", xKestDoOptsSetTemplatePathCB},
    {"xKestDoOptsSetTemplateWidgetCB", xKestDoOptsSetTemplateWidgetCB},
    {"xKestDoOptsUpdateWidgetsCB", xKestDoOptsUpdateWidgetsCB},
    {"xKestDoSysftnsEditTemplateCB", xKestDoSysftnsEditTemplateCB},
    {"xKestDoSysftnsLaunchHTMLDocCB", xKestDoSysftnsLaunchHTMLDocCB},
};

static_assert(std::size(kCallbacks) == kXkestCallbackCount);
static_assert(std::size(kActions) == kXkestActionCount);

}  // namespace

const char* const kXkestRegisteredNames[] = {
    "xKestDoDsmPostPopupMenuACT",
    "xKestDoMsgFollowLinkACT",
    "xKestDoMsgPostPopupMenuACT",
    "xKestDoAppGracefulExitCB",
    "xKestDoAppQuitWithNoSaveCB",
    "xKestDoAppSetVerifyQuitDlgWidgetCB",
    "xKestDoDsmAppendCB",
    "xKestDoDsmCloseCB",
    "xKestDoDsmCloseWithNoSaveCB",
    "xKestDoDsmCopyCB",
    "xKestDoDsmCutCB",
    "xKestDoDsmDeleteCB",
    "xKestDoDsmDiscardAndLoadCB",
    "xKestDoDsmFindCB",
    "xKestDoDsmLoadCB",
    "xKestDoDsmNavBottomCB",
    "xKestDoDsmNavTopCB",
    "xKestDoDsmOverwriteCB",
    "xKestDoDsmPasteCB",
    "xKestDoDsmPrintCB",
    "xKestDoDsmRedoCB",
    "xKestDoDsmReloadCB",
    "xKestDoDsmReplaceCB",
    "xKestDoDsmRunCodegenCB",
    "xKestDoDsmSafeLoadCB",
    "xKestDoDsmSaveAndLoadCB",
    "xKestDoDsmSaveAsCB",
    "xKestDoDsmSaveAsReplaceCB",
    "xKestDoDsmSaveCB",
    "xKestDoDsmSetChangedDlgWidgetCB",
    "xKestDoDsmSetCursorPosWidgetCB",
    "xKestDoDsmSetOpenDlgWidgetCB",
    "xKestDoDsmSetPopMenuWidgetCB",
    "xKestDoDsmSetReplaceDlgWidgetCB",
    "xKestDoDsmSetSaveAndLoadQDlgWidgetCB",
    "xKestDoDsmSetSaveAsDlgWidgetCB",
    "xKestDoDsmSetVerifyCloseDlgWidgetCB",
    "xKestDoDsmSetWidgetCB",
    "xKestDoDsmSynchLineNumsCB",
    "xKestDoDsmUndoCB",
    "xKestDoMsgFindSelectionInDsmCB",
    "xKestDoMsgGoToSyntaxErrInDsmCB",
    "xKestDoMsgNextErrorCB",
    "xKestDoMsgOpenSelectedFileCB",
    "xKestDoMsgPreviousErrorCB",
    "xKestDoMsgSetMsgDialogWidgetCB",
    "xKestDoMsgSetPopMenuWidgetCB",
    "xKestDoMsgSetWidgetCB",
    "xKestDoOptsHandleAdaKeywordsChangeCB",
    "xKestDoOptsHandleBackupExtsChangeCB",
    "xKestDoOptsHandleCxxKeywordsChangeCB",
    "xKestDoOptsHandleFileToolChangeCB",
    "xKestDoOptsHandleHTMLToolChangeCB",
    "xKestDoOptsHandleMakeBackupsChangeCB",
    "xKestDoOptsHandleShowFilesChangeCB",
    "xKestDoOptsHandleShowSummaryChangeCB",
    "xKestDoOptsHandleTemTraceChangeCB",
    "xKestDoOptsSetAdaKeywordsWidgetCB",
    "xKestDoOptsSetBackupExtsWidgetCB",
    "xKestDoOptsSetCxxKeywordsWidgetCB",
    "xKestDoOptsSetDsmTitleWidgetCB",
    "xKestDoOptsSetFileToolTextCB",
    "xKestDoOptsSetHTMLToolTextCB",
    "xKestDoOptsSetMakeBackupsWidgetCB",
    "xKestDoOptsSetOutDirFilterCB",
    "xKestDoOptsSetOutDirSelectDlgWidgetCB",
    "xKestDoOptsSetOutputDirCB",
    "xKestDoOptsSetOutputDirWidgetCB",
    "xKestDoOptsSetQuickItemsCB",
    "xKestDoOptsSetShowFilesWidgetCB",
    "xKestDoOptsSetShowSummaryWidgetCB",
    "xKestDoOptsSetTemFileFilterCB",
    "xKestDoOptsSetTemFileSelectDlgWidgetCB",
    "xKestDoOptsSetTemTraceWidgetCB",
    "xKestDoOptsSetTemplateFromFSDialogCB",
    "xKestDoOptsSetTemplatePathCB",
    "xKestDoOptsSetTemplateWidgetCB",
    "xKestDoOptsUpdateWidgetsCB",
    "xKestDoSysftnsEditTemplateCB",
    "xKestDoSysftnsLaunchHTMLDocCB",
    nullptr,
};

void RegisterXkestNames(XtAppContext app) {
  for (const ActionEntry& a : kActions) WcRegisterAction(app, a.name, a.proc);
  for (const CallbackEntry& c : kCallbacks) WcRegisterCallback(app, c.name, c.proc, nullptr);
}
