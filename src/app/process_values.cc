#include "app/process_values.h"

SharedText pending_file_name;
SharedText search_page_base;

void release_globals() {
  if (!pending_file_name.empty()) pending_file_name.release();
  if (!search_page_base.empty()) search_page_base.release();
}
