// XManList.h: ordered lists of manager pointers and iterators that can
// remove the element they stand on, with the same contract as the
// application's generic pointer list. A list does not own its managers.
//
//   XmTextManList list;
//   list.Add(&editorMan);
//   XmTextManIterator it(&list);
//   for (XmTextMan* m = it.First(); m; m = it.Next()) m->GetString();
//
// A null element would end every walk, so Add ignores null.
#pragma once

#include <algorithm>
#include <cstddef>
#include <vector>

template <typename T>
class ManPtrIterator;

template <typename T>
class ManPtrList {
 public:
  virtual ~ManPtrList() = default;
  virtual void Add(T* element) {
    if (element) items_.push_back(element);
  }
  // Removes the first occurrence, if any.
  virtual void Remove(T* element) {
    auto it = std::find(items_.begin(), items_.end(), element);
    if (it != items_.end()) items_.erase(it);
  }
  virtual bool Contains(T* element) const {
    return std::find(items_.begin(), items_.end(), element) != items_.end();
  }
  virtual bool IsEmpty() const { return items_.empty(); }
  virtual void Clear() { items_.clear(); }

 private:
  friend class ManPtrIterator<T>;
  std::vector<T*> items_;
};

template <typename T>
class ManPtrIterator {
 public:
  ManPtrIterator() = default;  // over no list: every operation gives null
  explicit ManPtrIterator(ManPtrList<T>* list) : list_(list) {}
  virtual ~ManPtrIterator() = default;

  T* First() {
    at_ = 0;
    return Current();
  }
  // Null after the last element.
  T* Next() {
    if (list_ && at_ < list_->items_.size()) ++at_;
    return Current();
  }
  T* Current() const {
    return list_ && at_ < list_->items_.size() ? list_->items_[at_] : nullptr;
  }
  bool IsFirst() const { return list_ && !list_->items_.empty() && Current() == list_->items_.front(); }
  bool IsLast() const { return list_ && !list_->items_.empty() && Current() == list_->items_.back(); }
  // Removes the current element and returns it; the following element
  // becomes current. Null when there is no current element.
  T* RemoveCurrent() {
    T* gone = Current();
    if (gone) list_->items_.erase(list_->items_.begin() + std::ptrdiff_t(at_));
    return gone;
  }

 private:
  ManPtrList<T>* list_ = nullptr;
  size_t at_ = 0;
};

class XMan;
class XmTextMan;
class XmLabelMan;

using XManList = ManPtrList<XMan>;
using XManIterator = ManPtrIterator<XMan>;
using XmTextManList = ManPtrList<XmTextMan>;
using XmTextManIterator = ManPtrIterator<XmTextMan>;
using XmLabelManList = ManPtrList<XmLabelMan>;
using XmLabelManIterator = ManPtrIterator<XmLabelMan>;
