// Stands in for a system tool (netsh, ipconfig, net, sc) and for the browser in the test prefix:
// appends its command line and working folder to C:\zk-recorded.txt (UTF-8) and ends with 0. A
// command line holding one of the lines of C:\zk-refuse.txt (UTF-8, one pattern a line) is
// refused as the real tool would refuse it: recorded with " refused" after it, and it ends with 1.
#include <windows.h>

#include <string>
#include <vector>

namespace {

std::string utf8(const std::wstring& w) {
  int n = WideCharToMultiByte(CP_UTF8, 0, w.c_str(), static_cast<int>(w.size()), nullptr, 0, nullptr, nullptr);
  std::string bytes(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, w.c_str(), static_cast<int>(w.size()), bytes.data(), n, nullptr, nullptr);
  return bytes;
}

bool refused(const std::string& commandLine) {
  HANDLE f = CreateFileW(L"C:\\zk-refuse.txt", GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (f == INVALID_HANDLE_VALUE) return false;
  std::string text(64 * 1024, '\0');
  DWORD read = 0;
  ReadFile(f, text.data(), static_cast<DWORD>(text.size()), &read, nullptr);
  CloseHandle(f);
  text.resize(read);
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string pattern = text.substr(start, end - start);
    if (!pattern.empty() && pattern.back() == '\r') pattern.pop_back();
    if (!pattern.empty() && commandLine.find(pattern) != std::string::npos) return true;
    start = end + 1;
  }
  return false;
}

}  // namespace

int wmain() {
  wchar_t folder[MAX_PATH] = {};
  GetCurrentDirectoryW(MAX_PATH, folder);
  std::string command = utf8(GetCommandLineW());
  bool refuse = refused(command);
  std::string bytes = command + " @ " + utf8(folder) + (refuse ? " refused" : "") + "\r\n";
  // Several tools may start at once: each line goes in whole.
  for (int attempt = 0; attempt < 200; ++attempt) {
    HANDLE f =
        CreateFileW(L"C:\\zk-recorded.txt", FILE_APPEND_DATA, 0, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f != INVALID_HANDLE_VALUE) {
      DWORD written = 0;
      WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
      CloseHandle(f);
      break;
    }
    Sleep(10);
  }
  return refuse ? 1 : 0;
}
