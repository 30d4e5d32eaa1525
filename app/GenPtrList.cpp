// GenPtrList.cpp: the circular list through a sentinel node and its
// iterator.
#include "app/GenPtrList.h"

GenPtrList::GenPtrList() : sentinel_(new Node{nullptr, nullptr, nullptr}) {
  sentinel_->prev = sentinel_->next = sentinel_;
}

GenPtrList::GenPtrList(const GenPtrList& other) : GenPtrList() { AddAll(other); }

GenPtrList& GenPtrList::operator=(const GenPtrList& other) {
  if (this == &other) return *this;
  Clear();
  AddAll(other);
  return *this;
}

// Copies and assignments share this: the elements are all a list holds; an
// iterator's place is not copied.
void GenPtrList::AddAll(const GenPtrList& other) {
  for (Node* n = other.sentinel_->next; n != other.sentinel_ && n->element; n = n->next)
    Add(n->element);
}

GenPtrList::~GenPtrList() {
  Clear();
  delete sentinel_;
}

void GenPtrList::Add(void* element) {
  Node* last = sentinel_->prev;
  Node* node = new Node{last, sentinel_, element};
  last->next = node;
  sentinel_->prev = node;
}

void GenPtrList::Unlink(Node* node) {
  node->prev->next = node->next;
  node->next->prev = node->prev;
  delete node;
  current_ = nullptr;
}

void GenPtrList::Remove(void* element) {
  // Removing what an iterator just handed out needs no search. The sentinel
  // is never removed, even when an iterator stands past the end.
  if (current_ && current_ != sentinel_ && current_->element == element) {
    Unlink(current_);
    return;
  }
  GenPtrIterator it(this);
  for (void* e = it.First(); e; e = it.Next()) {
    if (e == element) {
      it.RemoveCurrent();
      return;
    }
  }
}

bool GenPtrList::Contains(void* element) const {
  for (Node* n = sentinel_->next; n != sentinel_; n = n->next)
    if (n->element == element) return true;
  return false;
}

bool GenPtrList::IsEmpty() const { return sentinel_->next == sentinel_; }

void GenPtrList::Clear() {
  GenPtrIterator it(this);
  while (it.RemoveCurrent()) {
  }
}

GenPtrIterator::GenPtrIterator(GenPtrList* list) : list_(list) {
  if (!list_) return;
  trailing_ = list_->sentinel_;
  list_->current_ = nullptr;
}

GenPtrIterator::~GenPtrIterator() {
  if (list_) list_->current_ = nullptr;
}

void* GenPtrIterator::Record(GenPtrList::Node* node) {
  list_->current_ = node;
  return node->element;
}

void* GenPtrIterator::First() {
  if (!list_) return nullptr;
  trailing_ = list_->sentinel_;
  return Record(trailing_->next);
}

void* GenPtrIterator::Next() {
  if (!list_) return nullptr;
  trailing_ = trailing_->next;
  return Record(trailing_->next);
}

void* GenPtrIterator::Current() {
  if (!list_) return nullptr;
  return Record(trailing_->next);
}

// An empty list has no first or last element (its sentinel's null element
// must not compare equal to the null that Current gives).
bool GenPtrIterator::IsFirst() {
  if (!list_ || list_->IsEmpty()) return false;
  return Current() == list_->sentinel_->next->element;
}

bool GenPtrIterator::IsLast() {
  if (!list_ || list_->IsEmpty()) return false;
  return Current() == list_->sentinel_->prev->element;
}

void* GenPtrIterator::RemoveCurrent() {
  if (!list_ || !trailing_ || trailing_->next == list_->sentinel_) return nullptr;
  void* element = trailing_->next->element;
  list_->Unlink(trailing_->next);
  return element;
}
