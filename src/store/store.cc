// The store operations over each thread's own list of open stores. A thread is an opener
// of its own, kept apart from other threads and processes by the file's byte locks, so
// the harvesting workers, the delivery worker and the window's thread never share a
// cursor or a current store.
#include "store/store.h"

#include <algorithm>
#include <cstring>
#include <deque>
#include <memory>
#include <vector>

#include "store/platform_file.h"
#include "store/store_file.h"
#include "store/store_format.h"
#include "store/store_path.h"

namespace {

// The record a running find_record is examining; read_field answers from it.
struct ScanFrame {
  int64_t index = 0;
  const char* record = nullptr;
  // Why a value of this record that the condition asked for couldn't be read: the
  // condition then judged an empty value, so its answer stands for nothing.
  Status unread;
};

struct OpenStore {
  std::string folded_path;
  std::unique_ptr<StoreFile> file;
  int64_t cursor = 0;
  bool closed = false;
  // Bumped by every write of this store, so that a scan notices its own thread's writes
  // to records it has already read ahead.
  uint64_t writes = 0;
  std::vector<ScanFrame*> scans;
};

// What one thread holds: its open stores and its scan buffers.
struct ThreadStores {
  std::vector<std::shared_ptr<OpenStore>> stores;
  std::shared_ptr<OpenStore> current;
  // One scan buffer per nesting depth of find_record, kept between scans: fresh memory
  // costs a page fault per page on first touch, more than reading the records into it.
  // A deque, so that a nested scan adding a level leaves the outer buffers in place.
  std::deque<std::vector<char>> scan_buffers;
  size_t scan_depth = 0;
};

// Only a plain pointer is thread-local; the platform layer ends the thread's stores.
thread_local ThreadStores* thread_stores = nullptr;

ThreadStores& thread_state() {
  if (thread_stores == nullptr) {
    thread_stores = new ThreadStores;
    at_thread_exit([](void* p) { delete static_cast<ThreadStores*>(p); }, thread_stores);
  }
  return *thread_stores;
}

// Records are scanned in chunks that start small (a listing stops after a few records)
// and double up to a bounded buffer (a look-up of an absent title reads everything).
constexpr int64_t kFirstChunkRecords = 16;
constexpr int64_t kChunkBytes = kScanChunkBytes;

void close_store(const std::shared_ptr<OpenStore>& store) {
  store->closed = true;
  store->file.reset();
}

Status read_count(OpenStore* store, int64_t* count) {
  int32_t n = 0;
  Status read = store->file->read_count(&n);
  if (read) *count = n;
  return read;
}

}  // namespace

Status store_open_status(const std::string& path) {
  if (path.empty()) return Status::invalid("empty path");
  std::string full = store_full_path(path);
  if (full.empty()) return Status::invalid("no full path for " + path);
  std::string folded = fold_path_case(full);
  for (const auto& store : thread_state().stores) {
    if (store->folded_path == folded) return Status::invalid(full + " is open already");
  }
  std::unique_ptr<StoreFile> file;
  Status opened = StoreFile::open(full, FileAccess::kReadWrite, &file);
  if (!opened) return opened;
  auto store = std::make_shared<OpenStore>();
  store->folded_path = folded;
  store->file = std::move(file);
  thread_state().stores.push_back(store);
  thread_state().current = store;
  return Status::ok();
}

bool store_open(const std::string& path) {
  return store_open_status(path).is_ok();
}

void store_close() {
  std::shared_ptr<OpenStore> store = std::move(thread_state().current);
  thread_state().current.reset();
  if (!store) return;
  auto& stores = thread_state().stores;
  stores.erase(std::remove(stores.begin(), stores.end(), store), stores.end());
  close_store(store);
}

void store_close_all() {
  std::vector<std::shared_ptr<OpenStore>> stores = std::move(thread_state().stores);
  thread_state().stores.clear();
  thread_state().current.reset();
  for (const auto& store : stores) close_store(store);
}

int record_count() {
  int count = 0;
  return count_records(&count) ? count : 0;
}

Status count_records(int* count) {
  *count = 0;
  OpenStore* store = thread_state().current.get();
  if (store == nullptr) return Status::ok();
  int64_t n = 0;
  Status read = read_count(store, &n);
  if (read) *count = static_cast<int>(n);
  return read;
}

bool append_blank_record() {
  OpenStore* store = thread_state().current.get();
  int64_t index = 0;
  if (store == nullptr || !store->file->append_blank(&index).is_ok()) return false;
  store->cursor = index;
  ++store->writes;
  return true;
}

