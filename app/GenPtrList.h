// GenPtrList.h: an ordered list of untyped pointers that does not own what
// they point to, and an iterator that can remove the element it stands on.
//
//   GenPtrList list;
//   list.Add(a); list.Add(b);
//   GenPtrIterator it(&list);
//   for (void* p = it.First(); p; ) {
//     if (Done(p)) p = (it.RemoveCurrent(), it.Current());  // next element
//     else p = it.Next();
//   }
//
// A null element ends every walk, so never add null.
#pragma once

class GenPtrIterator;

class GenPtrList {
 public:
  struct Node {
    Node* prev;
    Node* next;
    void* element;
  };

  GenPtrList();
  GenPtrList(const GenPtrList& other);
  GenPtrList& operator=(const GenPtrList& other);
  virtual ~GenPtrList();

  // Appends at the end; duplicates are allowed.
  virtual void Add(void* element);
  // Removes the first node holding element, if any.
  virtual void Remove(void* element);
  virtual bool Contains(void* element) const;
  virtual bool IsEmpty() const;
  // Removes every node; the elements are not freed.
  virtual void Clear();

 private:
  friend class GenPtrIterator;
  void Unlink(Node* node);
  void AddAll(const GenPtrList& other);

  Node* sentinel_;
  Node* current_ = nullptr;  // the node an iterator handed out last
};

class GenPtrIterator {
 public:
  GenPtrIterator() = default;  // over no list: every operation gives null
  explicit GenPtrIterator(GenPtrList* list);
  GenPtrIterator(const GenPtrIterator&) = delete;
  GenPtrIterator& operator=(const GenPtrIterator&) = delete;
  virtual ~GenPtrIterator();

  void* First();
  void* Next();  // null after the last element
  void* Current();
  bool IsFirst();
  bool IsLast();
  // Removes the current element and returns it; the following element
  // becomes current. Null when there is no current element.
  void* RemoveCurrent();

 private:
  void* Record(GenPtrList::Node* node);

  GenPtrList* list_ = nullptr;
  GenPtrList::Node* trailing_ = nullptr;  // current element is trailing_->next
};
