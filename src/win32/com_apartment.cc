#include "win32/com_apartment.h"

#include <objbase.h>

namespace win32 {

ComApartment::ComApartment() : initialised_(SUCCEEDED(CoInitialize(nullptr))) {}

ComApartment::~ComApartment() {
  if (initialised_) CoUninitialize();
}

}  // namespace win32
