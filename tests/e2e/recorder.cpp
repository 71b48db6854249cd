// Stands in for a system tool (netsh, ipconfig, net, sc) and for the browser in the test prefix:
// appends its command line and working folder to C:\zk-recorded.txt (UTF-8) and ends with 0.
#include <windows.h>

#include <string>

int wmain() {
  wchar_t folder[MAX_PATH] = {};
  GetCurrentDirectoryW(MAX_PATH, folder);
  std::wstring line = std::wstring(GetCommandLineW()) + L" @ " + folder + L"\r\n";
  int n = WideCharToMultiByte(CP_UTF8, 0, line.c_str(), static_cast<int>(line.size()), nullptr, 0, nullptr, nullptr);
  std::string bytes(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, line.c_str(), static_cast<int>(line.size()), bytes.data(), n, nullptr, nullptr);
  // Several tools may start at once: each line goes in whole.
  for (int attempt = 0; attempt < 200; ++attempt) {
    HANDLE f =
        CreateFileW(L"C:\\zk-recorded.txt", FILE_APPEND_DATA, 0, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f != INVALID_HANDLE_VALUE) {
      DWORD written = 0;
      WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
      CloseHandle(f);
      return 0;
    }
    Sleep(10);
  }
  return 0;
}
