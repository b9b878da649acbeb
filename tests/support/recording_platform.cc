// RecordingPlatform: forwards to the wrapped platform, logs each call, and
// applies the faults that a test has set up.
#include "tests/support/recording_platform.h"

#include <algorithm>
#include <cstring>

#include "path_separator.h"

namespace platform_testing {

namespace {

std::string Upper(std::string text) {
  for (char& c : text) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return text;
}

std::string ResourceKey(const std::string& type, const std::string& name) {
  return Upper(type) + "\n" + Upper(name);
}

const char* OkOrFailed(bool ok) { return ok ? "ok" : "failed"; }

}  // namespace

const char* OpName(Op op) {
  switch (op) {
    case Op::FindResource: return "FindResource";
    case Op::GetTempPath: return "GetTempPath";
    case Op::IsFolder: return "IsFolder";
    case Op::CreateFolder: return "CreateFolder";
    case Op::OpenRead: return "OpenRead";
    case Op::Create: return "Create";
    case Op::Read: return "Read";
    case Op::Write: return "Write";
    case Op::Flush: return "Flush";
    case Op::Close: return "Close";
    case Op::DeleteFile: return "DeleteFile";
    case Op::GetMemory: return "GetMemory";
    case Op::FreeMemory: return "FreeMemory";
    case Op::ShellExecute: return "ShellExecute";
    case Op::InitializeApplication: return "InitializeApplication";
    case Op::SetTitle: return "SetTitle";
    case Op::RunMessageLoop: return "RunMessageLoop";
    case Op::ReportUncaught: return "ReportUncaught";
  }
  return "?";
}

RecordingPlatform::RecordingPlatform(platform::Platform* inner) : inner_(inner) {}

void RecordingPlatform::FailCalls(Op op, int first, int last, std::int64_t result) {
  faults_.push_back(Fault{op, first, last, result});
}

void RecordingPlatform::AddResource(const std::string& type, const std::string& name,
                                    const std::string& bytes) {
  resources_[ResourceKey(type, name)] = bytes;
}

void RecordingPlatform::HideResource(const std::string& name) { hidden_.insert(Upper(name)); }

void RecordingPlatform::SetTempPath(const std::string& path) {
  has_temp_path_ = true;
  temp_path_ = path;
}

const RecordingPlatform::Fault* RecordingPlatform::NextCall(Op op) {
  const int n = ++counts_[op];
  for (const Fault& fault : faults_) {
    if (fault.op == op && n >= fault.first && n <= fault.last) return &fault;
  }
  return nullptr;
}

std::string RecordingPlatform::Shown(const std::string& path) const {
  if (root_.empty() || path.compare(0, root_.size(), root_) != 0) return path;
  std::string rest = path.substr(root_.size());
  if (!rest.empty() && rest[0] == platform::kPathSeparator) rest.erase(0, 1);
  return rest.empty() ? "." : rest;
}

std::string RecordingPlatform::HandleName(platform::FileHandle file) const {
  const auto it = open_.find(file);
  return it != open_.end() ? it->second : "#" + std::to_string(file);
}

platform::FileHandle RecordingPlatform::Opened(Op op, const platform::Path& path,
                                               platform::FileHandle file) {
  if (file > 0) {
    open_[file] = Shown(path);
    open_order_.push_back(file);
  }
  Record(op, Shown(path), 0, file, std::string(OpName(op)) + " " + Shown(path) + " -> " +
                                       OkOrFailed(file > 0));
  return file;
}

void RecordingPlatform::Record(Op op, const std::string& subject, std::int64_t count,
                               std::int64_t result, const std::string& line) {
  calls_.push_back(Call{op, subject, count, result, line});
}

std::vector<std::string> RecordingPlatform::Log() const {
  std::vector<std::string> lines;
  for (const Call& call : calls_) lines.push_back(call.line);
  return lines;
}

std::vector<std::string> RecordingPlatform::Log(std::initializer_list<Op> only) const {
  std::vector<std::string> lines;
  for (const Call& call : calls_) {
    if (std::find(only.begin(), only.end(), call.op) != only.end()) lines.push_back(call.line);
  }
  return lines;
}

int RecordingPlatform::Count(Op op) const {
  return static_cast<int>(
      std::count_if(calls_.begin(), calls_.end(), [op](const Call& c) { return c.op == op; }));
}

std::vector<std::string> RecordingPlatform::OpenFiles() const {
  std::vector<std::string> paths;
  for (platform::FileHandle file : open_order_) paths.push_back(open_.at(file));
  return paths;
}

std::vector<std::string> RecordingPlatform::Reports() const { return reports_; }

bool RecordingPlatform::FindResource(const char* type, const char* name, platform::Resource* out) {
  const Fault* fault = NextCall(Op::FindResource);
  bool found = false;
  if (fault == nullptr && hidden_.count(Upper(name)) == 0) {
    const auto it = resources_.find(ResourceKey(type, name));
    if (it != resources_.end()) {
      out->data = reinterpret_cast<const std::uint8_t*>(it->second.data());
      out->size = static_cast<std::uint32_t>(it->second.size());
      found = true;
    } else {
      found = inner_->FindResource(type, name, out);
    }
  }
  const std::string subject = std::string(type) + " " + name;
  Record(Op::FindResource, subject, 0, found ? out->size : -1,
         "FindResource " + subject + " -> " +
             (found ? std::to_string(out->size) + " bytes" : std::string("missing")));
  return found;
}

std::uint32_t RecordingPlatform::GetTempPath(std::uint32_t capacity, char* buffer) {
  const Fault* fault = NextCall(Op::GetTempPath);
  std::uint32_t result;
  if (fault != nullptr) {
    result = static_cast<std::uint32_t>(fault->result);
  } else if (has_temp_path_) {
    const auto length = static_cast<std::uint32_t>(temp_path_.size());
    if (length + 1 > capacity) {
      result = length + 1;
    } else {
      std::memcpy(buffer, temp_path_.c_str(), length + 1);
      result = length;
    }
  } else {
    result = inner_->GetTempPath(capacity, buffer);
  }
  Record(Op::GetTempPath, "", capacity, result,
         "GetTempPath " + std::to_string(capacity) + " -> " + std::to_string(result));
  return result;
}

bool RecordingPlatform::IsFolder(const platform::Path& path) {
  const Fault* fault = NextCall(Op::IsFolder);
  const bool yes = fault == nullptr && inner_->IsFolder(path);
  Record(Op::IsFolder, Shown(path), 0, yes, "IsFolder " + Shown(path) + (yes ? " -> yes" : " -> no"));
  return yes;
}

bool RecordingPlatform::CreateFolder(const platform::Path& path) {
  const Fault* fault = NextCall(Op::CreateFolder);
  const bool ok = fault == nullptr && inner_->CreateFolder(path);
  Record(Op::CreateFolder, Shown(path), 0, ok,
         "CreateFolder " + Shown(path) + " -> " + OkOrFailed(ok));
  return ok;
}

platform::FileHandle RecordingPlatform::OpenRead(const platform::Path& path) {
  const Fault* fault = NextCall(Op::OpenRead);
  return Opened(Op::OpenRead, path, fault != nullptr ? -1 : inner_->OpenRead(path));
}

platform::FileHandle RecordingPlatform::Create(const platform::Path& path) {
  const Fault* fault = NextCall(Op::Create);
  return Opened(Op::Create, path, fault != nullptr ? -1 : inner_->Create(path));
}

template <class Call>
std::int32_t RecordingPlatform::Transfer(Op op, const char* name, platform::FileHandle file,
                                         std::int32_t count, Call call) {
  const Fault* fault = NextCall(op);
  std::int32_t result;
  if (fault == nullptr) {
    result = call(count);
  } else if (fault->result < 0) {
    result = -1;
  } else {
    result = call(static_cast<std::int32_t>(std::min<std::int64_t>(fault->result, count)));
  }
  Record(op, HandleName(file), count, result,
         std::string(name) + " " + HandleName(file) + " " + std::to_string(count) + " -> " +
             std::to_string(result));
  return result;
}

std::int32_t RecordingPlatform::Read(platform::FileHandle file, void* buffer, std::int32_t count) {
  return Transfer(Op::Read, "Read", file, count,
                  [&](std::int32_t n) { return inner_->Read(file, buffer, n); });
}

std::int32_t RecordingPlatform::Write(platform::FileHandle file, const void* buffer,
                                      std::int32_t count) {
  return Transfer(Op::Write, "Write", file, count,
                  [&](std::int32_t n) { return inner_->Write(file, buffer, n); });
}

void RecordingPlatform::Flush(platform::FileHandle file) {
  if (NextCall(Op::Flush) == nullptr) inner_->Flush(file);
  Record(Op::Flush, HandleName(file), 0, 0, "Flush " + HandleName(file));
}

void RecordingPlatform::Close(platform::FileHandle file) {
  const std::string name = HandleName(file);
  if (NextCall(Op::Close) == nullptr) {
    inner_->Close(file);
    if (open_.erase(file) > 0) {
      open_order_.erase(std::find(open_order_.begin(), open_order_.end(), file));
    }
  }
  Record(Op::Close, name, 0, 0, "Close " + name);
}

void RecordingPlatform::DeleteFile(const platform::Path& path) {
  if (NextCall(Op::DeleteFile) == nullptr) inner_->DeleteFile(path);
  Record(Op::DeleteFile, Shown(path), 0, 0, "DeleteFile " + Shown(path));
}

void* RecordingPlatform::GetMemory(std::size_t size) {
  const Fault* fault = NextCall(Op::GetMemory);
  void* block = fault != nullptr ? nullptr : inner_->GetMemory(size);
  std::string shown = "null";
  if (block != nullptr) {
    const int number = next_block_++;
    blocks_[block] = number;
    shown = "#" + std::to_string(number);
  }
  Record(Op::GetMemory, shown, static_cast<std::int64_t>(size), block != nullptr,
         "GetMemory " + std::to_string(size) + " -> " + shown);
  return block;
}

void RecordingPlatform::FreeMemory(void* block) {
  const Fault* fault = NextCall(Op::FreeMemory);
  std::string shown = "null";
  if (block != nullptr) {
    const auto it = blocks_.find(block);
    if (it == blocks_.end()) {
      shown = "unknown";
      ++unknown_frees_;
    } else {
      shown = "#" + std::to_string(it->second);
      if (fault == nullptr) blocks_.erase(it);
    }
  }
  // An unknown block is not passed on: freeing it would corrupt the heap.
  if (fault == nullptr && shown != "unknown") inner_->FreeMemory(block);
  Record(Op::FreeMemory, shown, 0, 0, "FreeMemory " + shown);
}

void RecordingPlatform::ShellExecute(const char* verb, const platform::Path& file,
                                     const char* parameters, const platform::Path& directory,
                                     int show_command) {
  // Recorded only: no test starts a real program or its faults.
  NextCall(Op::ShellExecute);
  const std::string line = std::string("ShellExecute ") + (verb ? verb : "(null)") + " " +
                           Shown(file) + " \"" + (parameters ? parameters : "(null)") + "\" " +
                           Shown(directory) + " " + std::to_string(show_command);
  Record(Op::ShellExecute, Shown(file), 0, 0, line);
}

void RecordingPlatform::InitializeApplication() {
  if (NextCall(Op::InitializeApplication) == nullptr) inner_->InitializeApplication();
  Record(Op::InitializeApplication, "", 0, 0, "InitializeApplication");
}

void RecordingPlatform::SetTitle(const char* title) {
  if (NextCall(Op::SetTitle) == nullptr) inner_->SetTitle(title);
  Record(Op::SetTitle, title, 0, 0, std::string("SetTitle ") + title);
}

void RecordingPlatform::RunMessageLoop() {
  if (NextCall(Op::RunMessageLoop) == nullptr) inner_->RunMessageLoop();
  Record(Op::RunMessageLoop, "", 0, 0, "RunMessageLoop");
}

void RecordingPlatform::ReportUncaught(const platform::Exception& failure) {
  NextCall(Op::ReportUncaught);  // recorded only: a real report would wait for the user
  const std::string report = std::string(failure.ClassName()) + ": " + failure.Message();
  reports_.push_back(report);
  Record(Op::ReportUncaught, report, 0, 0, "ReportUncaught " + report);
}

}  // namespace platform_testing
