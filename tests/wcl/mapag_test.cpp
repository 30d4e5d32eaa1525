// The map aggregate: state changes, growth, re-tuning and removal, checked
// against a reference map with the key shapes the registries use.
#include <gtest/gtest.h>

#include <map>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "wcl/MapAg/MapAg.h"

namespace {

using Key = std::tuple<MapAg_Word, MapAg_Word, MapAg_Word>;

std::string Shape(const MapAgRec& m) {
  return "buckets=" + std::to_string(m.buckets ? m.mask + 1 : 0) +
         " maxChain=" + std::to_string(m.maxChain) +
         " count=" + std::to_string(m.count);
}

// An aligned "object address" as the registries see widget classes and
// application contexts.
MapAg_Word Ptr(int i, int align = 16) {
  return MapAg_Word(0x5555'0000'0000) + MapAg_Word(i) * align;
}

uint32_t LongestChain(const MapAgRec& m) {
  uint32_t longest = 0;
  for (uint32_t b = 0; m.buckets && b <= m.mask; ++b) {
    uint32_t n = 0;
    for (MapAg_Node* p = m.buckets[b]; p; p = p->next) ++n;
    longest = std::max(longest, n);
  }
  return longest;
}

TEST(MapAg, GrowsTo16BucketsAtTheEighthInsert) {
  MapAgRec m;
  for (int i = 1; i <= 7; ++i) MapAg_Insert(&m, Ptr(1), i, 0, 100 + i);
  EXPECT_EQ(Shape(m), "buckets=8 maxChain=1 count=7");
  EXPECT_EQ(m.ops, &MapAg_FullStaticOps);
  MapAg_Insert(&m, Ptr(1), 8, 0, 108);
  EXPECT_EQ(Shape(m), "buckets=16 maxChain=2 count=8");
  for (int i = 1; i <= 8; ++i) EXPECT_EQ(MapAg_Find(&m, Ptr(1), i, 0), 100 + i);
  MapAg_Check(&m, __FILE__, __LINE__);
  MapAg_Free(&m);
  EXPECT_EQ(m.ops, &MapAg_EmptyStaticOps);
}

TEST(MapAg, ReplacingKeepsOneEntry) {
  MapAgRec m;
  MapAg_Insert(&m, Ptr(3), 7, 0, 1);
  MapAg_Insert(&m, Ptr(3), 7, 0, 2);
  EXPECT_EQ(m.count, 1u);
  EXPECT_EQ(MapAg_Find(&m, Ptr(3), 7, 0), 2);
  MapAg_Free(&m);
}

TEST(MapAg, EmptyMapFindsNothingAndZeroKeysWork) {
  MapAgRec m;
  EXPECT_EQ(MapAg_Find(&m, 0, 0, 0), 0);
  MapAg_Remove(&m, 1, 2, 3);
  MapAg_RemoveValue(&m, 5);
  EXPECT_EQ(m.buckets, nullptr);
  MapAg_Insert(&m, 0, 0, 0, 9);
  EXPECT_EQ(MapAg_Find(&m, 0, 0, 0), 9);
  EXPECT_NE(m.buckets[0], nullptr);
  MapAg_Free(&m);
}

TEST(MapAg, KeyShiftCountsAlwaysZeroLowBits) {
  struct Row { MapAg_Word word; uint32_t shift; } rows[] = {
      {0, 0}, {1, 0}, {7, 0}, {2, 1}, {12, 2}, {0x1000, 12}, {-16, 4},
      {MapAg_Word(1) << 40, 40}, {MapAg_Word(uintptr_t(1) << 63), 0}};
  for (const Row& r : rows) {
    SCOPED_TRACE(r.word);
    EXPECT_EQ(MapAg_KeyShift(r.word), r.shift);
  }
}

TEST(MapAg, LastRemovalReturnsToEmptyAndStartsAfresh) {
  MapAgRec m;
  MapAg_Insert(&m, Ptr(1, 64), 2, 0, 1);
  EXPECT_EQ(m.shift1, 6u);
  for (int i = 0; i < 20; ++i) MapAg_Insert(&m, Ptr(i + 2), i, 0, 1);
  MapAg_Remove(&m, Ptr(1, 64), 2, 0);
  for (int i = 0; i < 20; ++i) MapAg_Remove(&m, Ptr(i + 2), i, 0);
  EXPECT_EQ(m.ops, &MapAg_EmptyStaticOps);
  EXPECT_EQ(Shape(m), "buckets=0 maxChain=0 count=0");
  EXPECT_EQ(m.mask | m.shift1 | m.shift2 | m.shift3, 0u);
  MapAg_Check(&m, __FILE__, __LINE__);

  MapAg_Insert(&m, 8, 3, 0, 5);
  EXPECT_EQ(Shape(m), "buckets=8 maxChain=1 count=1");
  EXPECT_EQ(m.shift1, 3u);
  EXPECT_EQ(m.shift2, 0u);
  MapAg_Free(&m);
}

TEST(MapAg, RemoveValueAcrossBuckets) {
  MapAgRec m;
  for (int i = 0; i < 40; ++i) MapAg_Insert(&m, Ptr(i), i, 0, i % 3 == 0 ? 7 : 8);
  MapAg_RemoveValue(&m, 7);
  EXPECT_EQ(m.count, 26u);
  for (int i = 0; i < 40; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(MapAg_Find(&m, Ptr(i), i, 0), i % 3 == 0 ? 0 : 8);
  }
  MapAg_RemoveValue(&m, 8);
  EXPECT_EQ(m.ops, &MapAg_EmptyStaticOps);
  MapAg_Check(&m, __FILE__, __LINE__);
}

TEST(MapAg, DynamicMapLifecycle) {
  MapAg m = MapAg_New();
  EXPECT_EQ(m->ops, &MapAg_EmptyDynamicOps);
  MapAg_Insert(m, 4, 4, 4, 1);
  EXPECT_EQ(m->ops, &MapAg_FullDynamicOps);
  MapAg_Remove(m, 4, 4, 4);
  EXPECT_EQ(m->ops, &MapAg_EmptyDynamicOps);
  for (int i = 0; i < 100; ++i) MapAg_Insert(m, Ptr(i), 0, 0, i + 1);
  MapAg_Free(m);  // releases nodes, buckets and record (checked by ASan runs)
}

TEST(MapAgDeathTest, CheckAbortsOnInconsistentRecord) {
  MapAgRec m;
  m.count = 3;  // empty state with a count
  EXPECT_DEATH(MapAg_Check(&m, "where.c", 42),
               "Assertion failed: file \"where.c\", line 42");
}

// Random operations on the registries' key shapes, compared with std::map;
// every entry must stay findable across growth and re-tuning.
TEST(MapAg, AgreesWithReferenceMap) {
  struct Shape { const char* name; int align; int quarks; bool third; } shapes[] = {
      {"class registry: pointer, 0, 0", 64, 1, false},
      {"callbacks: app, quark, 0", 16, 5000, false},
      {"attached objects: widget, quark, quark", 8, 40, true},
      {"page-aligned pointers", 4096, 3, false},
  };
  for (const Shape& s : shapes) {
    SCOPED_TRACE(s.name);
    std::mt19937 rng(12345);
    MapAgRec m;
    std::map<Key, MapAg_Word> ref;
    for (int step = 0; step < 6000; ++step) {
      Key k{Ptr(int(rng() % 300), s.align), MapAg_Word(rng() % s.quarks) * 2,
            s.third ? MapAg_Word(rng() % 7) : 0};
      auto [k1, k2, k3] = k;
      switch (rng() % 4) {
        case 0:
        case 1: {
          MapAg_Word v = MapAg_Word(rng() % 5 + 1);
          MapAg_Insert(&m, k1, k2, k3, v);
          ref[k] = v;
          break;
        }
        case 2:
          MapAg_Remove(&m, k1, k2, k3);
          ref.erase(k);
          break;
        default:
          if (step % 97 == 0) {
            MapAg_Word v = MapAg_Word(rng() % 5 + 1);
            MapAg_RemoveValue(&m, v);
            std::erase_if(ref, [v](auto& e) { return e.second == v; });
          }
      }
      ASSERT_EQ(m.count, ref.size()) << "step " << step;
      if (!ref.empty()) MapAg_Check(&m, __FILE__, __LINE__);
    }
    for (auto& [k, v] : ref) {
      auto [k1, k2, k3] = k;
      ASSERT_EQ(MapAg_Find(&m, k1, k2, k3), v);
    }
    EXPECT_LE(m.count, m.mask);
    MapAg_Free(&m);
  }
}

// Widgets as the heap leaves them: Motif instance sizes with small blocks
// between them, each with its class quark and every third with a second
// object; the first widget is page-aligned.
std::vector<Key> HeapWidgets(unsigned seed, int n) {
  static const int sizes[] = {240, 304, 368, 432, 512, 640, 880};
  std::mt19937 rng(seed);
  std::vector<Key> keys;
  MapAg_Word addr = 0x5555'0000'1000;
  for (int w = 0; int(keys.size()) < n; ++w) {
    keys.push_back({addr, MapAg_Word(300 + rng() % 15), 0});
    if (w % 3 == 0) keys.push_back({addr, MapAg_Word(400 + w % 15), 0});
    addr += sizes[rng() % 7] + 16 + 16 * MapAg_Word(1 + rng() % 3);
  }
  return keys;
}

// The first key sets the shifts; when its low zero bits are not shared by
// the keys that follow, runs of keys used to pile into one chain and, with
// the tolerated length doubling at every growth, stayed there.
TEST(MapAg, AwkwardFirstKeysStillGiveShortChains) {
  struct Case {
    std::string name;
    std::vector<Key> keys;  // in insertion order
    uint32_t longest;       // allowed longest chain
  };
  std::vector<Case> cases;
  for (unsigned seed = 1; seed <= 10; ++seed)
    cases.push_back({"page-aligned first widget, seed " + std::to_string(seed),
                     HeapWidgets(seed, 5000), 8});
  Case quarks{"quark 104 first, then sequential quarks", {}, 1};
  Case high{"keys that differ only high", {{16, 0, 0}}, 2};
  for (int i = 0; i < 5000; ++i) quarks.keys.push_back({Ptr(1), 104 + i, 0});
  for (int i = 1; i < 5000; ++i) high.keys.push_back({MapAg_Word(i) << 20, 0, 0});
  cases.push_back(quarks);
  cases.push_back(high);

  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    MapAgRec m;
    for (size_t i = 0; i < c.keys.size(); ++i) {
      auto [k1, k2, k3] = c.keys[i];
      MapAg_Insert(&m, k1, k2, k3, MapAg_Word(i + 1));
    }
    EXPECT_LE(LongestChain(m), c.longest);
    for (size_t i = 0; i < c.keys.size(); ++i) {
      auto [k1, k2, k3] = c.keys[i];
      ASSERT_EQ(MapAg_Find(&m, k1, k2, k3), MapAg_Word(i + 1));
    }
    MapAg_Check(&m, __FILE__, __LINE__);
    MapAg_Free(&m);
  }
}

// Found by fuzzing: growing an empty map gave it buckets while it stayed
// empty, so the consistency check failed and the first insert leaked them.
TEST(MapAg, GrowingAnEmptyMapChangesNothing) {
  MapAgRec m;
  MapAg_Grow(&m);
  MapAg_Check(&m, __FILE__, __LINE__);
  EXPECT_EQ(m.buckets, nullptr);
  MapAg_Insert(&m, Ptr(1), 1, 0, 5);
  EXPECT_EQ(Shape(m), "buckets=8 maxChain=1 count=1");
  MapAg_Free(&m);

  MapAg d = MapAg_New();
  MapAg_Grow(d);
  MapAg_Check(d, __FILE__, __LINE__);
  MapAg_Free(d);
}

}  // namespace
