#include "fake_local_files.h"

std::string FakeLocalFiles::key(const std::string& path) const {
  // "C:\x" and "\\server\x" are whole paths; anything else lies in the current folder.
  const bool whole = path.find(':') != std::string::npos || path.rfind("\\\\", 0) == 0;
  std::string k = whole || current_.empty() ? path : current_ + "\\" + path;
  while (!k.empty() && k.back() == '\\') k.pop_back();
  return k;
}

FakeLocalFiles::Node& FakeLocalFiles::add(const std::string& path) {
  const std::string k = key(path);
  const size_t cut = k.find_last_of('\\');
  if (cut != std::string::npos) {
    const std::string parent = k.substr(0, cut);
    if (nodes_.count(parent) == 0) add_folder(parent);
    nodes_[parent].children.push_back(k.substr(cut + 1));
  }
  return nodes_[k];
}

void FakeLocalFiles::add_folder(const std::string& path) {
  if (nodes_.count(key(path)) != 0) return;
  add(path).folder = true;
}

void FakeLocalFiles::add_file(const std::string& path, const std::string& content,
                              DateTimeParts time, int64_t size) {
  Node& node = add(path);
  node.content = content;
  node.size = size < 0 ? static_cast<int64_t>(content.size()) : size;
  node.time = time;
}

void FakeLocalFiles::add_link(const std::string& path, const std::string& target) {
  Node& node = add(path);
  node.folder = true;
  node.link_target = key(target);
}

const FakeLocalFiles::Node* FakeLocalFiles::find(const std::string& path) const {
  auto it = nodes_.find(key(path));
  return it == nodes_.end() ? nullptr : &it->second;
}

LocalEntry FakeLocalFiles::entry_of(const std::string& name, const Node& node) const {
  LocalEntry entry;
  entry.name = entry.native_name = name;
  entry.name_lossy = name.find('?') != std::string::npos;
  entry.is_folder = node.folder;
  entry.is_link = !node.link_target.empty();
  entry.size = node.size;
  const DateTimeParts& t = node.time;
  entry.last_write = make_date_time(t.year, t.month, t.day, t.hour, t.minute, t.second);
  return entry;
}

LocalPath FakeLocalFiles::child(const LocalPath& folder, const LocalEntry& entry) const {
  return {joined_path(folder.text, '\\', entry.name),
          joined_path(folder.native, '\\', entry.native_name)};
}

bool FakeLocalFiles::list_folder(const LocalPath& folder, std::vector<LocalEntry>* entries) {
  entries->clear();
  listed_.push_back(folder.native);
  std::string resolved = key(folder.native);
  const Node* node = find(resolved);
  // Through a link, the target's entries, under the link's path: a walk that followed it
  // would come back here for ever.
  for (int hops = 0; node != nullptr && !node->link_target.empty() && hops < 8; ++hops) {
    resolved = node->link_target;
    node = find(resolved);
  }
  if (node == nullptr || !node->folder || unlistable_.count(key(folder.native)) != 0) {
    return false;
  }
  Node dot;
  dot.folder = true;
  entries->push_back(entry_of(".", dot));
  entries->push_back(entry_of("..", dot));
  for (const std::string& name : node->children) {
    const Node* child = find(resolved + "\\" + name);
    if (child == nullptr) continue;
    entries->push_back(entry_of(name, *child));
    if (unexaminable_.count(resolved + "\\" + name) != 0) {
      LocalEntry& entry = entries->back();
      entry.examined = false;
      entry.problem = "Access is denied.";
      entry.size = 0;
      entry.last_write = DateTime{};
    }
  }
  return true;
}

bool FakeLocalFiles::find_entry(const LocalPath& path, LocalEntry* entry) {
  const Node* node = find(path.native);
  if (node == nullptr) return false;
  const std::string k = key(path.native);
  *entry = entry_of(k.substr(k.find_last_of('\\') + 1), *node);
  return true;
}

ReadOutcome FakeLocalFiles::read_file(const LocalPath& path, int64_t limit, ByteSet* bytes) {
  *bytes = ByteSet();
  read_.push_back(path.native);
  const Node* node = find(path.native);
  if (node == nullptr || node->folder || unreadable_.count(key(path.native)) != 0) {
    return ReadOutcome::kUnreadable;
  }
  if (node->size > limit) return ReadOutcome::kTooLarge;
  *bytes = ByteSet(node->content);
  return ReadOutcome::kRead;
}

bool FakeLocalFiles::write_file(const LocalPath& path, const ByteSet& bytes) {
  written_[path.native] = bytes.str();
  return true;
}
