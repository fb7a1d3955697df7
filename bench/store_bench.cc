// The library store: a look-up of an absent title over a large library against one
// sequential read of the same file; appending entries with packed attachments, field by
// field and whole, against compressing the same bytes alone; heap held while scanning, for
// two library sizes; reading attachments' chains against one read of the same blocks each,
// and the read calls a chain takes.
#include <benchmark/benchmark.h>
#include <zlib.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <new>
#include <string>
#include <thread>
#include <vector>

#include "model_library.h"
#include "store/empty_library.h"
#include "store/platform_file.h"
#include "store/store.h"
#include "store/store_file.h"

// Live and peak heap bytes, to show what a scan holds. The replaced operators pair with
// each other; GCC can't see that through inlining.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
namespace {
std::atomic<int64_t> heap_live{0};
std::atomic<int64_t> heap_peak{0};
constexpr size_t kPrefix = 16;
}  // namespace

void* operator new(size_t size) {
  char* p = static_cast<char*>(std::malloc(size + kPrefix));
  if (p == nullptr) throw std::bad_alloc();
  std::memcpy(p, &size, sizeof size);
  int64_t live = heap_live += static_cast<int64_t>(size);
  int64_t peak = heap_peak.load();
  while (live > peak && !heap_peak.compare_exchange_weak(peak, live)) {
  }
  return p + kPrefix;
}
void* operator new[](size_t size) {
  return operator new(size);
}
void operator delete(void* p) noexcept {
  if (p == nullptr) return;
  char* base = static_cast<char*>(p) - kPrefix;
  size_t size;
  std::memcpy(&size, base, sizeof size);
  heap_live -= static_cast<int64_t>(size);
  std::free(base);
}
void operator delete[](void* p) noexcept {
  operator delete(p);
}
void operator delete(void* p, size_t) noexcept {
  operator delete(p);
}
void operator delete[](void* p, size_t) noexcept {
  operator delete(p);
}

