// A test double of platform::Platform: it wraps a real platform (the host's
// by default), records every call with its path or handle, byte counts and
// result, and makes chosen calls fail, in the manner of a fault-injection
// environment. It also serves made-up resources and a made-up temporary
// directory, keeps the shell from starting anything and the report of a
// failure from showing, and tells whether
// handles are still open and memory blocks still held.
//
// The call log is meant to be compared with an expected sequence:
//
//   EXPECT_THAT(host.Log({Op::Create, Op::Write, Op::Close}),
//               ElementsAre("Create out.bin -> ok", "Write out.bin 10 -> 10",
//                           "Close out.bin"));
//
// Log lines (paths under SetPathRoot's folder are shown relative to it):
//   FindResource FILE Test1 -> 123 bytes | missing
//   GetTempPath 255 -> 12
//   IsFolder <path> -> yes | no          CreateFolder <path> -> ok | failed
//   OpenRead <path> -> ok | failed       Create <path> -> ok | failed
//   Read <path> <count> -> <result>      Write <path> <count> -> <result>
//   Flush <path>    Close <path>    DeleteFile <path>
//   GetMemory <size> -> #<n> | null      FreeMemory #<n> | null | unknown
//   ShellExecute <verb> <file> "<parameters>" <directory> <show>
//   InitializeApplication    SetTitle <title>    RunMessageLoop
//   ReportUncaught <class>: <message>
// A handle that was never opened through the double shows as its number
// ("Close #-1"). Memory blocks are numbered in the order they were obtained.
#pragma once

#include <climits>
#include <cstdint>
#include <initializer_list>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace platform_testing {

enum class Op {
  FindResource,
  GetTempPath,
  IsFolder,
  CreateFolder,
  OpenRead,
  Create,
  Read,
  Write,
  Flush,
  Close,
  DeleteFile,
  GetMemory,
  FreeMemory,
  ShellExecute,
  InitializeApplication,
  SetTitle,
  RunMessageLoop,
  ReportUncaught,
};

const char* OpName(Op op);

struct Call {
  Op op;
  std::string subject;      // path, resource name, title ... as logged
  std::int64_t count = 0;   // bytes asked for (Read, Write, GetMemory), capacity (GetTempPath)
  std::int64_t result = 0;  // handle, count moved, 1/0, bytes, needed capacity
  std::string line;         // the log line
};

class RecordingPlatform : public platform::Platform {
 public:
  explicit RecordingPlatform(platform::Platform* inner = platform::Platform::Default());

  // ---- Faults. Calls are counted per operation from 1. A faulted call does
  // not reach the wrapped platform, except a Read or Write with a result of
  // 0 or more, which moves that many bytes (at most the count asked for) and
  // reports them: a short count.
  //   open (OpenRead, Create)   -> -1, nothing touched
  //   Read, Write               -> result (-1 = failure, else a short count)
  //   GetMemory                 -> null
  //   GetTempPath               -> result (0: the system reports no path)
  //   FindResource              -> missing
  //   IsFolder, CreateFolder    -> false
  //   Flush, Close, DeleteFile, FreeMemory, ShellExecute -> not done
  void FailNth(Op op, int nth, std::int64_t result = -1) { FailCalls(op, nth, nth, result); }
  void FailFrom(Op op, int nth, std::int64_t result = -1) { FailCalls(op, nth, INT_MAX, result); }
  void FailCalls(Op op, int first, int last, std::int64_t result);

  // ---- Made-up host facts.
  // Serves this resource (type and name matched without regard to case)
  // instead of asking the wrapped platform.
  void AddResource(const std::string& type, const std::string& name, const std::string& bytes);
  // Reports this resource missing even when the wrapped platform has it.
  void HideResource(const std::string& name);
  // GetTempPath then reports this path with the system call's contract.
  void SetTempPath(const std::string& path);

  // ---- What happened.
  // Paths below root are logged relative to it (root itself as ".").
  void SetPathRoot(const std::string& root) { root_ = root; }
  const std::vector<Call>& calls() const { return calls_; }
  std::vector<std::string> Log() const;
  std::vector<std::string> Log(std::initializer_list<Op> only) const;
  int Count(Op op) const;
  void ClearLog() { calls_.clear(); }
  // Paths (as logged) of the handles opened through the double and not
  // closed yet, in the order they were opened.
  std::vector<std::string> OpenFiles() const;
  // Blocks obtained through the double and not freed yet.
  std::size_t HeldBlocks() const { return blocks_.size(); }
  // Frees of a block that the double did not hand out (or freed twice).
  int UnknownFrees() const { return unknown_frees_; }
  // The reports of uncaught failures, "<class>: <message>".
  std::vector<std::string> Reports() const;

  // ---- platform::Platform.
  bool FindResource(const char* type, const char* name, platform::Resource* out) override;
  std::uint32_t GetTempPath(std::uint32_t capacity, char* buffer) override;
  bool IsFolder(const platform::Path& path) override;
  bool CreateFolder(const platform::Path& path) override;
  platform::FileHandle OpenRead(const platform::Path& path) override;
  platform::FileHandle Create(const platform::Path& path) override;
  std::int32_t Read(platform::FileHandle file, void* buffer, std::int32_t count) override;
  std::int32_t Write(platform::FileHandle file, const void* buffer, std::int32_t count) override;
  void Flush(platform::FileHandle file) override;
  void Close(platform::FileHandle file) override;
  void DeleteFile(const platform::Path& path) override;
  void* GetMemory(std::size_t size) override;
  void FreeMemory(void* block) override;
  void ShellExecute(const char* verb, const platform::Path& file, const char* parameters,
                    const platform::Path& directory, int show_command) override;
  void InitializeApplication() override;
  void SetTitle(const char* title) override;
  void RunMessageLoop() override;
  void ReportUncaught(const platform::Exception& failure) override;

 private:
  struct Fault {
    Op op;
    int first;
    int last;
    std::int64_t result;
  };

  // Counts the call and returns its fault, or null.
  const Fault* NextCall(Op op);
  std::string Shown(const std::string& path) const;
  std::string HandleName(platform::FileHandle file) const;
  platform::FileHandle Opened(Op op, const platform::Path& path, platform::FileHandle file);
  void Record(Op op, const std::string& subject, std::int64_t count, std::int64_t result,
              const std::string& line);
  // Read or Write: call(n) moves n bytes through the wrapped platform; a
  // fault gives -1 or moves a short count.
  template <class Call>
  std::int32_t Transfer(Op op, const char* name, platform::FileHandle file, std::int32_t count,
                        Call call);

  platform::Platform* inner_;
  std::vector<Fault> faults_;
  std::map<Op, int> counts_;
  std::vector<Call> calls_;
  std::map<std::string, std::string> resources_;  // upper-case "TYPE\nNAME" -> bytes
  std::set<std::string> hidden_;                  // upper-case names
  bool has_temp_path_ = false;
  std::string temp_path_;
  std::string root_;
  std::map<platform::FileHandle, std::string> open_;  // handle -> path as logged
  std::vector<platform::FileHandle> open_order_;
  std::map<void*, int> blocks_;                       // block -> its number
  int next_block_ = 1;
  int unknown_frees_ = 0;
  std::vector<std::string> reports_;
};

}  // namespace platform_testing
