#include "platform/profile_store.h"

namespace parlino::platform {
namespace {

class PassThroughProfileFile final : public ProfileFile {
 public:
  PassThroughProfileFile(ProfileStore& store, std::filesystem::path path)
      : store_(store), path_(std::move(path)) {}

  std::optional<Text> Read(TextView section, TextView key) override {
    return store_.Read(path_, section, key);
  }
  void Write(TextView section, TextView key, TextView value) override {
    store_.Write(path_, section, key, value);
  }
  void Commit(const TextFile::Edit& edit) override {
    if (!edit) return;
    auto file = ReadTextFile(path_);
    if (!file) return;
    edit(*file);
    ReplaceFileAtomically(path_, EncodeText(*file));
  }

 private:
  ProfileStore& store_;
  std::filesystem::path path_;
};

}  // namespace

std::unique_ptr<ProfileFile> ProfileStore::Open(const std::filesystem::path& file) {
  return std::make_unique<PassThroughProfileFile>(*this, file);
}

}  // namespace parlino::platform
