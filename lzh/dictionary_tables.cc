// Obtaining and giving back the tables of a decoding run.
#include "lzh/dictionary_tables.h"

#include <cstdlib>

namespace lzh {

namespace {

class StandardTableMemory final : public TableMemory {
 public:
  void* Get(std::size_t bytes) override { return std::malloc(bytes); }
  bool Free(void* block) override {
    std::free(block);
    return true;
  }
};

TableMemory* selected_memory = nullptr;

TableMemory& Memory() {
  return selected_memory != nullptr ? *selected_memory : DefaultTableMemory();
}

// Gives back one table if it is held; false when that fails.
bool GiveBack(TableMemory& memory, void*& block) {
  if (block == nullptr) return true;
  const bool freed = memory.Free(block);
  block = nullptr;
  return freed;
}

template <class T>
bool GiveBackTyped(TableMemory& memory, T*& table) {
  void* block = table;
  const bool freed = GiveBack(memory, block);
  table = nullptr;
  return freed;
}

// Gives back whatever is held, last obtained first; false if any failed.
bool GiveBackAll(TableMemory& memory, DictionaryTables& tables) {
  bool freed = GiveBackTyped(memory, tables.Tree.NodeChild);
  freed = GiveBackTyped(memory, tables.Tree.NodeParent) && freed;
  freed = GiveBackTyped(memory, tables.Tree.NodeWeight) && freed;
  freed = GiveBackTyped(memory, tables.RingWindow) && freed;
  return freed;
}

}  // namespace

TableMemory& DefaultTableMemory() {
  static StandardTableMemory memory;
  return memory;
}

TableMemory* SetTableMemory(TableMemory* memory) {
  TableMemory* const previous = selected_memory;
  selected_memory = memory;
  return previous;
}

void GetDictionaryTables(DictionaryTables& tables) {
  TableMemory& memory = Memory();
  tables = DictionaryTables{};
  tables.RingWindow = static_cast<std::uint8_t*>(memory.Get(lzss::WindowSize));
  if (tables.RingWindow != nullptr) {
    tables.Tree.NodeWeight = static_cast<std::uint16_t*>(
        memory.Get(NodeWeightEntries * sizeof(std::uint16_t)));
  }
  if (tables.Tree.NodeWeight != nullptr) {
    tables.Tree.NodeParent = static_cast<std::int16_t*>(
        memory.Get(NodeParentEntries * sizeof(std::int16_t)));
  }
  if (tables.Tree.NodeParent != nullptr) {
    tables.Tree.NodeChild = static_cast<std::int16_t*>(
        memory.Get(NodeChildEntries * sizeof(std::int16_t)));
  }
  if (tables.Tree.NodeChild == nullptr) {
    // The failure to obtain memory is what the caller hears about, even if
    // giving back the part obtained fails as well.
    GiveBackAll(memory, tables);
    throw ElzhException("LZH : Cannot get memory for dictionary tables");
  }
}

void FreeDictionaryTables(DictionaryTables& tables) {
  if (!GiveBackAll(Memory(), tables)) {
    throw ElzhException("LZH : Error freeing memory for dictionary tables");
  }
}

}  // namespace lzh
