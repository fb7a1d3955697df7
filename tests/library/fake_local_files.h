#ifndef MOYAN_TESTS_LIBRARY_FAKE_LOCAL_FILES_H_
#define MOYAN_TESTS_LIBRARY_FAKE_LOCAL_FILES_H_

#include <map>
#include <set>
#include <string>
#include <vector>

#include "library/local_files.h"
#include "text/date_time.h"

// Local disks kept in memory, with Windows paths ("C:\src\a.e"): folders list their
// entries in the order they were added (the system's order, for the walk), files have
// contents, sizes and times of their own, and a linked folder lists what its target
// lists, as a junction does. A "?" in a name stands for a character GBK can't hold (the
// system allows no "?" in names). Records what was listed and read.
class FakeLocalFiles : public LocalFiles {
 public:
  void add_folder(const std::string& path);
  // A file; its size is its content's unless given.
  void add_file(const std::string& path, const std::string& content,
                DateTimeParts time = {2013, 10, 25, 9, 5, 7}, int64_t size = -1);
  // A folder entry that is a reparse point leading to `target`.
  void add_link(const std::string& path, const std::string& target);
  void make_unlistable(const std::string& folder) { unlistable_.insert(folder); }
  void make_unreadable(const std::string& file) { unreadable_.insert(file); }
  // Listed by its folder, but not described (its entry says `problem`).
  void make_unexaminable(const std::string& path) { unexaminable_.insert(path); }
  void set_fixed_disks(std::vector<std::string> disks) { disks_ = std::move(disks); }
  // Where a relative path is read from (the open-file dialog leaves it on the chosen
  // file's folder).
  void set_current_folder(const std::string& folder) { current_ = folder; }

  const std::vector<std::string>& listed() const { return listed_; }
  const std::vector<std::string>& read() const { return read_; }
  const std::map<std::string, std::string>& written() const { return written_; }

  char separator() const override { return '\\'; }
  LocalPath path_from_text(const std::string& text) const override { return {text, text}; }
  LocalPath child(const LocalPath& folder, const LocalEntry& entry) const override;
  bool list_folder(const LocalPath& folder, std::vector<LocalEntry>* entries) override;
  bool find_entry(const LocalPath& path, LocalEntry* entry) override;
  ReadOutcome read_file(const LocalPath& path, int64_t limit, ByteSet* bytes) override;
  bool write_file(const LocalPath& path, const ByteSet& bytes) override;
  std::vector<std::string> fixed_disks() override { return disks_; }

 private:
  struct Node {
    bool folder = false;
    std::string link_target;  // a reparse point when not empty
    std::string content;
    int64_t size = 0;
    DateTimeParts time;
    std::vector<std::string> children;  // names, in order
  };
  std::string key(const std::string& path) const;
  Node& add(const std::string& path);
  const Node* find(const std::string& path) const;
  LocalEntry entry_of(const std::string& name, const Node& node) const;

  std::map<std::string, Node> nodes_;
  std::set<std::string> unlistable_, unreadable_, unexaminable_;
  std::vector<std::string> disks_;
  std::string current_;
  std::vector<std::string> listed_, read_;
  std::map<std::string, std::string> written_;
};

#endif  // MOYAN_TESTS_LIBRARY_FAKE_LOCAL_FILES_H_
