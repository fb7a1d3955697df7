// The import: 1,000 source files of 50 KB into libraries of 0, 10,000 and 100,000 entries,
// against reading and compressing the same files alone (the import's own work), and the
// look-up by a scan of the whole library per file that the title index replaces.
#include <benchmark/benchmark.h>
#include <zlib.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "library/source_import.h"
#include "model_library.h"
#include "store/source_record.h"
#include "store/store.h"

#ifdef _WIN32
#include "app/local_files_win32.h"
using PlatformFiles = Win32LocalFiles;
#else
#include "library/local_files_posix.h"
using PlatformFiles = PosixLocalFiles;
#endif

namespace {

namespace fs = std::filesystem;

constexpr int kFiles = 1000;
constexpr size_t kFileBytes = 50 * 1024;

std::string bench_dir() {
  static const std::string dir = [] {
    fs::path d = fs::temp_directory_path() / "moyan_library_bench";
    fs::remove_all(d);
    fs::create_directories(d);
    return d.string();
  }();
  return dir;
}

// About 50 KB of source-like text, different for each file.
std::string source_text(int file) {
  std::string text;
  unsigned seed = 777u + static_cast<unsigned>(file);
  const char* words[] = {
      "\xB1\xE4\xC1\xBF ", "count ",        "= ",  "+ 1\n",  "if (", ") {\n", "return ",
      "text_between(",     "\"http://\", ", "}\n", "0x7F, ", "loop "};
  while (text.size() < kFileBytes) {
    seed = seed * 1103515245u + 12345u;
    text += words[(seed >> 16) % 12];
    if ((seed >> 8) % 7 == 0) text += std::to_string(seed % 100000);
  }
  text.resize(kFileBytes);
  return text;
}

// The folder of source files, made once.
const std::string& source_folder() {
  static const std::string folder = [] {
    fs::path d = fs::path(bench_dir()) / "sources";
    fs::create_directories(d);
    for (int i = 0; i < kFiles; ++i) {
      std::FILE* f = std::fopen((d / ("source" + std::to_string(i) + ".e")).string().c_str(), "wb");
      const std::string text = source_text(i);
      std::fwrite(text.data(), 1, text.size(), f);
      std::fclose(f);
    }
    return d.string();
  }();
  return folder;
}

// A library of n entries written straight into the file, kept as a model to copy from.
const std::string& library_model(int n) {
  static std::string paths[3];
  std::string& path = paths[n == 0 ? 0 : n <= 10000 ? 1 : 2];
  if (!path.empty()) return path;
  path = bench_dir() + "/model" + std::to_string(n) + ".edb";
  write_model_library(path, n, [](char* r, int i) {
    std::snprintf(r + model_record::kTitle, 256, "\xD2\xD7\xD3\xEF\xD1\xD4 entry %d", i);
    std::snprintf(r + model_record::kCategory, 16,
                  "\xCF\xB5\xCD\xB3\xB9\xA4\xBE\xDF");  // "系统工具"
    std::snprintf(r + model_record::kAddress, 260, "C:\\sources\\entry%d.e", i);
  });
  return path;
}

// A fresh copy of the model library to import into.
std::string fresh_library(int n) {
  const std::string& model = library_model(n);
  const std::string path = bench_dir() + "/import.edb";
  // Removed first: MinGW's copy_file refuses to overwrite whatever the options say.
  fs::remove(path);
  fs::remove(bench_dir() + "/import.EDT");
  fs::copy_file(model, path);
  fs::copy_file(model.substr(0, model.size() - 3) + "EDT", bench_dir() + "/import.EDT");
  return path;
}

struct Quiet final : ImportObserver {};

void BM_Import(benchmark::State& state) {
  const int entries = static_cast<int>(state.range(0));
  PlatformFiles files;
  const LocalPath folder = files.path_from_text(source_folder());
  int added = 0;
  for (auto _ : state) {
    state.PauseTiming();
    const std::string library = fresh_library(entries);
    state.ResumeTiming();
    Quiet quiet;
    SourceImport import(files, library, quiet);
    (void)import.open();
    import.import_folder(folder);
    import.close();
    added = import.counts().added;
  }
  state.counters["added"] = added;
  state.SetItemsProcessed(state.iterations() * kFiles);
}
BENCHMARK(BM_Import)->Arg(0)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(3);

// Baseline: the same files read and compressed, nothing looked up or stored.
void BM_ReadAndCompress(benchmark::State& state) {
  PlatformFiles files;
  const LocalPath folder = files.path_from_text(source_folder());
  std::vector<Bytef> out(kFileBytes + kFileBytes / 1000 + 1024);
  for (auto _ : state) {
    std::vector<LocalEntry> entries;
    files.list_folder(folder, &entries);
    for (const LocalEntry& entry : entries) {
      if (entry.is_folder) continue;
      ByteSet bytes;
      (void)files.read_file(files.child(folder, entry), int64_t{1} << 26, &bytes);
      uLongf size = static_cast<uLongf>(out.size());
      compress2(out.data(), &size, bytes.udata(), static_cast<uLong>(bytes.size()),
                Z_DEFAULT_COMPRESSION);
      benchmark::DoNotOptimize(out.data());
    }
  }
  state.SetItemsProcessed(state.iterations() * kFiles);
}
BENCHMARK(BM_ReadAndCompress)->Unit(benchmark::kMillisecond)->Iterations(3);

// For contrast: the look-up as a scan of the whole library for every file.
void BM_ImportScanningPerFile(benchmark::State& state) {
  const int entries = static_cast<int>(state.range(0));
  PlatformFiles files;
  const LocalPath folder = files.path_from_text(source_folder());
  for (auto _ : state) {
    state.PauseTiming();
    const std::string library = fresh_library(entries);
    state.ResumeTiming();
    store_open(library);
    std::vector<LocalEntry> listed;
    files.list_folder(folder, &listed);
    for (const LocalEntry& entry : listed) {
      if (entry.is_folder) continue;
      const std::string title = entry.name.substr(0, entry.name.size() - 2);
      go_first();
      if (find_record([&] { return read_field(kFieldTitle).text() == title; })) continue;
      ByteSet bytes;
      (void)files.read_file(files.child(folder, entry), int64_t{1} << 26, &bytes);
      (void)append_record({{kFieldTitle, title}, {kFieldAttachment, pack_attachment(bytes)}});
    }
    store_close();
  }
  state.SetItemsProcessed(state.iterations() * kFiles);
}
BENCHMARK(BM_ImportScanningPerFile)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
