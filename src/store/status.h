#ifndef MOYAN_STORE_STATUS_H_
#define MOYAN_STORE_STATUS_H_

#include <string>
#include <utility>

// What became of a store operation: success, or what failed and why. Made where the
// failure is seen (the platform layer knows the system's own sentence, the opening checks
// know which check failed) and handed up unchanged, so a caller can say why.
//
// Texts are the platform's: GBK on Windows, the file system's bytes elsewhere.
class [[nodiscard]] Status {
 public:
  enum class Code {
    kOk,
    kNotFound,  // a file, folder, field or record that isn't there
    kExists,    // a file that must not exist yet
    kLocked,    // another opener holds a lock, beyond the wait
    kCorrupt,   // the file fails a check; what() names the check
    kIoError,   // the system refused a read, write or open; cause() is its sentence
    kInvalid,   // a request the store can't carry out (wrong type, store already open)
  };

  Status() = default;
  static Status ok() { return Status(); }
  static Status not_found(std::string what, std::string cause = std::string()) {
    return Status(Code::kNotFound, std::move(what), std::move(cause));
  }
  static Status exists(std::string what) { return Status(Code::kExists, std::move(what), {}); }
  static Status locked(std::string what) { return Status(Code::kLocked, std::move(what), {}); }
  static Status corrupt(std::string check) { return Status(Code::kCorrupt, std::move(check), {}); }
  static Status io_error(std::string what, std::string cause) {
    return Status(Code::kIoError, std::move(what), std::move(cause));
  }
  static Status invalid(std::string what) { return Status(Code::kInvalid, std::move(what), {}); }

  bool is_ok() const { return code_ == Code::kOk; }
  explicit operator bool() const { return is_ok(); }
  Code code() const { return code_; }
  // The subject: a path, a field name, or the name of the failed check.
  const std::string& what() const { return what_; }
  // The system's sentence, when the system gave one.
  const std::string& cause() const { return cause_; }
  // One line for a person: "<what>: <kind>[ (<cause>)]".
  std::string text() const;

 private:
  Status(Code code, std::string what, std::string cause)
      : code_(code), what_(std::move(what)), cause_(std::move(cause)) {}

  Code code_ = Code::kOk;
  std::string what_;
  std::string cause_;
};

#endif  // MOYAN_STORE_STATUS_H_
