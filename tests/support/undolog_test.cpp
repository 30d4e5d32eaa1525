// The undo history: how changes join into steps, where the saved state
// lies after undo, redo and new changes, and how much history is kept.
#include <gtest/gtest.h>

#include <string>

#include "support/UndoLog.h"

namespace {

UndoLog::Change Insert(size_t pos, const std::string& text) { return {pos, "", 0, text, text.size()}; }
UndoLog::Change Remove(size_t pos, const std::string& text) { return {pos, text, text.size(), "", 0}; }

// Steps as "pos-removed+inserted|..." from the newest down, undoing each.
std::string Drain(UndoLog& log) {
  std::string out;
  while (const UndoLog::Step* s = log.Undo()) {
    for (const UndoLog::Change& c : *s) out += std::to_string(c.pos) + "-" + c.removed + "+" + c.inserted + " ";
    out += "| ";
  }
  return out;
}

TEST(UndoLog, TypedRunsAndOneEventsChangesJoinNewlinesAndSavesSplit) {
  UndoLog log;
  for (size_t i = 0; i < 3; ++i) log.Record(Insert(i, std::string(1, "ab\n"[i])), true, 10 + i);
  log.Record(Insert(3, "c"), true, 20);                   // after a typed newline: a new step
  log.Record(Remove(3, "c"), true, 21);                   // a Backspace starts a run
  log.Record(Remove(2, "\n"), true, 22);                  // and rubs on
  log.Record(Insert(0, "\n\n"), false, 30);               // a command's three inserts under one event
  log.Record(Insert(2, "X"), false, 30);
  log.Record(Insert(3, "\n"), false, 30);
  log.MarkSaved();
  log.Record(Insert(4, "y"), true, 40);                   // typed after a save: a step of its own
  EXPECT_EQ(Drain(log), "4-+y | 0-+\n\n 2-+X 3-+\n | 2-\nc+ | 3-+c | 0-+ab\n | ");
}

TEST(UndoLog, TheSavedStateIsFoundAgainOrLost) {
  UndoLog log;
  log.Record(Insert(0, "a"), false, 1);
  log.MarkSaved();
  log.Record(Insert(1, "b"), false, 2);
  EXPECT_FALSE(log.AtSaved());
  log.Undo();
  EXPECT_TRUE(log.AtSaved());
  log.Undo();
  EXPECT_FALSE(log.AtSaved());
  log.Redo();
  EXPECT_TRUE(log.AtSaved());
  log.Undo();
  log.Record(Insert(0, "z"), false, 3);  // the saved state was only redoable: gone
  EXPECT_EQ(log.Redo(), nullptr);
  log.Undo();
  EXPECT_FALSE(log.AtSaved());
  log.Clear();
  EXPECT_TRUE(log.AtSaved());
  EXPECT_EQ(log.Undo(), nullptr);
  // A history dropped for a change it missed: the saved text is out of
  // reach, so undoing later changes never claims it.
  log.Forget();
  log.Record(Insert(0, "y"), false, 4);
  log.Undo();
  EXPECT_FALSE(log.AtSaved());
}

TEST(UndoLog, ANewChangeAtTheSavedStateKeepsIt) {
  UndoLog log;
  log.Record(Insert(0, "a"), true, 1);
  log.MarkSaved();
  log.Record(Insert(1, "b"), true, 2);
  log.Undo();
  ASSERT_TRUE(log.AtSaved());
  log.Record(Insert(1, "c"), true, 3);  // only the undone "b" is dropped
  EXPECT_FALSE(log.AtSaved());
  log.Undo();
  EXPECT_TRUE(log.AtSaved());
}

TEST(UndoLog, KeepsAThousandStepsOrTenMegabytesAndForgetsTheOldest) {
  UndoLog log;
  log.MarkSaved();
  for (unsigned long i = 1; i <= 3000; ++i) log.Record(Insert(0, "x"), false, i);
  EXPECT_EQ(log.Steps(), 3000u) << "small steps are all kept below ten megabytes";
  const std::string mb(size_t(1) << 20, 'm');
  for (unsigned long i = 1; i <= 1200; ++i) log.Record(Insert(0, mb), false, 10000 + i);
  EXPECT_LE(log.Bytes(), UndoLog::kMaxBytes) << "large steps are dropped at the ceiling";
  EXPECT_GE(log.Bytes(), UndoLog::kMaxBytes - mb.size() - 64);
  for (unsigned long i = 1; i <= 1500; ++i) log.Record(Insert(0, std::string(8 << 10, 'k')), false, 20000 + i);
  EXPECT_GE(log.Steps(), UndoLog::kMinSteps);
  EXPECT_LE(log.Bytes(), UndoLog::kMinBytes + (9 << 10)) << "over a thousand steps, ten megabytes stay";
  EXPECT_GT(log.Bytes(), UndoLog::kMinBytes - (9 << 10));
  while (log.Undo()) {
  }
  EXPECT_FALSE(log.AtSaved()) << "the saved state was forgotten with the oldest steps";
}

}  // namespace
