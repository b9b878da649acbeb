// A Platform that passes every call on to another one. Derive from it and
// override only what should behave differently (a progress count, a fault),
// the way an environment wrapper does.
#pragma once

#include "platform/platform.h"

namespace platform {

class PlatformWrapper : public Platform {
 public:
  explicit PlatformWrapper(Platform* target) : target_(target) {}
  Platform* target() const { return target_; }

  bool FindResource(const char* type, const char* name, Resource* out) override {
    return target_->FindResource(type, name, out);
  }
  std::uint32_t GetTempPath(std::uint32_t capacity, char* buffer) override {
    return target_->GetTempPath(capacity, buffer);
  }
  bool IsFolder(const Path& path) override { return target_->IsFolder(path); }
  bool CreateFolder(const Path& path) override { return target_->CreateFolder(path); }
  FileHandle OpenRead(const Path& path) override { return target_->OpenRead(path); }
  FileHandle Create(const Path& path) override { return target_->Create(path); }
  std::int32_t Read(FileHandle file, void* buffer, std::int32_t count) override {
    return target_->Read(file, buffer, count);
  }
  std::int32_t Write(FileHandle file, const void* buffer, std::int32_t count) override {
    return target_->Write(file, buffer, count);
  }
  void Flush(FileHandle file) override { target_->Flush(file); }
  void Close(FileHandle file) override { target_->Close(file); }
  void DeleteFile(const Path& path) override { target_->DeleteFile(path); }
  void* GetMemory(std::size_t size) override { return target_->GetMemory(size); }
  void FreeMemory(void* block) override { target_->FreeMemory(block); }
  void ShellExecute(const char* verb, const Path& file, const char* parameters,
                    const Path& directory, int show_command) override {
    target_->ShellExecute(verb, file, parameters, directory, show_command);
  }
  void InitializeApplication() override { target_->InitializeApplication(); }
  void SetTitle(const char* title) override { target_->SetTitle(title); }
  void RunMessageLoop() override { target_->RunMessageLoop(); }
  void ReportUncaught(const Exception& failure) override { target_->ReportUncaught(failure); }

 private:
  Platform* target_;
};

}  // namespace platform
