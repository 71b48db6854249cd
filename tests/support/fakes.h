// In-memory doubles of the platform interfaces and the views, with failure injection.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "main/about.h"
#include "main/main_view.h"
#include "platform/files.h"
#include "platform/prompt.h"
#include "platform/system.h"
#include "settings/settings_window.h"

namespace zk::test {

// A Windows-like file system: case-insensitive paths, doubled backslashes accepted, a file
// needs its folder, and a name is either a file or a folder. Writes are refused as the real one
// refuses them: a read-only, hidden or system file is not overwritten, a read-only one is not
// replaced, moved over or deleted.
class FakeFileSystem : public FileSystem {
 public:
  static std::string key(const std::string& path);

  std::optional<std::string> readFile(const std::string& path) override;
  bool writeFile(const std::string& path, std::string_view bytes) override;
  bool fileExists(const std::string& path) override { return files_.count(key(path)) != 0; }
  bool folderExists(const std::string& path) override { return folders_.count(key(path)) != 0; }
  std::int64_t fileSize(const std::string& path) override;
  bool deleteFile(const std::string& path) override;
  bool createFolder(const std::string& path) override;
  bool deleteFolderTree(const std::string& path) override;
  std::optional<std::uint32_t> fileAttributes(const std::string& path) override;
  bool setAttributes(const std::string& path, std::uint32_t attributes) override;
  bool moveFile(const std::string& from, const std::string& to) override;
  std::optional<std::vector<FolderItem>> listFolder(const std::string& path) override;
  bool readChunks(const std::string& path, const std::function<bool(std::string_view)>& onChunk) override;
  std::size_t chunkSize = 4;  // small pieces, so that boundaries are exercised
  int chunksRead = 0;
  bool replaceFile(const std::string& target, const std::string& replacement, const std::string& backup) override;

  // Test set-up: a folder and all its parents; a file (its folder created too).
  void addFolder(const std::string& path);
  void addFile(const std::string& path, std::string bytes);
  std::string bytes(const std::string& path) { return readFile(path).value_or("<missing>"); }
  std::vector<std::string> filesUnder(const std::string& folder) const;

  std::set<std::string> readOnlyFiles;       // writes and deletes fail
  std::set<std::string> unreadableFiles;     // there, but reads fail (locked, no permission)
  std::set<std::string> tamperedFiles;       // security software edits them as they land
  std::set<std::string> undeletableFolders;  // tree deletes fail (files in use)
  std::map<std::string, std::uint32_t> attributes;
  int writes = 0;
  int replaceFailures = 0;  // the next replaces fail, as while antivirus holds the file
  int replaces = 0;
  // Fault injection: after this many changes to disk every further change fails (a crash).
  int crashAfterChanges = -1;
  int changes = 0;

