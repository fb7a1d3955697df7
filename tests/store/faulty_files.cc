#include "faulty_files.h"

#include <cctype>
#include <cstdlib>

namespace {

// Ends the process at once: no destructor runs, nothing is flushed or unlocked by the
// program (the system drops the dead process's locks).
[[noreturn]] void die() {
  std::_Exit(FaultyFiles::kDiedStatus);
}

class FaultyFile final : public PlatformFile {
 public:
  FaultyFile(std::unique_ptr<PlatformFile> real, FaultyFiles* owner, std::string path)
      : PlatformFile(std::move(path)), real_(std::move(real)), owner_(owner) {}

  Status read_up_to(int64_t offset, void* buffer, size_t size, size_t* got) override {
    *got = 0;
    if (owner_->read_fails(path(), offset, size)) {
      return Status::io_error("read " + path(), "Input/output error");
    }
    return real_->read_up_to(offset, buffer, size, got);
  }
  Status write_at(int64_t offset, const void* data, size_t size) override {
    switch (owner_->next_write()) {
      case FaultyFiles::Fault::kNone:
        return real_->write_at(offset, data, size);
      case FaultyFiles::Fault::kShortWrite: {
        int64_t kept = ((offset + static_cast<int64_t>(size / 2)) / 512) * 512 - offset;
        if (kept > 0) (void)real_->write_at(offset, data, static_cast<size_t>(kept));
        return Status::io_error("write " + path(), "No space left on device");
      }
      case FaultyFiles::Fault::kDiskFull:
        return Status::io_error("write " + path(), "No space left on device");
      default:
        return Status::io_error("write " + path(), "Input/output error");
    }
  }
  Status size(int64_t* size) override { return real_->size(size); }
  Status truncate(int64_t size) override {
    switch (owner_->next_write()) {
      case FaultyFiles::Fault::kNone:
        return real_->truncate(size);
      case FaultyFiles::Fault::kShortWrite:
      case FaultyFiles::Fault::kDiskFull:
        return Status::io_error("cut " + path(), "No space left on device");
      default:
        return Status::io_error("cut " + path(), "Input/output error");
    }
  }
  Status flush() override { return real_->flush(); }
  bool try_lock(int64_t offset, int64_t length) override { return real_->try_lock(offset, length); }
  void unlock(int64_t offset, int64_t length) override { real_->unlock(offset, length); }

 private:
  std::unique_ptr<PlatformFile> real_;
  FaultyFiles* owner_;
};

std::string file_name_of(const std::string& path) {
  std::string name = path.substr(path.find_last_of("/\\") + 1);
  for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return name;
}

}  // namespace

FaultyFiles::FaultyFiles() {
  set_file_opener(this);
}

FaultyFiles::~FaultyFiles() {
  set_file_opener(nullptr);
}

void FaultyFiles::fail_at(int64_t call, Fault fault) {
  writes_ = 0;
  fail_at_ = call;
  fault_ = fault;
  fired_ = false;
}

FaultyFiles::Fault FaultyFiles::next_write() {
  if (++writes_ != fail_at_ || fault_ == Fault::kNone) return Fault::kNone;
  fired_ = true;
  if (fault_ == Fault::kDie) die();
  return fault_;
}

void FaultyFiles::fail_reads_of(const std::string& path, int64_t offset) {
  bad_file_ = path;
  bad_byte_ = offset;
}

bool FaultyFiles::read_fails(const std::string& path, int64_t offset, size_t size) const {
  // By the file's name: the store gets its files by full paths in the platform's form.
  return !bad_file_.empty() && file_name_of(path) == file_name_of(bad_file_) &&
         offset <= bad_byte_ && bad_byte_ < offset + static_cast<int64_t>(size);
}

Status FaultyFiles::open_existing(const std::string& path, FileAccess access,
                                  std::unique_ptr<PlatformFile>* file) {
  std::unique_ptr<PlatformFile> real;
  Status opened = system_files().open_existing(path, access, &real);
  if (opened) file->reset(new FaultyFile(std::move(real), this, path));
  return opened;
}

Status FaultyFiles::create_new(const std::string& path, std::unique_ptr<PlatformFile>* file) {
  std::unique_ptr<PlatformFile> real;
  Status created = system_files().create_new(path, &real);
  if (created) file->reset(new FaultyFile(std::move(real), this, path));
  return created;
}

Status FaultyFiles::remove(const std::string& path) {
  return system_files().remove(path);
}

const char* fault_name(FaultyFiles::Fault fault) {
  switch (fault) {
    case FaultyFiles::Fault::kNone:
      return "none";
    case FaultyFiles::Fault::kDiskFull:
      return "disk full";
    case FaultyFiles::Fault::kShortWrite:
      return "short write";
    case FaultyFiles::Fault::kIoError:
      return "I/O error";
    case FaultyFiles::Fault::kDie:
      return "death";
  }
  return "?";
}
