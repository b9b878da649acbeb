// The tables of one decoding run: the 4096-byte ring window of recent output
// and the three arrays of the code tree. They are obtained at the start of
// every run and given back at its end through a replaceable allocator, so
// that a failure to obtain or to give back memory can be provoked in tests.
// Obtaining or giving back raises ElzhException; nothing here is re-entrant.
#pragma once

#include <cstddef>
#include <cstdint>

#include "lzh/code_model.h"
#include "lzh/window_format.h"
#include "platform/exception.h"

namespace lzh {

// The decoder's own failure: memory for its tables.
class ElzhException : public platform::Exception {
 public:
  using platform::Exception::Exception;
  const char* ClassName() const override { return "ElzhException"; }
};

// Where the tables come from. Get returns null when no memory is left; Free
// returns false when a block cannot be given back.
class TableMemory {
 public:
  virtual ~TableMemory() = default;
  virtual void* Get(std::size_t bytes) = 0;
  virtual bool Free(void* block) = 0;
};

// The standard allocator; its Free never fails.
TableMemory& DefaultTableMemory();
// Selects the allocator for later runs (null: the default); returns the one
// selected before.
TableMemory* SetTableMemory(TableMemory* memory);

// Selects an allocator for the lifetime of the object, then restores.
class ScopedTableMemory {
 public:
  explicit ScopedTableMemory(TableMemory& memory) : previous_(SetTableMemory(&memory)) {}
  ~ScopedTableMemory() { SetTableMemory(previous_); }
  ScopedTableMemory(const ScopedTableMemory&) = delete;
  ScopedTableMemory& operator=(const ScopedTableMemory&) = delete;

 private:
  TableMemory* previous_;
};

struct DictionaryTables {
  std::uint8_t* RingWindow = nullptr;  // WindowSize bytes
  CodeTree Tree;
};

// Obtains RingWindow, NodeWeight, NodeParent, NodeChild in that order. When
// one cannot be obtained, those already obtained are given back and
// "LZH : Cannot get memory for dictionary tables" is raised; all pointers are
// null afterwards.
void GetDictionaryTables(DictionaryTables& tables);

// Gives back NodeChild, NodeParent, NodeWeight, RingWindow in that order and
// clears the pointers. Every table is offered back even when one fails;
// then "LZH : Error freeing memory for dictionary tables" is raised.
void FreeDictionaryTables(DictionaryTables& tables);

}  // namespace lzh