 private:
  std::map<std::string, std::string> files_;
  // The last part of each path as it was first written (keys are lower-case).
  std::map<std::string, std::string> shownNames_;
  void remember(const std::string& path);
  std::set<std::string> folders_;
  std::string parentKey(const std::string& k) const;
  bool change();  // counts a change to disk; false once the simulated crash has happened
  std::uint32_t attributesOf(const std::string& k) const;
  void tamper(const std::string& k);
};

class FakeRegistry : public Registry {
 public:
  std::string readMachineText(const std::string& keyPath, const std::string& name) override;
  bool writeMachineText(const std::string& keyPath, const std::string& name, const std::string& value) override;
  std::map<std::string, std::string> values;  // "key\name" -> text
  bool writable = true;
  int writeCalls = 0;
};

class FakeFolders : public SpecialFolders {
 public:
  std::string appData() override { return appDataPath; }
  std::string desktop() override { return desktopPath; }
  std::string startMenu() override { return startMenuPath; }
  std::string system() override { return systemPath; }
  std::string ownFolder() override { return ownFolderPath; }
  std::string ownFileName() override { return ownName; }
  std::string appDataPath = "C:\\Users\\张三\\AppData\\Roaming\\";
  std::string desktopPath = "C:\\Users\\张三\\Desktop\\";
  std::string startMenuPath = "C:\\Users\\张三\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\";
  std::string systemPath = "C:\\Windows\\system32\\";
  std::string ownFolderPath = "D:\\下载";
  std::string ownName = "Zelkora.exe";
};

class FakeProcesses : public Processes {
 public:
  bool runHidden(const std::string& commandLine) override {
    started.push_back(commandLine);
    return true;
  }
  bool runNormal(const std::string& commandLine) override {
    startedNormal.push_back(commandLine);
    return normalStarts;
  }
  // Each run is recorded with its working folder; the outcomes are given in order, then the last
  // one given (a clean end when none).
  ProcessOutcome runHiddenAndWait(const std::string& commandLine, const std::string& workingFolder,
                                  int capMs) override {
    waited.push_back(commandLine);
    folders.push_back(workingFolder);
    caps.push_back(capMs);
    if (onRun) onRun(commandLine);
    if (outcomes.empty()) return ProcessOutcome{true, true, 0};
    ProcessOutcome o = outcomes.front();
    if (outcomes.size() > 1) outcomes.erase(outcomes.begin());
    return o;
  }
  // Recorded as above; the stop it was given is kept, to see whether the caller abandoned it.
  ProcessOutcome runHiddenTreeAndWait(const std::string& commandLine, const std::string& workingFolder, int capMs,
                                      std::stop_token stop) override {
    stops.push_back(stop);
    return runHiddenAndWait(commandLine, workingFolder, capMs);
  }
  std::vector<std::string> started, startedNormal, waited, folders;
  std::vector<int> caps;
  std::vector<std::stop_token> stops;
  std::vector<ProcessOutcome> outcomes;
  std::function<void(const std::string&)> onRun;
  bool normalStarts = true;
};

class FakeNetworkInfo : public NetworkInfo {
 public:
  std::vector<NetworkConnection> connections() override {
    ++listings;
    return list;
  }
  std::optional<ConnectionState> connectionState(const std::string& name) override {
    readBacks.push_back(name);
    auto it = states.find(name);
    if (it == states.end()) return std::nullopt;
    return it->second;
  }
  unsigned scriptCodePage() override { return codePage; }
  std::optional<bool> serviceRunning(const std::string& serviceName) override {
    asked.push_back(serviceName);
    return running;
  }
  std::vector<NetworkConnection> list{{"本地连接", true, true}};
  std::map<std::string, ConnectionState> states;  // what a read-back finds, by connection
  std::vector<std::string> readBacks;
  unsigned codePage = 936;
  std::optional<bool> running = false;
  std::vector<std::string> asked;
  int listings = 0;
};

class FakeShell : public Shell {
 public:
  bool open(const std::string& target) override {
    opened.push_back(target);
    return true;
  }
  bool explore(const std::string& folder) override {
    explored.push_back(folder);
    return true;
  }
  std::vector<std::string> opened, explored;
};

class FakeClipboard : public Clipboard {
 public:
  std::optional<std::string> text() override {
    ++reads;
    return content;
  }
  bool setText(const std::string& t) override {
    if (!writable) return false;
    content = t;
    return true;
  }
  std::optional<std::string> content;  // nothing: no text on it (empty, or a picture)
  bool writable = true;
  int reads = 0;
};

// Answers each dialog from a script; records every request.
class FakeFileDialogs : public FileDialogs {
 public:
  std::optional<std::string> show(const FileDialogRequest& r) override {
    requests.push_back(r);
    if (answers.empty()) return std::nullopt;
    auto a = answers.front();
    answers.pop_front();
    return a;
  }
  std::deque<std::optional<std::string>> answers;
  std::vector<FileDialogRequest> requests;
};

class FakeClock : public Clock {
 public:
  LocalTime now() override { return time; }
  std::uint64_t millisecondsSinceStart() override { return uptimeMs; }
  LocalTime time{2026, 12, 7, 9, 5, 7};
  std::uint64_t uptimeMs = 0;
};

// Answers message boxes from a script; records every box shown.
class FakePrompter : public Prompter {
 public:
  struct Shown {
    std::string text, title;
    unsigned flags;
  };
  Answer show(const std::string& text, const std::string& title, unsigned flags) override;
  std::deque<Answer> answers;  // consumed by Yes/No boxes
  std::vector<Shown> shown;
  std::function<void()> whileShown;  // runs while a box is open
};

class FakeMainView : public MainView {
 public:
  void setSkin(const Skin& s) override { skins.push_back(s); }
  void setFetchPicture(FetchPicture p) override { picture = p; }
  void setRadioChecked(Server s, bool on) override;
  bool radioChecked(Server s) const { return radios.count(s) != 0; }
  void setAdBlockingTicked(bool t) override { adTicked = t; }
  void setNavigationBlockingTicked(bool t) override { navTicked = t; }
  void setRetryCounterText(const std::string& t) override { retryText = t; }
  void setEmojiPointerOnAll(bool on) override { pointerCalls.push_back(on); }
  Rect windowRect() const override { return window; }
  void setCurtain(const Rect& r) override { curtainRect = r; }
  Rect curtain() const override { return curtainRect; }
  void setCurtainVisible(bool v) override { curtainVisible = v; }
  void setAvatarVisible(bool v) override { avatarVisible = v; }
  void setNicknameVisible(bool v) override { nicknameVisible = v; }
  void setLogoVisible(bool v) override { logoVisible = v; }
  void setEditionCaptionVisible(bool v) override { editionVisible = v; }
  Rect logoRect() const override { return logo; }
  Rect avatarRect() const override { return avatar; }
  void setAvatarRect(const Rect& r) override { avatar = r; }
  void setAvatarFrameRect(const Rect& r) override { avatarFrame = r; }
  // Bytes that start with "JPEG" or "PNG" count as a picture here.
  bool setAvatarPicture(const std::string& bytes) override {
    bool picture = bytes.rfind("JPEG", 0) == 0 || bytes.rfind("PNG", 0) == 0;
    avatarPicture = picture ? bytes : "";
    return picture;
  }
  void setDefaultAvatar() override { avatarPicture = "default"; }
  void setNicknameText(const std::string& t) override { nicknameText = t; }
  void setNicknameFont(NicknameFont f) override { nicknameFont = f; }
  void setNicknameColour(Rgb c) override { nicknameColour = c; }
  int windowWidth() const override { return width; }
  void setWindowWidth(int w) override { width = w; }
  void layoutTopRight() override { ++layouts; }
  void showTitleControl(TitleControl which) override { titleShown.push_back(which); }
  void setLineGeometry(const Rect& r) override { line = r, ++lineMoves; }
  void setLineColour(Rgb c) override { lineColour = c; }
  void setLineVisible(bool v) override { lineVisible = v; }
  void setShown(bool s) override { shown = s; }
  void openSettingsWindow(bool modal) override { settingsOpened.push_back(modal); }
  void openAboutWindow() override { ++aboutOpened; }

