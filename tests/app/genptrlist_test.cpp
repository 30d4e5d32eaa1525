// GenPtrList: order, removal through the list and through an iterator, and
// the list's memory of what an iterator handed out.
#include <gtest/gtest.h>

#include <string>

#include "app/GenPtrList.h"

namespace {

int a, b, c, d;

// The elements in order, as letters.
std::string Walk(GenPtrList& list) {
  std::string out;
  GenPtrIterator it(&list);
  for (void* e = it.First(); e; e = it.Next())
    out += e == &a ? 'a' : e == &b ? 'b' : e == &c ? 'c' : e == &d ? 'd' : '?';
  return out;
}

GenPtrList Abc() {
  GenPtrList l;
  l.Add(&a);
  l.Add(&b);
  l.Add(&c);
  return l;
}

TEST(GenPtrList, OrderAndQueries) {
  GenPtrList l;
  EXPECT_TRUE(l.IsEmpty());
  GenPtrIterator empty(&l);
  EXPECT_EQ(empty.First(), nullptr);
  EXPECT_FALSE(empty.IsFirst());
  EXPECT_FALSE(empty.IsLast());
  l = Abc();
  GenPtrIterator it(&l);
  EXPECT_EQ(it.First(), &a);
  EXPECT_TRUE(it.IsFirst());
  EXPECT_EQ(it.Next(), &b);
  EXPECT_EQ(it.Next(), &c);
  EXPECT_TRUE(it.IsLast());
  EXPECT_EQ(it.Next(), nullptr);
  EXPECT_TRUE(l.Contains(&b));
  EXPECT_FALSE(l.Contains(&d));
  GenPtrIterator none;
  EXPECT_EQ(none.First(), nullptr);
  EXPECT_EQ(none.RemoveCurrent(), nullptr);
}

TEST(GenPtrList, Remove) {
  struct Row { const char* name; void* remove; const char* want; } rows[] = {
      {"middle", &b, "ac"}, {"first", &a, "bc"}, {"last", &c, "ab"}, {"absent", &d, "abc"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    GenPtrList l = Abc();
    l.Remove(r.remove);
    EXPECT_EQ(Walk(l), r.want);
  }
  GenPtrList dup = Abc();
  dup.Add(&a);
  dup.Remove(&a);  // only the first node holding it
  EXPECT_EQ(Walk(dup), "bca");
}

TEST(GenPtrList, RemoveWhileIterating) {
  GenPtrList l = Abc();
  l.Add(&d);
  GenPtrIterator it(&l);
  EXPECT_EQ(it.First(), &a);
  EXPECT_EQ(it.Next(), &b);
  EXPECT_EQ(it.RemoveCurrent(), &b);
  EXPECT_EQ(it.Current(), &c);  // the follower became current
  EXPECT_EQ(it.RemoveCurrent(), &c);
  EXPECT_EQ(it.Current(), &d);
  l.Remove(&d);  // what the iterator handed out: unlinked directly
  EXPECT_EQ(it.Current(), nullptr);
  EXPECT_EQ(it.RemoveCurrent(), nullptr);
  EXPECT_EQ(Walk(l), "a");
}

TEST(GenPtrList, RemoveOfNullPastTheEndKeepsTheList) {
  GenPtrList l = Abc();
  GenPtrIterator it(&l);
  for (void* e = it.First(); e; e = it.Next()) {
  }
  l.Remove(nullptr);  // the iterator stands on the sentinel
  EXPECT_EQ(Walk(l), "abc");
}

TEST(GenPtrList, ClearCopyAndAssign) {
  GenPtrList l = Abc();
  GenPtrList copy(l);
  l.Clear();
  EXPECT_TRUE(l.IsEmpty());
  GenPtrIterator it(&l);
  EXPECT_EQ(it.First(), nullptr);
  EXPECT_EQ(Walk(copy), "abc");
  l.Add(&d);
  copy = l;
  EXPECT_EQ(Walk(copy), "d");
  GenPtrList& alias = copy;
  copy = alias;
  EXPECT_EQ(Walk(copy), "d");
}

}  // namespace
