// UndoLog.h: the undo and redo history of one text, fed with every change
// as the text reports it (position, what was removed, what was inserted).
// Changes made while one input event is handled form one step (a command
// that inserts three pieces undoes at once); typed characters that follow
// each other form one step (a word typed undoes at once), and so do runs of
// backspaces. The log knows which step the file was saved at, so undoing
// back to it can say that the text is unmodified again.
//
//   UndoLog log;
//   log.Record({pos, removed, removedLen, inserted, insertedLen}, typed, serial);
//   if (const UndoLog::Step* s = log.Undo())
//     for (auto c = s->rbegin(); c != s->rend(); ++c) replace(c->pos, c->insertedLen, c->removed);
//   modified = !log.AtSaved();
//
// Positions and lengths are the text's own units (characters); the texts
// are the bytes the text widget handed over.
#pragma once

#include <cstddef>
#include <deque>
#include <string>
#include <vector>

class UndoLog {
 public:
  struct Change {
    size_t pos = 0;
    std::string removed;
    size_t removedLen = 0;
    std::string inserted;
    size_t insertedLen = 0;
  };
  using Step = std::vector<Change>;

  // History kept: the last kMinSteps steps at least, and beyond them at
  // least kMinBytes of text; never more than kMaxBytes unless the newest
  // step alone is larger.
  static constexpr size_t kMinSteps = 1000;
  static constexpr size_t kMinBytes = size_t(10) << 20;
  static constexpr size_t kMaxBytes = size_t(100) << 20;

  // A change made by editing (not by Undo or Redo). typed: one character
  // typed or rubbed out at the keyboard. serial: the input event being
  // handled; changes under one event join one step. Forgets what could be
  // redone.
  void Record(Change change, bool typed, unsigned long serial);

  // The step to take back (apply its changes last first, each replacing
  // insertedLen units at pos by removed), or null when there is none.
  const Step* Undo();
  // The step to make again (apply first to last, each replacing removedLen
  // units at pos by inserted), or null.
  const Step* Redo();

  // The text now is what its file holds; the next change starts a step.
  void MarkSaved();
  // Undo and Redo have brought the text back to what was saved.
  bool AtSaved() const { return saved_ == long(done_.size()); }
  // A new text (loaded or closed): no history, and it is the saved state.
  void Clear();
  // The text changed in a way the history did not see: no history, and
  // no undo can reach the saved state any more.
  void Forget();

  size_t Steps() const { return done_.size(); }
  size_t Bytes() const { return bytes_; }

 private:
  static size_t SizeOf(const Step& s);
  // Joins change into the last step when it continues a typed run there.
  bool JoinTyped(const Change& change);
  void Trim();

  std::deque<Step> done_;
  std::vector<Step> undone_;  // the last undone at the back
  size_t bytes_ = 0;          // text held by done_
  long saved_ = 0;            // done_.size() at the saved state; -1 when lost
  bool lastTyped_ = false;
  bool sealed_ = true;  // the next change starts a step
  unsigned long lastSerial_ = 0;
};