  std::vector<Skin> skins;
  FetchPicture picture = FetchPicture::Error;
  std::set<Server> radios;
  bool adTicked = false, navTicked = false;
  std::string retryText = "design";
  std::vector<bool> pointerCalls;
  Rect window{300, 200, 462, 390};
  Rect curtainRect{0, 37, 462, 353};
  bool curtainVisible = true, avatarVisible = true, nicknameVisible = true, shown = true;
  bool logoVisible = true, editionVisible = false;
  Rect logo{8, 6, 26, 26}, avatar{6, 3, 31, 31}, avatarFrame{6, 3, 31, 31};
  std::string avatarPicture = "none", nicknameText;
  NicknameFont nicknameFont = NicknameFont::Design;
  Rgb nicknameColour{255, 255, 255};
  int width = 462, layouts = 0;
  std::vector<TitleControl> titleShown;
  Rect line;
  Rgb lineColour;
  bool lineVisible = false;
  int lineMoves = 0;
  std::vector<bool> settingsOpened;
  int aboutOpened = 0;
};

class FakeSettingsView : public SettingsView {
 public:
  bool ticked(SettingsBox b) const override { return boxes.count(b) != 0; }
  void setTicked(SettingsBox b, bool on) override {
    if (on)
      boxes.insert(b);
    else
      boxes.erase(b);
  }
  void setCancelBoxEnabled(bool e) override { cancelEnabled = e; }
  std::string address() const override { return addressText; }
  void setAddress(const std::string& t) override { addressText = t; }
  void setAddressEnabled(bool e) override { addressEnabled = e; }
  void setAddressBackground(Rgb c) override { backgrounds.push_back(c); }
  void setNarrow() override { narrow = true; }
  void close() override { ++closed; }

  std::set<SettingsBox> boxes;
  bool cancelEnabled = true, addressEnabled = true, narrow = false;
  std::string addressText;
  std::vector<Rgb> backgrounds;
  int closed = 0;
};

class FakeAboutView : public AboutView {
 public:
  void setTexts(const std::string& v, const std::string& r, const std::string& c) override {
    version = v;
    released = r;
    copyright = c;
  }
  void close() override { ++closed; }
  std::string version, released, copyright;
  int closed = 0;
};

}  // namespace zk::test
