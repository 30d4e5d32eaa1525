// DsmCl: the DSM editor: the one DSM text, its file name and its two flags
// (has a file name, modified), the document operations (load, save, save
// as, close and their dialogs), the editing commands and the generator and
// printer runs. Every command takes the callback's (widget, client data,
// call data); the popup action takes the action's arguments.
//
//   theDsm.SetWidget(text, nullptr, nullptr);   // from the creation callback
//   if (theDsm.GetModified()) ...
#pragma once

#include <X11/Intrinsic.h>

#include "support/Support.h"

// The file name shown while no file is named.
inline constexpr const char* kNoDsmFile = "DSM File: None";

class DsmCl {
 public:
  DsmCl();
  DsmCl(const DsmCl& other) = default;
  DsmCl& operator=(const DsmCl& other);

  virtual DsmCl* Clone() const;
  virtual ~DsmCl();

  virtual Widget GetTextWidget() const;
  virtual void SetTextWidget(Widget w);
  virtual const Str& GetFileName() const;
  virtual void SetFileName(const Str& name);
  virtual int GetHasFileName() const;
  virtual void SetHasFileName(int flag);
  virtual int GetModified() const;
  virtual void SetModified(int flag);
  virtual Widget GetOpenDlg() const;
  virtual void SetOpenDlg(Widget w);
  virtual Widget GetPopMenu() const;
  virtual void SetPopMenu(Widget w);
  virtual Widget GetCursorPosLabel() const;
  virtual void SetCursorPosLabel(Widget w);
  virtual Widget GetSaveAndLoadQDlg() const;
  virtual void SetSaveAndLoadQDlg(Widget w);
  virtual Widget GetSaveAsDlg() const;
  virtual void SetSaveAsDlg(Widget w);
  virtual Widget GetVerifyCloseDlg() const;
  virtual void SetVerifyCloseDlg(Widget w);

  virtual void Append(Widget w, XtPointer client, XtPointer call);
  virtual void Close(Widget w, XtPointer client, XtPointer call);
  virtual void CloseWithNoSave(Widget w, XtPointer client, XtPointer call);
  virtual void Copy(Widget w, XtPointer client, XtPointer call);
  virtual void Cut(Widget w, XtPointer client, XtPointer call);
  virtual void Delete(Widget w, XtPointer client, XtPointer call);
  virtual void DiscardAndLoad(Widget w, XtPointer client, XtPointer call);
  virtual void Find(Widget w, XtPointer client, XtPointer call);
  virtual void Load(Widget w, XtPointer client, XtPointer call);
  virtual void NavBottom(Widget w, XtPointer client, XtPointer call);
  virtual void NavTop(Widget w, XtPointer client, XtPointer call);
  virtual void Paste(Widget w, XtPointer client, XtPointer call);
  virtual void Print(Widget w, XtPointer client, XtPointer call);
  virtual void Replace(Widget w, XtPointer client, XtPointer call);
  virtual void RunCodegen(Widget w, XtPointer client, XtPointer call);
  virtual void SafeLoad(Widget w, XtPointer client, XtPointer call);
  virtual void Save(Widget w, XtPointer client, XtPointer call);
  virtual void SaveAndLoad(Widget w, XtPointer client, XtPointer call);
  virtual void SaveAs(Widget w, XtPointer client, XtPointer call);
  virtual void SetCursorPosWidget(Widget w, XtPointer client, XtPointer call);
  virtual void SetOpenDlgWidget(Widget w, XtPointer client, XtPointer call);
  virtual void SetPopMenuWidget(Widget w, XtPointer client, XtPointer call);
  virtual void SetSaveAndLoadQDlgWidget(Widget w, XtPointer client, XtPointer call);
  virtual void SetSaveAsDlgWidget(Widget w, XtPointer client, XtPointer call);
  virtual void SetVerifyCloseDlgWidget(Widget w, XtPointer client, XtPointer call);
  // Stores the DSM text and adds MarkModified to its value-changed list.
  virtual void SetWidget(Widget w, XtPointer client, XtPointer call);
  virtual void SynchLineNums(Widget w, XtPointer client, XtPointer call);
  virtual void PostPopupMenu(Widget w, XEvent* event, String* params, Cardinal* numParams);

  virtual bool IsA(int classNumber) const;

 private:
  Widget textWidget_ = nullptr;
  Str fileName_;
  int hasFileName_ = 0;
  int modified_ = 0;
  Widget openDlg_ = nullptr;
  Widget popMenu_ = nullptr;
  Widget cursorPosLabel_ = nullptr;
  Widget saveAndLoadQDlg_ = nullptr;
  Widget saveAsDlg_ = nullptr;
  Widget verifyCloseDlg_ = nullptr;
};

// Value-changed callback of the DSM text: sets theDsm's modified flag.
extern "C" void MarkModified(Widget w, XtPointer client, XtPointer call);
