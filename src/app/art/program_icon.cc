#include "app/art/art_resources.h"
#include "app/art/artwork.h"

HICON load_program_icon(int size) {
  if (size < 1 || size > 1024) return nullptr;
  // The icon lives in the module that holds this code, which is the program itself.
  HMODULE module = nullptr;
  if (!GetModuleHandleExW(
          GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
          reinterpret_cast<LPCWSTR>(&load_program_icon), &module)) {
    return nullptr;
  }
  return static_cast<HICON>(LoadImageW(module, MAKEINTRESOURCEW(MOYAN_PROGRAM_ICON), IMAGE_ICON,
                                       size, size, LR_DEFAULTCOLOR));
}
