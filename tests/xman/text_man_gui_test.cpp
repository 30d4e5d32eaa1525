// The text and label managers on real Motif widgets, and their lists.
#include <gtest/gtest.h>

#include <Xm/Xm.h>
#include <Xm/Label.h>
#include <Xm/Text.h>

#include <string>

#include <unistd.h>

#include "common/MotifText.h"
#include "common/TempDir.h"
#include "common/XFixture.h"
#include "xman/XManList.h"
#include "xman/XmLabelMan.h"
#include "xman/XmTextMirror.h"
#include "xman/XmTextMan.h"

namespace {

using xk::test::NewText;
using xk::test::Sel;

std::string S(const Str& s) { return s.c_str(); }

TEST(XmTextMan, CursorRelativeTexts) {
  Widget w = NewText("ab cd\nef gh\nij");
  XmTextMan man(w);
  struct Case {
    XmTextPosition cursor;
    const char* before;
    const char* after;
    const char* word;
    const char* line;
    long lineNo;
  };
  const Case cases[] = {
      {0, "", "ab cd\nef gh\nij", "ab", "ab cd", 1},
      {4, "ab c", "d\nef gh\nij", "cd", "ab cd", 1},
      {7, "ab cd\ne", "f gh\nij", "ef", "ef gh", 2},
      {14, "ab cd\nef gh\nij", "", "ij", "ij", 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.cursor);
    XmTextSetInsertionPosition(w, c.cursor);
    EXPECT_EQ(S(man.TextBeforeCursor()), c.before);
    EXPECT_EQ(S(man.TextAfterCursor()), c.after);
    EXPECT_EQ(S(man.WordAtCursor()), c.word);
    EXPECT_EQ(S(man.LineAtCursor()), c.line);
    EXPECT_EQ(man.LineNumberOfCursor(), c.lineNo);
  }
  XmTextSetString(w, const_cast<char*>("a\nb\nc"));
  XmTextSetInsertionPosition(w, 4);
  EXPECT_EQ(man.LineNumberOfCursor(), 3);
}

TEST(XmTextMan, Selections) {
  Widget w = NewText("one\ntwo\nthree");
  XmTextMan man(w);
  EXPECT_EQ(man.HasSelection(), 0);
  EXPECT_EQ(S(man.GetSelection()), "");
  XmTextSetInsertionPosition(w, 0);
  man.SelectToEnd();
  EXPECT_EQ(Sel(w), "0-13");
  EXPECT_EQ(man.HasSelection(), 1);
  XmTextSetInsertionPosition(w, 5);
  man.SelectToStart();
  EXPECT_EQ(Sel(w), "0-5");
  XmTextSetInsertionPosition(w, 5);
  man.SelectLine();
  EXPECT_EQ(Sel(w), "4-7");
  // A line past the last is the last, as counting newlines finds it.
  const std::pair<long, const char*> lines[] = {{1, "0-3"}, {3, "8-13"}, {0, "0-3"}, {4, "8-13"}, {9, "8-13"}};
  for (const auto& [line, sel] : lines) {
    SCOPED_TRACE(line);
    man.SelectLineNumber(line);
    EXPECT_EQ(Sel(w), sel);
  }
  man.MoveToLine(2, 1);
  EXPECT_EQ(XmTextGetInsertionPosition(w), 4);
  man.MoveToLine(2, 0);
  EXPECT_EQ(XmTextGetInsertionPosition(w), 7);
  man.MoveToLine(4, 1);
  EXPECT_EQ(XmTextGetInsertionPosition(w), 8);
  man.DeleteLine(4);
  EXPECT_EQ(S(man.GetString()), "one\ntwo\n");
  man.SelectLineNumber(4);
  EXPECT_EQ(Sel(w), "none@8") << "after the last newline, the last line is the empty one";
  man.SetString("one\ntwo\nthree");
  man.DeleteLine(2);
  EXPECT_EQ(S(man.GetString()), "one\n\nthree");
  man.SetSelection(StrRange{0, 3});
  man.ReplaceSelection("ONE");
  EXPECT_EQ(S(man.GetString()), "ONE\n\nthree");
}

TEST(XmTextMan, InsertionsAndSearch) {
  Widget w = NewText("mid");
  XmTextMan man(w);
  man.AppendString(" end");
  man.PrependString("start ");
  EXPECT_EQ(S(man.GetString()), "start mid end");
  XmTextSetInsertionPosition(w, 8);
  EXPECT_EQ(man.Search("mid", 0), 1);
  EXPECT_EQ(Sel(w), "none@8") << "found but not selected";
  EXPECT_EQ(man.Search("mid", 1), 1);
  EXPECT_EQ(Sel(w), "6-9") << "wrapped to the only match";
  EXPECT_EQ(man.Search("MID", 1), 0);
  EXPECT_EQ(Sel(w), "6-9");
  man.SetString("ab ab ab");
  man.SetSelection(StrRange{0, 2});
  EXPECT_EQ(man.SearchSelectionAgain(), 1);
  EXPECT_EQ(Sel(w), "3-5") << "the next match, not the one after";
  EXPECT_EQ(man.SearchSelectionAgain(), 1);
  EXPECT_EQ(man.SearchSelectionAgain(), 1);
  EXPECT_EQ(Sel(w), "0-2") << "wrapped";
}

TEST(XmTextMan, FilesAndClassNumbers) {
  xk::test::TempDir dir("xmtextman");
  Widget w = NewText("keep");
  XmTextMan man(w);
  EXPECT_EQ(man.LoadFile(dir.At("missing").c_str()), 0);
  EXPECT_EQ(S(man.GetString()), "keep");
  EXPECT_EQ(man.SaveFile(dir.At("out").c_str()), 1);
  EXPECT_EQ(xk::test::Slurp(dir.At("out")), "keep");
  EXPECT_EQ(man.SaveFile(dir.At("no/such/file").c_str()), 0);
  EXPECT_EQ(man.LoadFile(dir.Write("in", "loaded\n").c_str()), 1);
  EXPECT_EQ(S(man.GetString()), "loaded\n");

  XmLabelMan label(XmCreateLabel(xk::test::TopLevel(), const_cast<char*>("l"), nullptr, 0));
  EXPECT_EQ(S(label.GetString()), "not implemented");
  EXPECT_NE(S(label.SetString("x")).find("not implemented"), std::string::npos);
  const std::tuple<XMan*, bool, bool, bool> classes[] = {
      {new XMan(w), true, false, false},
      {man.Clone(), true, true, false},
      {label.Clone(), true, false, true},
  };
  for (const auto& [m, base, text, lab] : classes) {
    EXPECT_EQ(m->IsA(kXManClass), base);
    EXPECT_EQ(m->IsA(kXmTextManClass), text);
    EXPECT_EQ(m->IsA(kXmLabelManClass), lab);
    delete m;
  }
}

TEST(XmTextMirror, AnEditAnotherCallbackRefusesStaysOutOfTheCopy) {
  Widget w = NewText("abc");
  XmTextMirror mirror;
  mirror.Attach(w);
  XtAddCallback(w, XmNmodifyVerifyCallback,
                [](Widget, XtPointer, XtPointer call) {
                  auto* cbs = static_cast<XmTextVerifyCallbackStruct*>(call);
                  if (cbs->text && cbs->text->ptr && cbs->text->ptr[0] == 'X') cbs->doit = False;
                },
                nullptr);
  mirror.VerifyLast();
  // A refused replace of the same length: no length check would resync it.
  XmTextReplace(w, 1, 2, const_cast<char*>("X"));
  XmTextReplace(w, 3, 3, const_cast<char*>("d"));
  EXPECT_EQ(XmTextMirror::ReadWidget(w), "abcd");
  EXPECT_EQ(mirror.Text().Bytes(), "abcd");
}

TEST(XManList, IterateAndRemoveWhileWalking) {
  XmTextMan a, b, c;
  XmTextManList list;
  EXPECT_TRUE(list.IsEmpty());
  list.Add(&a);
  list.Add(&b);
  list.Add(nullptr);
  list.Add(&c);
  XmTextManIterator it(&list);
  EXPECT_EQ(it.First(), &a);
  EXPECT_TRUE(it.IsFirst());
  EXPECT_EQ(it.Next(), &b);
  EXPECT_EQ(it.RemoveCurrent(), &b);
  EXPECT_EQ(it.Current(), &c);
  EXPECT_TRUE(it.IsLast());
  EXPECT_EQ(it.Next(), nullptr);
  list.Remove(&a);
  EXPECT_FALSE(list.Contains(&a));
  EXPECT_TRUE(list.Contains(&c));
  list.Clear();
  EXPECT_TRUE(list.IsEmpty());
  XManIterator none;
  EXPECT_EQ(none.First(), nullptr);
}

}  // namespace
