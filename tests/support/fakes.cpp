#include "tests/support/fakes.h"

#include "text/text.h"

namespace zk::test {

std::string FakeFileSystem::key(const std::string& path) {
  std::string k;
  for (std::size_t i = 0; i < path.size(); ++i) {
    char c = path[i] == '/' ? '\\' : path[i];
    if (c == '\\' && !k.empty() && k.back() == '\\' && i > 1) continue;  // doubled separators
    k += c;
  }
  while (k.size() > 3 && k.back() == '\\') k.pop_back();
  return asciiLower(k);
}

std::string FakeFileSystem::parentKey(const std::string& k) const {
  auto cut = k.rfind('\\');
  if (cut == std::string::npos) return {};
  return cut == 2 ? k.substr(0, 3) : k.substr(0, cut);  // "c:\" is the root
}

std::uint32_t FakeFileSystem::attributesOf(const std::string& k) const {
  auto it = attributes.find(k);
  return it == attributes.end() ? 0 : it->second;
}

void FakeFileSystem::tamper(const std::string& k) {
  if (tamperedFiles.count(k)) files_[k] += "\r\n# 已被修改";
}

std::optional<std::string> FakeFileSystem::readFile(const std::string& path) {
  if (unreadableFiles.count(key(path))) return std::nullopt;
  auto it = files_.find(key(path));
  if (it == files_.end()) return std::nullopt;
  return it->second;
}

bool FakeFileSystem::change() {
  if (crashAfterChanges >= 0 && changes >= crashAfterChanges) return false;
  ++changes;
  return true;
}

bool FakeFileSystem::readChunks(const std::string& path, const std::function<bool(std::string_view)>& onChunk) {
  if (unreadableFiles.count(key(path))) return false;
  auto it = files_.find(key(path));
  if (it == files_.end()) return false;
  std::string_view all = it->second;
  for (std::size_t at = 0; at < all.size(); at += chunkSize) {
    ++chunksRead;
    if (!onChunk(all.substr(at, chunkSize))) break;
  }
  return true;
}

bool FakeFileSystem::moveFile(const std::string& from, const std::string& to) {
  std::string f = key(from), t = key(to);
  if (!files_.count(f) || folders_.count(t) || !folders_.count(parentKey(t)) || readOnlyFiles.count(t) ||
      (files_.count(t) && (attributesOf(t) & 1)))
    return false;
  if (!change()) return false;
  files_[t] = std::move(files_[f]);
  files_.erase(f);
  remember(to);
  return true;
}

void FakeFileSystem::remember(const std::string& path) {
  std::string k = key(path);
  std::string shown = path;
  while (!shown.empty() && (shown.back() == '\\' || shown.back() == '/')) shown.pop_back();
  auto cut = shown.find_last_of("\\/");
  shownNames_[k] = cut == std::string::npos ? shown : shown.substr(cut + 1);
}

std::optional<std::vector<FileSystem::FolderItem>> FakeFileSystem::listFolder(const std::string& path) {
  std::string k = key(path);
  if (!folders_.count(k)) return std::nullopt;
  std::vector<FolderItem> out;
  auto add = [&](const std::string& child, bool folder) {
    if (child == k || parentKey(child) != k) return;
    auto it = shownNames_.find(child);
    out.push_back({it != shownNames_.end() ? it->second : child.substr(child.rfind('\\') + 1), folder});
  };
  for (auto& [f, bytes] : files_) add(f, false);
  for (auto& f : folders_) add(f, true);
  return out;
}

bool FakeFileSystem::replaceFile(const std::string& target, const std::string& replacement, const std::string& backup) {
  ++replaces;
  if (replaceFailures > 0) {
    --replaceFailures;
    return false;
  }
  // One step on disk, as ReplaceFileW is: the old file becomes the backup as the new one lands.
  std::string t = key(target), r = key(replacement);
  if (files_.count(t) && (readOnlyFiles.count(t) || (attributesOf(t) & 1))) return false;
  if (!files_.count(r) || !change()) return false;
  if (!backup.empty() && files_.count(t)) files_[key(backup)] = std::move(files_[t]);
  files_[t] = std::move(files_[r]);
  files_.erase(r);
  tamper(t);
  return true;
}

bool FakeFileSystem::writeFile(const std::string& path, std::string_view bytes) {
  std::string k = key(path);
  if (folders_.count(k) || !folders_.count(parentKey(k))) return false;
  // CREATE_ALWAYS refuses a read-only file, and a hidden or system one.
  if (files_.count(k) && (readOnlyFiles.count(k) || (attributesOf(k) & 7))) return false;
  if (!change()) return false;
  files_[k] = std::string(bytes);
  remember(path);
  ++writes;
  tamper(k);
  return true;
}

std::int64_t FakeFileSystem::fileSize(const std::string& path) {
  auto it = files_.find(key(path));
  return it == files_.end() ? -1 : static_cast<std::int64_t>(it->second.size());
}

bool FakeFileSystem::deleteFile(const std::string& path) {
  std::string k = key(path);
  if (readOnlyFiles.count(k) || (attributesOf(k) & 1) || (files_.count(k) && !change())) return false;
  attributes.erase(k);
  return files_.erase(k) != 0;
}

bool FakeFileSystem::createFolder(const std::string& path) {
  std::string k = key(path);
  if (folders_.count(k)) return true;
  if (files_.count(k) || !folders_.count(parentKey(k))) return false;
  folders_.insert(k);
  remember(path);
  return true;
}

bool FakeFileSystem::deleteFolderTree(const std::string& path) {
  std::string k = key(path);
  if (!folders_.count(k) || undeletableFolders.count(k)) return false;
  std::string prefix = k + "\\";
  for (auto it = files_.begin(); it != files_.end();)
    it = it->first.rfind(prefix, 0) == 0 ? files_.erase(it) : std::next(it);
  for (auto it = folders_.begin(); it != folders_.end();)
    it = (*it == k || it->rfind(prefix, 0) == 0) ? folders_.erase(it) : std::next(it);
  return true;
}

std::optional<std::uint32_t> FakeFileSystem::fileAttributes(const std::string& path) {
  std::string k = key(path);
  if (!files_.count(k)) return std::nullopt;
  return attributesOf(k);
}

bool FakeFileSystem::setAttributes(const std::string& path, std::uint32_t a) {
  std::string k = key(path);
  if (!files_.count(k)) return false;
  attributes[k] = a;
  return true;
}

void FakeFileSystem::addFolder(const std::string& path) {
  std::string k = key(path);
  while (!k.empty() && !folders_.count(k)) {
    folders_.insert(k);
    std::string p = parentKey(k);
    if (p == k) break;
    k = p;
  }
}

void FakeFileSystem::addFile(const std::string& path, std::string bytes) {
  std::string k = key(path);
  addFolder(parentKey(k));
  files_[k] = std::move(bytes);
  remember(path);
}

std::vector<std::string> FakeFileSystem::filesUnder(const std::string& folder) const {
  std::vector<std::string> out;
  std::string prefix = key(folder) + "\\";
  for (auto& [k, v] : files_)
    if (k.rfind(prefix, 0) == 0) out.push_back(k.substr(prefix.size()));
  return out;
}

std::string FakeRegistry::readMachineText(const std::string& keyPath, const std::string& name) {
  auto it = values.find(asciiLower(keyPath + "\\" + name));
  return it == values.end() ? std::string() : it->second;
}

bool FakeRegistry::writeMachineText(const std::string& keyPath, const std::string& name, const std::string& value) {
  ++writeCalls;
  if (!writable) return false;
  values[asciiLower(keyPath + "\\" + name)] = value;
  return true;
}

Answer FakePrompter::show(const std::string& text, const std::string& title, unsigned flags) {
  shown.push_back({text, title, flags});
  if (whileShown) whileShown();
  if ((flags & 0xF) != box::YesNo) return Answer::Ok;
  if (answers.empty()) return Answer::No;
  Answer a = answers.front();
  answers.pop_front();
  return a;
}

void FakeMainView::setRadioChecked(Server s, bool on) {
  // Radio buttons of one group: ticking one clears the others.
  if (on) {
    radios.clear();
    radios.insert(s);
  } else {
    radios.erase(s);
  }
}

}  // namespace zk::test
