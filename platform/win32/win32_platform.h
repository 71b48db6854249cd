// The real platform services on Windows.
#pragma once

#include <random>

#include "platform/domain_names.h"
#include "platform/files.h"
#include "platform/prompt.h"
#include "platform/system.h"

namespace zk::win {

class Win32FileSystem : public FileSystem {
 public:
  std::optional<std::string> readFile(const std::string& path) override;
  bool writeFile(const std::string& path, std::string_view bytes) override;
  bool fileExists(const std::string& path) override;
  bool folderExists(const std::string& path) override;
  std::int64_t fileSize(const std::string& path) override;
  bool deleteFile(const std::string& path) override;
  bool createFolder(const std::string& path) override;
  bool deleteFolderTree(const std::string& path) override;
  std::optional<std::uint32_t> fileAttributes(const std::string& path) override;
  bool setAttributes(const std::string& path, std::uint32_t attributes) override;
  bool writeFileDurably(const std::string& path, std::string_view bytes) override;
  bool readChunks(const std::string& path, const std::function<bool(std::string_view)>& onChunk) override;
  bool moveFile(const std::string& from, const std::string& to) override;
  bool replaceFile(const std::string& target, const std::string& replacement, const std::string& backup) override;
  std::optional<std::vector<FolderItem>> listFolder(const std::string& path) override;

 private:
  bool write(const std::string& path, std::string_view bytes, bool flush);
};

class Win32Registry : public Registry {
 public:
  std::string readMachineText(const std::string& keyPath, const std::string& name) override;
  bool writeMachineText(const std::string& keyPath, const std::string& name, const std::string& value) override;
};

class Win32Folders : public SpecialFolders {
 public:
  std::string appData() override;
  std::string desktop() override;
  std::string startMenu() override;
  std::string system() override;
  std::string ownFolder() override;
  std::string ownFileName() override;
};

class Win32Processes : public Processes {
 public:
  bool runHidden(const std::string& commandLine) override;
  bool runNormal(const std::string& commandLine) override;
  ProcessOutcome runHiddenAndWait(const std::string& commandLine, const std::string& workingFolder, int capMs) override;
  ProcessOutcome runHiddenTreeAndWait(const std::string& commandLine, const std::string& workingFolder, int capMs,
                                      std::stop_token stop) override;

 private:
  bool run(const std::string& commandLine, bool hidden);
};

class Win32NetworkInfo : public NetworkInfo {
 public:
  std::vector<NetworkConnection> connections() override;
  std::optional<ConnectionState> connectionState(const std::string& name) override;
  unsigned scriptCodePage() override;
  std::optional<bool> serviceRunning(const std::string& serviceName) override;
};

class Win32Clipboard : public Clipboard {
 public:
  std::optional<std::string> text() override;
  bool setText(const std::string& utf8) override;
};

// Both dialogs run modal to the window given (the active one when none).
class Win32FileDialogs : public FileDialogs {
 public:
  std::optional<std::string> show(const FileDialogRequest& request) override;
};

// IdnToAscii, looked up when first needed (normaliz.dll is not loaded at start).
class Win32DomainNames : public DomainNames {
 public:
  std::optional<std::string> toAscii(const std::string& utf8) override;
};

class Win32Shell : public Shell {
 public:
  bool open(const std::string& target) override;
  bool explore(const std::string& folder) override;
};

class Win32Clock : public Clock {
 public:
  LocalTime now() override;
  std::uint64_t millisecondsSinceStart() override;
};

class Win32Random : public Random {
 public:
  int between(int low, int high) override;

 private:
  std::mt19937 gen_{std::random_device{}()};
};

class Win32Prompter : public Prompter {
 public:
  Answer show(const std::string& text, const std::string& title, unsigned flags) override;
};

}  // namespace zk::win
