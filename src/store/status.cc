#include "store/status.h"

std::string Status::text() const {
  switch (code_) {
    case Code::kOk:
      return "ok";
    case Code::kNotFound:
      return what_ + " not found" + (cause_.empty() ? std::string() : " (" + cause_ + ")");
    case Code::kExists:
      return what_ + " exists already";
    case Code::kLocked:
      return what_ + " is locked by another opener";
    case Code::kCorrupt:
      return "refused: " + what_;
    case Code::kIoError:
      return "can't " + what_ + ": " + cause_;
    case Code::kInvalid:
      return what_;
  }
  return what_;
}
