#ifndef MOYAN_STORE_STORE_H_
#define MOYAN_STORE_STORE_H_

#include <functional>
#include <string>

#include "store/attachment.h"
#include "store/field_value.h"
#include "store/source_record.h"
#include "text/byte_set.h"

// The library store as its callers see it. Each thread has its own list of open stores,
// its own current store and cursor; two threads (or processes) that open the same file
// are kept apart by the file's byte locks. All operations act on the calling thread's
// current store; failures show only in the results.

// Opens a store file and makes it current, cursor on its first record. Fails for an
// empty path, a file that is already open (the current store stays as it is), a missing
// or malformed file.
bool store_open(const std::string& path);
// Closes the current store; afterwards no store is current.
void store_close();
// Closes every store this thread has open.
void store_close_all();

// Number of records of the current store; 0 without one or on failure.
int record_count();
// Adds an all-zero record with the next id at the end; the cursor goes to it.
bool append_blank_record();
void go_first();
bool go_last();
// Cursor to record n (1-based), clamped to the existing records.
bool go_to_record(int n);
// 1-based number of the cursor's record; 0 without a current store.
int record_number();

// Value of a field (name without regard to letter case) in the cursor's record; inside a
// find_record condition, from the record being examined.
FieldValue read_field(const std::string& name);
// Stores a text (text fields) or byte set (byte-set field) in the cursor's record, at once.
bool write_field(const std::string& name, const std::string& text);
bool write_field(const std::string& name, const ByteSet& bytes);

// Scans from the cursor for the first record whose condition is true; the cursor goes
// there. Without a match the cursor stays where it was.
bool find_record(const std::function<bool()>& condition);

#endif  // MOYAN_STORE_STORE_H_
