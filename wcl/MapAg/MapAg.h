// MapAg.h: the map aggregate, the one associative store of the widget
// creation layer. A key of three machine words maps to one machine word.
//
//   static MapAgRec registry;                 // starts empty, static state
//   MapAg_Insert(&registry, (intptr_t)app, quark, 0, (intptr_t)proc);
//   auto proc = (MyProc)MapAg_Find(&registry, (intptr_t)app, quark, 0);
//
// A value of 0 cannot be told from a missing entry, so never store 0.
// A map is a record whose first field selects its state (EmptyStatic,
// FullStatic, EmptyDynamic, FullDynamic); static records live in static
// storage and stay valid when emptied, dynamic ones come from MapAg_New and
// are released by MapAg_Free. Allocation failure aborts the process.
#pragma once

#include <cstdint>

using MapAg_Word = intptr_t;  // keys and values: pointers, quarks, integers

struct MapAg_Node {
  MapAg_Word key1, key2, key3;
  MapAg_Word value;
  MapAg_Node* next;
};

struct MapAgRec;
using MapAg = MapAgRec*;

// One operations table per state, in this slot order.
struct MapAg_Ops {
  void (*flip)(MapAg);  // empty <-> full transition
  void (*insert)(MapAg, MapAg_Word, MapAg_Word, MapAg_Word, MapAg_Word);
  MapAg_Word (*find)(MapAg, MapAg_Word, MapAg_Word, MapAg_Word);
  void (*remove)(MapAg, MapAg_Word, MapAg_Word, MapAg_Word);
  void (*removeValue)(MapAg, MapAg_Word);
  void (*grow)(MapAg);  // first bucket array, or doubling
  void (*free)(MapAg);
};

extern const MapAg_Ops MapAg_EmptyStaticOps;
extern const MapAg_Ops MapAg_FullStaticOps;
extern const MapAg_Ops MapAg_EmptyDynamicOps;
extern const MapAg_Ops MapAg_FullDynamicOps;

// The record. A default-constructed (or zero-plus-ops) record is an empty
// static map, so `static MapAgRec m;` is ready to use without start-up code.
struct MapAgRec {
  const MapAg_Ops* ops = &MapAg_EmptyStaticOps;
  MapAg_Node** buckets = nullptr;  // null while empty
  uint32_t mask = 0;               // bucket count - 1 (a power of two - 1)
  uint32_t maxChain = 0;           // caps the chain length that triggers re-tuning
  uint32_t count = 0;              // entries
  uint32_t shift1 = 0, shift2 = 0, shift3 = 0;  // per-key-word right shifts
  uint32_t retuneWait = 0;         // new entries before re-tuning is tried again
};

// Adds the entry, or replaces the value of the entry with the same keys.
// The table doubles when it holds bucket count - 1 entries; a key joining a
// chain of min(maxChain, 4) first has the shifts re-tuned (then no attempt
// again for count / 4 new entries, so inserts stay amortised cheap).
void MapAg_Insert(MapAg map, MapAg_Word k1, MapAg_Word k2, MapAg_Word k3,
                  MapAg_Word value);
// The value stored under the keys, or 0 when absent.
MapAg_Word MapAg_Find(MapAg map, MapAg_Word k1, MapAg_Word k2, MapAg_Word k3);
// Removes the entry with these keys if present.
void MapAg_Remove(MapAg map, MapAg_Word k1, MapAg_Word k2, MapAg_Word k3);
// Removes every entry whose value equals value.
void MapAg_RemoveValue(MapAg map, MapAg_Word value);
// A new, empty dynamic map.
MapAg MapAg_New();
// Static map: emptied, the record stays. Dynamic map: released entirely.
void MapAg_Free(MapAg map);
// Doubles the bucket count (and maxChain) of a full map; an empty map is
// left alone.
void MapAg_Grow(MapAg map);
// Checks the record's consistency; on failure prints an assertion message
// naming file and line on standard error and aborts.
void MapAg_Check(MapAg map, const char* file, int line);

// The right shift for one key word: the number of always-zero low bits of
// an even word, 0 for 0 and odd words.
uint32_t MapAg_KeyShift(MapAg_Word word);