namespace {

constexpr int64_t kRecordSize = model_record::kSize;

std::string bench_dir() {
  static const std::string dir = [] {
    auto d = std::filesystem::temp_directory_path() / "moyan_store_bench";
    std::filesystem::remove_all(d);
    std::filesystem::create_directories(d);
    return d.generic_string();
  }();
  return dir;
}

std::string new_library(const std::string& name) {
  std::string path = bench_dir() + "/" + name;
  std::filesystem::remove(path);
  std::filesystem::remove(path.substr(0, path.size() - 3) + "EDT");
  Status created = create_empty_library(path);
  if (!created) std::fprintf(stderr, "%s\n", created.text().c_str());
  return path;
}

// A library of n harvested entries, written straight into the file in bounded chunks.
const std::string& library_of(int n) {
  static std::string paths[2];
  std::string& path = paths[n >= 100000 ? 1 : 0];
  if (!path.empty()) return path;
  path = bench_dir() + "/lib" + std::to_string(n) + ".edb";
  write_model_library(path, n, [](char* r, int i) {
    std::snprintf(r + model_record::kTitle, 256, "\xD2\xD7\xD3\xEF\xD1\xD4 source %d module", i);
    std::snprintf(r + model_record::kStars, 16, "\xA1\xEF\xA1\xEF\xA1\xEF");  // "★★★"
    std::snprintf(r + model_record::kAddress, 260, "http://source.example/code/%d.html", i);
  });
  return path;
}

// The look-up of a title the library doesn't hold, as the program makes it: the title
// compared where the scan read it, or (by_value) by a condition reading the field's value.
void find_absent_title(benchmark::State& state, bool by_value) {
  const std::string& path = library_of(static_cast<int>(state.range(0)));
  const std::string absent = "no such title";
  auto scan = [&] {
    store_open(path);
    go_first();
    bool found = by_value ? find_record([&] { return read_field(kFieldTitle).text() == absent; })
                          : find_text_checked(kFieldTitle, absent).found;
    benchmark::DoNotOptimize(found);
    store_close();
  };
  // Heap a first scan takes on a fresh thread (its scan buffer included).
  int64_t before = heap_live.load();
  heap_peak = before;
  std::thread(scan).join();
  const int64_t heap_growth = heap_peak.load() - before;
  for (auto _ : state) scan();
  state.SetBytesProcessed(state.iterations() * state.range(0) * kRecordSize);
  state.counters["scan_heap_kb"] = static_cast<double>(heap_growth) / 1024;
}

void BM_FindAbsentTitle(benchmark::State& state) {
  find_absent_title(state, false);
}
BENCHMARK(BM_FindAbsentTitle)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_FindAbsentTitleByValue(benchmark::State& state) {
  find_absent_title(state, true);
}
BENCHMARK(BM_FindAbsentTitleByValue)->Arg(100000)->Unit(benchmark::kMillisecond);

// Baseline: the whole file read once, front to back, in 1 MB pieces.
void BM_SequentialRead(benchmark::State& state) {
  const std::string& path = library_of(static_cast<int>(state.range(0)));
  std::vector<char> buffer(1 << 20);
  for (auto _ : state) {
    std::unique_ptr<PlatformFile> file;
    (void)open_existing_file(path, FileAccess::kReadOnly, &file);
    int64_t size = 0;
    (void)file->size(&size);
    for (int64_t at = 0; at < size; at += static_cast<int64_t>(buffer.size())) {
      size_t n = static_cast<size_t>(std::min<int64_t>(size - at, buffer.size()));
      (void)file->read_at(at, buffer.data(), n);
      benchmark::DoNotOptimize(buffer.data());
    }
  }
  state.SetBytesProcessed(state.iterations() * state.range(0) * kRecordSize);
}
BENCHMARK(BM_SequentialRead)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

constexpr int kAppendedEntries = 1000;

// About 50 KB of source-like text, different for each entry.
ByteSet source_text(int entry) {
  std::string text;
  unsigned seed = 12345u + static_cast<unsigned>(entry);
  const char* words[] = {
      "\xB1\xE4\xC1\xBF ", "count ",        "= ",  "+ 1\n",  "if (", ") {\n", "return ",
      "text_between(",     "\"http://\", ", "}\n", "0x7F, ", "loop "};
  while (text.size() < 50 * 1024) {
    seed = seed * 1103515245u + 12345u;
    text += words[(seed >> 16) % 12];
    if ((seed >> 8) % 7 == 0) text += std::to_string(seed % 100000);
  }
  text.resize(50 * 1024);
  return ByteSet(text);
}

const std::vector<ByteSet>& sources() {
  static const std::vector<ByteSet> all = [] {
    std::vector<ByteSet> v;
    for (int i = 0; i < kAppendedEntries; ++i) v.push_back(source_text(i));
    return v;
  }();
  return all;
}

void BM_AppendEntriesWithAttachments(benchmark::State& state) {
  const auto& texts = sources();
  for (auto _ : state) {
    state.PauseTiming();
    std::string path = new_library("append.edb");
    state.ResumeTiming();
    store_open(path);
    for (int i = 0; i < kAppendedEntries; ++i) {
      std::string title = "entry " + std::to_string(i);
      go_last();
      append_blank_record();
      write_field(kFieldTitle, title);
      write_field(kFieldUpdateTime, "2024-05-01 12:00:00");
      write_field(kFieldRating, "\xA1\xEF\xA1\xEF\xA1\xEF\xA1\xEF\xA1\xEF");  // "★★★★★"
      write_field(kFieldSize, "50.00 KB");
      write_field(kFieldAddress, "C:\\sources\\entry" + std::to_string(i) + ".e");
      write_field(kFieldAttachment, pack_attachment(texts[static_cast<size_t>(i)]));
      write_field(kFieldCategory, "\xCF\xB5\xCD\xB3\xB9\xA4\xBE\xDF");  // "系统工具"
    }
    store_close();
  }
  state.SetItemsProcessed(state.iterations() * kAppendedEntries);
}
BENCHMARK(BM_AppendEntriesWithAttachments)->Unit(benchmark::kMillisecond)->Iterations(3);

// The same entries, each appended whole by one operation under one header lock.
void BM_AppendWholeEntries(benchmark::State& state) {
  const auto& texts = sources();
  for (auto _ : state) {
    state.PauseTiming();
    std::string path = new_library("append.edb");
    state.ResumeTiming();
    store_open(path);
    for (int i = 0; i < kAppendedEntries; ++i) {
      (void)append_record({
          {kFieldTitle, "entry " + std::to_string(i)},
          {kFieldUpdateTime, "2024-05-01 12:00:00"},
          {kFieldRating, "\xA1\xEF\xA1\xEF\xA1\xEF\xA1\xEF\xA1\xEF"},  // "★★★★★"
          {kFieldSize, "50.00 KB"},
          {kFieldAddress, "C:\\sources\\entry" + std::to_string(i) + ".e"},
          {kFieldAttachment, pack_attachment(texts[static_cast<size_t>(i)])},
          {kFieldCategory, "\xCF\xB5\xCD\xB3\xB9\xA4\xBE\xDF"},  // "系统工具"
      });
    }
    store_close();
  }
  state.SetItemsProcessed(state.iterations() * kAppendedEntries);
}
BENCHMARK(BM_AppendWholeEntries)->Unit(benchmark::kMillisecond)->Iterations(3);

// Baseline: compress2 at the default level over the same bytes, nothing stored.
void BM_CompressOnly(benchmark::State& state) {
  const auto& texts = sources();
  std::vector<Bytef> out(60 * 1024 + 1024);
  for (auto _ : state) {
    for (const ByteSet& text : texts) {
      uLongf size = static_cast<uLongf>(out.size());
      compress2(out.data(), &size, text.udata(), static_cast<uLong>(text.size()),
                Z_DEFAULT_COMPRESSION);
      benchmark::DoNotOptimize(out.data());
    }
  }
  state.SetItemsProcessed(state.iterations() * kAppendedEntries);
}
BENCHMARK(BM_CompressOnly)->Unit(benchmark::kMillisecond)->Iterations(3);

// Read calls made through the store's files, counted in front of the system's.
class CountingFiles final : public FileOpener {
 public:
  int64_t reads = 0;

