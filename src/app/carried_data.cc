#include "app/carried_data.h"

#include <windows.h>

#include "app/carried_data_ids.h"

namespace {

std::string_view carried(int id) {
  // The data lives in the module that holds this code: the program file itself.
  HMODULE module = nullptr;
  if (!GetModuleHandleExW(
          GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
          reinterpret_cast<LPCWSTR>(&carried), &module)) {
    return {};
  }
  HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(id), RT_RCDATA);
  if (found == nullptr) return {};
  HGLOBAL loaded = LoadResource(module, found);
  const void* bytes = loaded != nullptr ? LockResource(loaded) : nullptr;
  if (bytes == nullptr) return {};
  return std::string_view(static_cast<const char*>(bytes), SizeofResource(module, found));
}

}  // namespace

std::string_view carried_skin_library() {
  return carried(MOYAN_SKIN_LIBRARY_FILE);
}

std::string_view carried_skin(int number) {
  if (number < 1 || number > kCarriedSkinCount) return {};
  return carried(MOYAN_SKIN_BLOCK_BASE + number);
}

std::string_view carried_shape_picture() {
  return carried(MOYAN_SHAPE_PICTURE);
}
