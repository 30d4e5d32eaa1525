// XmTextMan: manager of an XmText widget with string-level operations:
// whole text, selection, the word or line at the cursor, lines by number,
// search with wrap-around, and loading and saving a file. Operations that
// return text fill the manager's buffer and return it; the reference is
// valid until the next such operation on the same manager.
//
//   XmTextMan man(text);
//   man.SelectLineNumber(12);
//   if (man.Search("record", 1)) ...      // selects the match
//   Str& word = man.WordAtCursor();
//
// Positions are the widget's (characters in a UTF-8 locale); lines count
// from 1.
// Selections are made with time 0.
#pragma once

#include "support/Support.h"
#include "xman/XMan.h"

class XmTextMan : public XMan {
 public:
  XmTextMan() = default;
  explicit XmTextMan(Widget w) : XMan(w) {}
  XmTextMan(const XmTextMan& other) = default;
  XmTextMan& operator=(const XmTextMan& other) = default;

  XmTextMan* Clone() const override;
  ~XmTextMan() override;
  bool IsA(int classNumber) const override;

  Str& GetString();
  void SetString(const Str& text);
  void AppendString(const Str& text);   // at the end; the cursor moves there
  void PrependString(const Str& text);  // at 0; the cursor moves there
  void InsertAtCursor(const Str& text);
  Str& GetSelection();  // empty when nothing is selected
  void RemoveSelection();
  void ReplaceSelection(const Str& text);
  Str& TextBeforeCursor();
  Str& TextAfterCursor();
  Str& WordAtCursor();
  Str& LineAtCursor();
  int HasSelection();
  void SelectToStart();
  void SelectToEnd();
  void SelectWord();
  void SelectLine();
  // Lines below 1 mean line 1; past the last line: an empty selection at
  // the end.
  void SelectLineNumber(long line);
  long LineNumberOfCursor();
  void SetSelection(StrRange range);
  // Cursor to the line's first offset (toStart non-zero) or just behind its
  // last character; lines below 1 mean line 1; past the last: the end.
  void MoveToLine(long line, int toStart);
  void DeleteLine(long line);
  // Finds text from the cursor on, then from the start; 1 when found. The
  // match is selected only when select is non-zero.
  int Search(const Str& text, int select);
  // Searches for the selected text again, from the end of the selection.
  int SearchSelectionAgain();
  // 0 when the file cannot be read (the text is left alone), else 1.
  int LoadFile(const char* path);
  // 1 when written; the old file survives a failed write.
  int SaveFile(const char* path);

 private:
  long Cursor() const;
  long Last() const;
  Str buffer_;
};