  Status open_existing(const std::string& path, FileAccess access,
                       std::unique_ptr<PlatformFile>* file) override {
    std::unique_ptr<PlatformFile> real;
    Status opened = system_files().open_existing(path, access, &real);
    if (!opened) return opened;
    // Copied before the allocation: a constructor that cannot throw leaves GCC no freeing
    // path to misread through this file's counting operator delete.
    std::string name = real->path();
    file->reset(new Counted(std::move(real), &reads, std::move(name)));
    return opened;
  }
  Status create_new(const std::string& path, std::unique_ptr<PlatformFile>* file) override {
    return system_files().create_new(path, file);
  }
  Status remove(const std::string& path) override { return system_files().remove(path); }

 private:
  class Counted final : public PlatformFile {
   public:
    Counted(std::unique_ptr<PlatformFile> real, int64_t* reads, std::string path)
        : PlatformFile(std::move(path)), real_(std::move(real)), reads_(reads) {}
    Status read_up_to(int64_t offset, void* buffer, size_t size, size_t* got) override {
      ++*reads_;
      return real_->read_up_to(offset, buffer, size, got);
    }
    Status write_at(int64_t offset, const void* data, size_t size) override {
      return real_->write_at(offset, data, size);
    }
    Status size(int64_t* size) override { return real_->size(size); }
    Status truncate(int64_t size) override { return real_->truncate(size); }
    Status flush() override { return real_->flush(); }
    bool try_lock(int64_t offset, int64_t length) override {
      return real_->try_lock(offset, length);
    }
    void unlock(int64_t offset, int64_t length) override { real_->unlock(offset, length); }

