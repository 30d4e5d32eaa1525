// UndoLog: steps of changes, typed runs joined, the saved state tracked.
#include "support/UndoLog.h"

#include <utility>

size_t UndoLog::SizeOf(const Step& s) {
  size_t n = 0;
  for (const Change& c : s) n += c.removed.size() + c.inserted.size() + sizeof(Change);
  return n;
}

bool UndoLog::JoinTyped(const Change& change) {
  if (sealed_ || !lastTyped_ || done_.empty() || done_.back().size() != 1) return false;
  Change& last = done_.back().back();
  // A typed newline ends a run: the next line undoes on its own.
  if (!last.inserted.empty() && last.inserted.back() == '\n') return false;
  // Typing goes on after the last typed character (which may have
  // replaced a selection); Backspace rubs out the character before the
  // last one removed; Delete the one that moved into its place.
  bool typing = change.removedLen == 0 && last.pos + last.insertedLen == change.pos;
  bool backspace = change.insertedLen == 0 && last.insertedLen == 0 && change.pos + change.removedLen == last.pos;
  bool forward = change.insertedLen == 0 && last.insertedLen == 0 && change.pos == last.pos;
  if (typing) {
    last.inserted += change.inserted;
    last.insertedLen += change.insertedLen;
  } else if (backspace) {
    last.removed.insert(0, change.removed);
    last.removedLen += change.removedLen;
    last.pos = change.pos;
  } else if (forward) {
    last.removed += change.removed;
    last.removedLen += change.removedLen;
  } else {
    return false;
  }
  bytes_ += change.inserted.size() + change.removed.size();
  return true;
}

void UndoLog::Record(Change change, bool typed, unsigned long serial) {
  if (!undone_.empty()) {
    undone_.clear();
    if (saved_ > long(done_.size())) saved_ = -1;  // the saved state could only be redone
  }
  if (!(typed && JoinTyped(change))) {
    bool sameEvent = !sealed_ && !typed && !lastTyped_ && serial != 0 && serial == lastSerial_ && !done_.empty();
    if (!sameEvent) done_.emplace_back();
    bytes_ += change.inserted.size() + change.removed.size() + sizeof(Change);
    done_.back().push_back(std::move(change));
  }
  lastTyped_ = typed;
  lastSerial_ = serial;
  sealed_ = false;
  Trim();
}

void UndoLog::Trim() {
  while (done_.size() > 1 &&
         ((done_.size() > kMinSteps && bytes_ > kMinBytes) || bytes_ > kMaxBytes)) {
    bytes_ -= SizeOf(done_.front());
    done_.pop_front();
    saved_ = saved_ > 0 ? saved_ - 1 : -1;
  }
}

const UndoLog::Step* UndoLog::Undo() {
  if (done_.empty()) return nullptr;
  bytes_ -= SizeOf(done_.back());
  undone_.push_back(std::move(done_.back()));
  done_.pop_back();
  sealed_ = true;
  return &undone_.back();
}

const UndoLog::Step* UndoLog::Redo() {
  if (undone_.empty()) return nullptr;
  bytes_ += SizeOf(undone_.back());
  done_.push_back(std::move(undone_.back()));
  undone_.pop_back();
  sealed_ = true;
  return &done_.back();
}

void UndoLog::MarkSaved() {
  saved_ = long(done_.size());
  sealed_ = true;
}

void UndoLog::Clear() {
  done_.clear();
  undone_.clear();
  bytes_ = 0;
  saved_ = 0;
  sealed_ = true;
  lastTyped_ = false;
}

void UndoLog::Forget() {
  Clear();
  saved_ = -1;
}