Status append_record(const std::vector<FieldAssignment>& fields) {
  OpenStore* store = thread_state().current.get();
  if (store == nullptr) return Status::invalid("no store is open");
  std::vector<FieldWrite> writes;
  writes.reserve(fields.size());
  for (const FieldAssignment& assignment : fields) {
    const FieldInfo* field = store->file->find_field(assignment.name);
    if (field == nullptr) return Status::not_found("field " + assignment.name);
    const bool bytes = assignment.value.kind() == FieldValue::Kind::kBytes;
    const bool suits = bytes ? field->type == kTypeBytes
                             : field->type == kTypeText || field->type == kTypeLongText;
    if (!suits) {
      return Status::invalid("field " + field->name +
                             (bytes ? " takes no byte set" : " takes no text"));
    }
    writes.push_back({field, bytes ? assignment.value.bytes().view()
                                   : std::string_view(assignment.value.text())});
  }
  int64_t index = 0;
  Status appended = store->file->append_record(writes, &index);
  if (!appended) return appended;
  store->cursor = index;
  ++store->writes;
  return Status::ok();
}

std::string stored_text_of(const std::string& field_name, const std::string& text) {
  OpenStore* store = thread_state().current.get();
  const FieldInfo* field = store ? store->file->find_field(field_name) : nullptr;
  return field == nullptr ? text : stored_text(*field, text);
}

void go_first() {
  if (thread_state().current) thread_state().current->cursor = 0;
}

bool go_last() {
  OpenStore* store = thread_state().current.get();
  int64_t count = 0;
  if (store == nullptr || !read_count(store, &count)) return false;
  store->cursor = std::max<int64_t>(count - 1, 0);
  return true;
}

bool go_to_record(int n) {
  OpenStore* store = thread_state().current.get();
  int64_t count = 0;
  if (store == nullptr || !read_count(store, &count)) return false;
  store->cursor = std::max<int64_t>(std::min<int64_t>(n, count) - 1, 0);
  return true;
}

int record_number() {
  OpenStore* store = thread_state().current.get();
  return store == nullptr ? 0 : static_cast<int>(store->cursor + 1);
}

FieldValue read_field(std::string_view name) {
  OpenStore* store = thread_state().current.get();
  if (store == nullptr) return FieldValue();
  const FieldInfo* field = store->file->find_field(name);
  if (field == nullptr) return FieldValue();
  if (!store->scans.empty() && store->scans.back()->index == store->cursor) {
    ScanFrame* frame = store->scans.back();
    // The first value that can't be read is the one the scan reports.
    return store->file->field_from_record(frame->index, *field, frame->record,
                                          frame->unread ? &frame->unread : nullptr);
  }
  // A failed read gives the empty value of the field's type.
  FieldValue value;
  (void)store->file->read_field(store->cursor, *field, &value);
  return value;
}

bool write_field(const std::string& name, const std::string& text) {
  OpenStore* store = thread_state().current.get();
  const FieldInfo* field = store ? store->file->find_field(name) : nullptr;
  if (field == nullptr) return false;
  // Counted even when it fails: a failed write may have changed part of the record.
  ++store->writes;
  return store->file->write_text(store->cursor, *field, text).is_ok();
}

bool write_field(const std::string& name, const ByteSet& bytes) {
  OpenStore* store = thread_state().current.get();
  const FieldInfo* field = store ? store->file->find_field(name) : nullptr;
  if (field == nullptr) return false;
  ++store->writes;
  return store->file->write_bytes(store->cursor, *field, bytes.view()).is_ok();
}

bool find_record(const std::function<bool()>& condition) {
  return find_record_checked(condition).found;
}

