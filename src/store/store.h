#ifndef MOYAN_STORE_STORE_H_
#define MOYAN_STORE_STORE_H_

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "store/attachment.h"
#include "store/field_value.h"
#include "store/source_record.h"
#include "store/status.h"
#include "text/byte_set.h"

// The library store as its callers see it. Each thread has its own list of open stores,
// its own current store and cursor; two threads (or processes) that open the same file
// are kept apart by the file's byte locks. All operations act on the calling thread's
// current store; failures show only in the results.

// Opens a store file and makes it current, cursor on its first record. Fails for an
// empty path, a file that is already open (the current store stays as it is), a missing
// or malformed file.
bool store_open(const std::string& path);
// The same, saying why it failed: the path's file missing, locked, refused by a check of
// opening (named), or the system's own reason.
Status store_open_status(const std::string& path);
// Closes the current store; afterwards no store is current.
void store_close();
// Closes every store this thread has open.
void store_close_all();

// Number of records of the current store; 0 without one or on failure.
int record_count();
// The same, saying when the count can't be read (another opener holds the header past
// the wait, the system refuses the read). Without a current store: 0, and ok.
Status count_records(int* count);
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
FieldValue read_field(std::string_view name);
// Stores a text (text fields) or byte set (byte-set field) in the cursor's record, at once.
bool write_field(const std::string& name, const std::string& text);
bool write_field(const std::string& name, const ByteSet& bytes);

// One field of a whole entry: a text for a text field, a byte set for a byte-set field.
struct FieldAssignment {
  FieldAssignment(std::string field_name, std::string text)
      : name(std::move(field_name)), value(FieldValue::of_text(std::move(text))) {}
  FieldAssignment(std::string field_name, ByteSet bytes)
      : name(std::move(field_name)), value(FieldValue::of_bytes(std::move(bytes))) {}
  std::string name;
  FieldValue value;
};

// Appends a whole entry: a record with the next id and the given fields, written in the
// given order while the header lock is held, so no other opener ever sees the entry
// before it is whole; the cursor goes to it. The file ends up exactly as after
// append_blank_record and a write_field per field. Refused before anything is written
// when a field is unknown or its value's type doesn't suit it.
Status append_record(const std::vector<FieldAssignment>& fields);

// A text as the current store will hold it in the named field, and as read_field will
// give it back: a fixed-width text is cut to its width byte for byte (so a two-byte
// character at the cut keeps only its first byte), and any text ends at its first zero
// byte. For duplicate checks that must compare what the store holds. Without a current
// store, or for a field that holds no text, the text itself.
std::string stored_text_of(const std::string& field_name, const std::string& text);

// Scans from the cursor for the first record whose condition is true; the cursor goes
// there. Without a match the cursor stays where it was.
bool find_record(const std::function<bool()>& condition);

// Where a scan could read no further: the record (1-based) that another opener holds
// locked past the wait, that the system refused to read, that the file doesn't hold or
// whose long value can't be read; 0 when the record count itself couldn't be read. Every
// record before it was examined, none from it on, so what it didn't find may still be
// there.
struct ReadStop {
  int record = 0;
  Status why;  // ok: the scan read every record it was to read
  bool stopped() const { return !why.is_ok(); }
};

struct FindResult {
  bool found = false;
  ReadStop stop;  // stopped(): nothing was found before the record that couldn't be read
};

// find_record, telling a scan that examined every record from the cursor on and found
// nothing from one that stopped at a record it couldn't read. Records are read in large
// chunks; a chunk that can't be read whole is read again record by record, so every
// record before the unreadable one is examined.
FindResult find_record_checked(const std::function<bool()>& condition);

// find_record_checked for a condition on one text field, given the field's text as
// read_field would (up to its first zero byte). A text kept in the record is looked at
// where the scan read it, with no value made per record; a long text is read as read_field
// reads it, and one that can't be read stops the scan there. A field that holds no text
// gives the empty text. The cursor is on the record examined, so the condition may read
// other fields too.
FindResult find_text_checked(std::string_view field_name,
                             const std::function<bool(std::string_view text)>& condition);
// The first record from the cursor whose field holds `text` as the store would hold it
// (stored_text_of): the look-up of a title, compared in place.
FindResult find_text_checked(std::string_view field_name, std::string_view text);

#endif  // MOYAN_STORE_STORE_H_
