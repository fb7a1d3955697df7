#ifndef MOYAN_LIBRARY_LOCAL_SEARCH_H_
#define MOYAN_LIBRARY_LOCAL_SEARCH_H_

#include <string>

#include "library/library_context.h"
#include "ui/window_port.h"

// Whether a title holds the keyword: as typed (spaces count), letter case counting,
// stepping whole characters so that a match never starts inside a two-byte character.
bool title_matches_keyword(const std::string& title, const std::string& keyword);

// `search_library`: lists every entry whose 标题 holds the content of 编辑框1. It starts
// where store_open leaves the cursor (no go_first): on the first entry, or where a listing
// that is still running left it. The keyword is read again whenever other handlers may
// have run, so an edit made meanwhile counts for the records that follow.
void search_library(WindowPort& window, const LibraryContext& context);

#endif  // MOYAN_LIBRARY_LOCAL_SEARCH_H_