namespace {

// The scan of find_record_checked and find_text_checked: from the cursor, every record is
// read (in chunks, each under one lock) and handed to examine(frame), which says whether it is
// the record looked for. examine may read the frame's record in place, and notes in
// frame.unread a value it needed and couldn't read.
template <typename Examine>
FindResult scan_records(Examine&& examine) {
  FindResult result;
  // Kept alive by this scan even when the condition closes it.
  std::shared_ptr<OpenStore> store = thread_state().current;
  if (!store) return result;
  int64_t n = 0;
  result.stop.why = read_count(store.get(), &n);
  if (result.stop.stopped()) return result;
  const int64_t start = std::max<int64_t>(store->cursor, 0);
  if (n < 1 || start >= n) return result;

  const int64_t record_size = store->file->record_size();
  const int64_t max_chunk = std::max<int64_t>(1, kChunkBytes / record_size);
  int64_t chunk = std::min(kFirstChunkRecords, max_chunk);
  ScanFrame frame;
  store->scans.push_back(&frame);
  ThreadStores& thread = thread_state();
  if (thread.scan_buffers.size() <= thread.scan_depth) thread.scan_buffers.emplace_back();
  std::vector<char>& buffer = thread.scan_buffers[thread.scan_depth++];
  buffer.reserve(static_cast<size_t>(std::min(max_chunk, n - start) * record_size));
  struct PopFrame {
    OpenStore* store;
    ThreadStores* thread;
    std::vector<char>* buffer;
    ~PopFrame() {
      store->scans.pop_back();
      --thread->scan_depth;
      // Only a record larger than the chunk makes the buffer grow past it: give that back.
      if (buffer->capacity() > static_cast<size_t>(kChunkBytes)) std::vector<char>().swap(*buffer);
    }
  } pop{store.get(), &thread, &buffer};
  // The scan ends at record i, which couldn't be read: the cursor goes back to the start.
  auto stop_at = [&](int64_t i, Status why) {
    store->cursor = start;
    result.stop = {static_cast<int>(i + 1), std::move(why)};
    return result;
  };

  // Records before this one are read one at a time: a chunk that held them couldn't be
  // read whole, and the first that can't be read alone is where the scan ends.
  int64_t single_until = start;
  for (int64_t i = start; i < n;) {
    const bool single = i < single_until;
    int64_t k = single ? 1 : std::min(chunk, n - i);
    // A record larger than a chunk must be in the file before the buffer grows for it (a
    // count raised by a hostile opener must not choose the allocation).
    Status read;
    if (k * record_size > kChunkBytes && !store->file->record_exists(i + k - 1)) {
      read = Status::not_found("record " + std::to_string(i + k) + " of " + store->file->path());
    } else {
      buffer.resize(static_cast<size_t>(k * record_size));
      // A chunk doesn't wait for another opener's lock on one of its records: it is read
      // again record by record, each waiting as any read does, so the records before the
      // locked one are examined and a lock given up on costs one wait, not two.
      read = store->file->read_records(i, k, buffer.data(), /*wait=*/k == 1);
    }
    if (!read) {
      if (k == 1) return stop_at(i, std::move(read));
      single_until = i + k;
      continue;
    }
    const uint64_t writes = store->writes;
    int64_t next = i + k;
    for (int64_t j = 0; j < k; ++j) {
      frame.index = i + j;
      frame.record = buffer.data() + j * record_size;
      frame.unread = Status::ok();
      store->cursor = i + j;
      bool found = examine(frame);
      // A handler run by the condition closed the store: the scan is over.
      if (store->closed) return result;
      // The condition judged a value that couldn't be read: neither its yes nor its no
      // can be taken.
      if (!frame.unread) return stop_at(i + j, std::move(frame.unread));
      if (found) {
        store->cursor = i + j;
        result.found = true;
        return result;
      }
      // Our own write may have changed a record read ahead: read again from the next one.
      if (store->writes != writes) {
        next = i + j + 1;
        break;
      }
    }
    i = next;
    if (!single) chunk = std::min(chunk * 2, max_chunk);
  }
  store->cursor = start;
  return result;
}

// The text field find_text_checked looks at in place; null when the field's text isn't in
// the record itself (a long text, or no text field at all).
const FieldInfo* text_field_in_place(std::string_view name) {
  OpenStore* store = thread_state().current.get();
  const FieldInfo* field = store ? store->file->find_field(name) : nullptr;
  return field && field->type == kTypeText && field->inside_record ? field : nullptr;
}

}  // namespace

FindResult find_record_checked(const std::function<bool()>& condition) {
  return scan_records([&](ScanFrame&) { return condition(); });
}

FindResult find_text_checked(std::string_view field_name,
                             const std::function<bool(std::string_view text)>& condition) {
  if (const FieldInfo* field = text_field_in_place(field_name)) {
    return scan_records(
        // What read_field would give, without a value made for it.
        [&](ScanFrame& frame) {
          return condition(text_up_to_zero(frame.record + field->offset,
                                           static_cast<size_t>(field->byte_count)));
        });
  }
  return find_record_checked([&] { return condition(read_field(field_name).text()); });
}

FindResult find_text_checked(std::string_view field_name, std::string_view text) {
  const FieldInfo* field = text_field_in_place(field_name);
  if (field == nullptr) {
    const std::string stored = stored_text_of(std::string(field_name), std::string(text));
    return find_record_checked([&] { return read_field(field_name).text() == stored; });
  }
  const std::string stored = stored_text(*field, text);
  const size_t width = static_cast<size_t>(field->byte_count);
  const size_t size = stored.size();
  return scan_records([&](ScanFrame& frame) {
    const char* bytes = frame.record + field->offset;
    // The byte after the text first: it tells most other records apart without a compare.
    return (size == width || bytes[size] == 0) && std::memcmp(bytes, stored.data(), size) == 0;
  });
}
