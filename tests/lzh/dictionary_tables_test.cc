// The decoder's tables: the order in which they are obtained and given back,
// and both memory failures, alone and together with a failing read or write.
#include "lzh/dictionary_tables.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <vector>

#include "lzh/lzh_unpack.h"
#include "tests/lzh/byte_procs.h"

namespace {

using lzh_test::Procs;
using lzh_test::ResetProcs;

// Sizes of the four tables as they are obtained: window, weights, parents,
// children.
const std::vector<std::size_t> kSizes = {4096, 628 * 2, 941 * 2, 627 * 2};

// Records every request; fails the chosen Get or Free (1-based, 0 = none).
class RecordingMemory : public lzh::TableMemory {
 public:
  int fail_get = 0;
  int fail_free = 0;
  std::vector<std::size_t> got;    // sizes, in order
  std::vector<std::size_t> freed;  // sizes, in order
  std::map<void*, std::size_t> held;

  void* Get(std::size_t bytes) override {
    got.push_back(bytes);
    if (static_cast<int>(got.size()) == fail_get) return nullptr;
    void* block = std::malloc(bytes);
    held[block] = bytes;
    return block;
  }
  bool Free(void* block) override {
    freed.push_back(held.at(block));
    held.erase(block);
    std::free(block);  // given back even when reported as failed
    return static_cast<int>(freed.size()) != fail_free;
  }
};

const std::vector<std::uint8_t> kThreeLiterals = {0xf6, 0xfb, 0xbd, 0xe0};

void Decode(std::int32_t count) { lzh::LzhUnpack(count, lzh_test::ReadByte, lzh_test::WriteByte); }

TEST(DictionaryTables, ObtainedAndGivenBackInOrder) {
  for (std::int32_t count : {3, 0, -5}) {
    RecordingMemory memory;
    lzh::ScopedTableMemory use(memory);
    ResetProcs(kThreeLiterals);
    Decode(count);
    EXPECT_EQ(memory.got, kSizes);
    EXPECT_EQ(memory.freed, std::vector<std::size_t>(kSizes.rbegin(), kSizes.rend()));
    EXPECT_TRUE(memory.held.empty());
  }
}

TEST(DictionaryTables, CannotGetMemory) {
  for (int failing = 1; failing <= 4; ++failing) {
    SCOPED_TRACE(failing);
    RecordingMemory memory;
    memory.fail_get = failing;
    lzh::ScopedTableMemory use(memory);
    ResetProcs(kThreeLiterals);
    try {
      Decode(3);
      FAIL() << "no failure raised";
    } catch (const lzh::ElzhException& e) {
      EXPECT_EQ(e.Message(), "LZH : Cannot get memory for dictionary tables");
      EXPECT_STREQ(e.ClassName(), "ElzhException");
    }
    EXPECT_EQ(Procs().read_calls, 0);
    EXPECT_EQ(Procs().write_calls, 0);
    EXPECT_EQ(memory.got.size(), static_cast<std::size_t>(failing));
    // Whatever was obtained before the failing table is given back at once.
    EXPECT_EQ(memory.freed.size(), static_cast<std::size_t>(failing - 1));
    EXPECT_TRUE(memory.held.empty());
  }
}

TEST(DictionaryTables, ErrorFreeingAfterACompleteRun) {
  for (int failing = 1; failing <= 4; ++failing) {
    SCOPED_TRACE(failing);
    RecordingMemory memory;
    memory.fail_free = failing;
    lzh::ScopedTableMemory use(memory);
    ResetProcs(kThreeLiterals);
    try {
      Decode(3);
      FAIL() << "no failure raised";
    } catch (const lzh::ElzhException& e) {
      EXPECT_EQ(e.Message(), "LZH : Error freeing memory for dictionary tables");
    }
    EXPECT_EQ(Procs().output, (std::vector<std::uint8_t>{0x61, 0x62, 0x63}));
    // The tables after the failing one are still offered back.
    EXPECT_EQ(memory.freed.size(), 4u);
    EXPECT_TRUE(memory.held.empty());
  }
}

TEST(DictionaryTables, GivenBackWhenReadOrWriteRaises) {
  struct Case {
    int read_call, write_call, fail_free;
    bool expect_elzh;
  };
  const Case cases[] = {
      {1, 0, 0, false}, {5, 0, 0, false}, {0, 1, 0, false}, {0, 2, 0, false},
      // A failure in giving the tables back is reported in place of the
      // read or write failure.
      {2, 0, 4, true}, {0, 3, 1, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "read " << c.read_call << " write " << c.write_call
                                    << " free " << c.fail_free);
    RecordingMemory memory;
    memory.fail_free = c.fail_free;
    lzh::ScopedTableMemory use(memory);
    ResetProcs(kThreeLiterals);
    Procs().throw_on_read_call = c.read_call;
    Procs().throw_on_write_call = c.write_call;
    bool proc_failure = false;
    bool elzh = false;
    try {
      Decode(3);
    } catch (const lzh_test::ProcFailure&) {
      proc_failure = true;
    } catch (const lzh::ElzhException& e) {
      elzh = true;
      EXPECT_EQ(e.Message(), "LZH : Error freeing memory for dictionary tables");
    }
    EXPECT_EQ(elzh, c.expect_elzh);
    EXPECT_EQ(proc_failure, !c.expect_elzh);
    EXPECT_EQ(memory.freed, std::vector<std::size_t>(kSizes.rbegin(), kSizes.rend()));
    EXPECT_TRUE(memory.held.empty());
  }
}

TEST(DictionaryTables, DefaultComesBackAfterAnOverride) {
  {
    RecordingMemory memory;
    lzh::ScopedTableMemory use(memory);
    EXPECT_EQ(lzh::SetTableMemory(&memory), &memory);  // the override is in force
  }
  // The scope restored the default: a run needs nothing from the recorder.
  ResetProcs(kThreeLiterals);
  Decode(3);
  EXPECT_EQ(Procs().output.size(), 3u);
}

}  // namespace