   private:
    std::unique_ptr<PlatformFile> real_;
    int64_t* reads_;
  };
};

// A library whose entries hold attachments of `bytes` bytes each, appended through the store
// (each chain written whole, so its blocks are consecutive).
const std::string& attachment_library(int entries, size_t bytes) {
  static std::string paths[2];
  std::string& path = paths[bytes > 100000 ? 1 : 0];
  if (!path.empty()) return path;
  path = new_library("attachments" + std::to_string(bytes) + ".edb");
  store_open(path);
  for (int i = 0; i < entries; ++i) {
    std::string value(bytes, '\0');
    for (size_t k = 0; k < bytes; ++k) value[k] = static_cast<char>((k * 7 + i) & 0xFF);
    (void)append_record({{kFieldTitle, "entry " + std::to_string(i)},
                         {kFieldAttachment, ByteSet(std::move(value))}});
  }
  store_close();
  return path;
}

// The attachments' first blocks, in record order.
std::vector<int32_t> attachment_chains(StoreFile* store) {
  const FieldInfo* field = store->find_field(kFieldAttachment);
  std::vector<int32_t> firsts;
  for (int64_t i = 0; i < store->opened_record_count(); ++i) {
    int32_t first = 0;
    (void)store->read_reference(i, *field, &first);
    firsts.push_back(first);
  }
  return firsts;
}

constexpr int kChainEntries = 1000;
constexpr size_t kChainBytes = 50 * 1024;

// Every attachment's chain read by the store, under no lock (as a caller holding the
// record's lock reads it); arg 1: blocks read one call each, as a chain's reader must when
// it trusts no link it hasn't checked.
void BM_ReadAttachmentChains(benchmark::State& state) {
  const std::string& path = attachment_library(kChainEntries, kChainBytes);
  CountingFiles files;
  set_file_opener(&files);
  std::unique_ptr<StoreFile> store;
  (void)StoreFile::open(path, FileAccess::kReadOnly, &store);
  const std::vector<int32_t> firsts = attachment_chains(store.get());
  ByteSet value;
  int64_t bytes = 0;
  files.reads = 0;
  for (auto _ : state) {
    for (int32_t first : firsts) {
      (void)store->companion()->read_chain(first, &value);
      bytes += static_cast<int64_t>(value.size());
      benchmark::DoNotOptimize(value.data());
    }
  }
  state.counters["reads_per_chain"] =
      static_cast<double>(files.reads) / static_cast<double>(state.iterations() * firsts.size());
  state.SetBytesProcessed(bytes);
  store.reset();
  set_file_opener(nullptr);
}
BENCHMARK(BM_ReadAttachmentChains)->Unit(benchmark::kMillisecond);

// Baseline: the same chains' blocks, each chain in one read of its whole span.
void BM_ReadAttachmentSpans(benchmark::State& state) {
  const std::string& path = attachment_library(kChainEntries, kChainBytes);
  std::unique_ptr<StoreFile> store;
  (void)StoreFile::open(path, FileAccess::kReadOnly, &store);
  const std::vector<int32_t> firsts = attachment_chains(store.get());
  store.reset();
  std::unique_ptr<PlatformFile> file;
  (void)open_existing_file(path.substr(0, path.size() - 3) + "EDT", FileAccess::kReadOnly, &file);
  const int64_t span = static_cast<int64_t>((kChainBytes + 499) / 500) * 512;
  std::vector<char> buffer(static_cast<size_t>(span));
  int64_t bytes = 0;
  for (auto _ : state) {
    for (int32_t first : firsts) {
      (void)file->read_at(int64_t{first} * 512, buffer.data(), buffer.size());
      bytes += span;
      benchmark::DoNotOptimize(buffer.data());
    }
  }
  state.SetBytesProcessed(bytes);
}
BENCHMARK(BM_ReadAttachmentSpans)->Unit(benchmark::kMillisecond);

// One attachment of 1 MB: the read calls its chain takes.
void BM_ReadOneMegabyteChain(benchmark::State& state) {
  const std::string& path = attachment_library(1, size_t{1} << 20);
  CountingFiles files;
  set_file_opener(&files);
  std::unique_ptr<StoreFile> store;
  (void)StoreFile::open(path, FileAccess::kReadOnly, &store);
  const int32_t first = attachment_chains(store.get()).at(0);
  ByteSet value;
  int64_t calls = 0;
  for (auto _ : state) {
    // A store opened afresh each time: no earlier chain tells its reader what to expect.
    state.PauseTiming();
    store.reset();
    (void)StoreFile::open(path, FileAccess::kReadOnly, &store);
    const int64_t before = files.reads;
    state.ResumeTiming();
    (void)store->companion()->read_chain(first, &value);
    calls += files.reads - before;
    benchmark::DoNotOptimize(value.data());
  }
  state.counters["reads"] = static_cast<double>(calls) / static_cast<double>(state.iterations());
  store.reset();
  set_file_opener(nullptr);
}
BENCHMARK(BM_ReadOneMegabyteChain)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
