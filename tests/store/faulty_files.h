#ifndef MOYAN_TESTS_STORE_FAULTY_FILES_H_
#define MOYAN_TESTS_STORE_FAULTY_FILES_H_

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "store/platform_file.h"

// A double of the platform file layer: the system's files, with every write call (write,
// cut) counted across all files opened through it, and one chosen call made to fail or
// to end the process. Installed for every store file while it lives.
class FaultyFiles : public FileOpener {
 public:
  enum class Fault {
    kNone,
    kDiskFull,    // nothing written, "no space left"
    kShortWrite,  // the part before a 512-byte boundary in the write's first half is
                  // written (a disk fills up block by block), then "no space left"
    kIoError,     // nothing written, an I/O error
    kDie,         // the process ends on the spot, before the call
  };

  // The exit status of a process that kDie ended.
  static constexpr int kDiedStatus = 86;

  FaultyFiles();
  ~FaultyFiles() override;

  // Makes write call number `call` (1-based, counted from now) fail as fault says.
  void fail_at(int64_t call, Fault fault);
  // Makes every read of the file at `path` that covers byte `offset` fail with an I/O
  // error, as a bad sector would; an empty path reads everything again.
  void fail_reads_of(const std::string& path, int64_t offset);
  // Write calls made since construction or the last fail_at.
  int64_t writes() const { return writes_; }
  // Whether the chosen call has come.
  bool fired() const { return fired_; }

  Status open_existing(const std::string& path, FileAccess access,
                       std::unique_ptr<PlatformFile>* file) override;
  Status create_new(const std::string& path, std::unique_ptr<PlatformFile>* file) override;
  Status remove(const std::string& path) override;

  // For the files: whether this write call fails, and how.
  Fault next_write();
  // For the files: whether this read fails.
  bool read_fails(const std::string& path, int64_t offset, size_t size) const;

 private:
  int64_t writes_ = 0;
  int64_t fail_at_ = 0;
  Fault fault_ = Fault::kNone;
  bool fired_ = false;
  std::string bad_file_;
  int64_t bad_byte_ = 0;
};

const char* fault_name(FaultyFiles::Fault fault);

#endif  // MOYAN_TESTS_STORE_FAULTY_FILES_H_
