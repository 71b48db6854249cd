#include <windows.h>

#include <shellapi.h>
#include <shlobj.h>

#include "platform/win32/wide.h"
#include "platform/win32/win32_platform.h"

namespace zk::win {

std::string Win32Registry::readMachineText(const std::string& keyPath, const std::string& name) {
  HKEY key;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, widen(keyPath).c_str(), 0, KEY_QUERY_VALUE | KEY_WOW64_64KEY, &key) !=
      ERROR_SUCCESS)
    return {};
  std::wstring wname = widen(name);
  DWORD type = 0, size = 0;
  std::wstring value;
  if (RegQueryValueExW(key, wname.c_str(), nullptr, &type, nullptr, &size) == ERROR_SUCCESS &&
      (type == REG_SZ || type == REG_EXPAND_SZ) && size < 65536) {
    value.resize(size / sizeof(wchar_t) + 1);
    DWORD got = static_cast<DWORD>(value.size() * sizeof(wchar_t));
    if (RegQueryValueExW(key, wname.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(value.data()), &got) ==
        ERROR_SUCCESS)
      value.resize(wcsnlen(value.c_str(), got / sizeof(wchar_t)));
    else
      value.clear();
  }
  RegCloseKey(key);
  if (type == REG_EXPAND_SZ && !value.empty()) {
    wchar_t buf[4096];
    DWORD n = ExpandEnvironmentStringsW(value.c_str(), buf, 4096);
    if (n > 0 && n <= 4096) value = buf;
  }
  return narrow(value);
}

bool Win32Registry::writeMachineText(const std::string& keyPath, const std::string& name, const std::string& value) {
  HKEY key;
  if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, widen(keyPath).c_str(), 0, nullptr, 0, KEY_SET_VALUE | KEY_WOW64_64KEY,
                      nullptr, &key, nullptr) != ERROR_SUCCESS)
    return false;
  std::wstring v = widen(value);
  // Expandable, as Windows itself stores this value, so %SystemRoot% works for every reader.
  LONG r = RegSetValueExW(key, widen(name).c_str(), 0, REG_EXPAND_SZ, reinterpret_cast<const BYTE*>(v.c_str()),
                          static_cast<DWORD>((v.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(key);
  return r == ERROR_SUCCESS;
}

namespace {
std::string shellFolder(int csidl) {
  wchar_t buf[MAX_PATH] = {};
  if (FAILED(SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, buf))) return {};
  return narrow(buf) + "\\";
}
std::wstring modulePath() {
  std::wstring buf(MAX_PATH, L'\0');
  for (;;) {
    DWORD n = GetModuleFileNameW(nullptr, buf.data(), static_cast<DWORD>(buf.size()));
    if (n < buf.size()) return buf.substr(0, n);
    buf.resize(buf.size() * 2);
  }
}
}  // namespace

std::string Win32Folders::appData() {
  return shellFolder(CSIDL_APPDATA);
}
std::string Win32Folders::desktop() {
  return shellFolder(CSIDL_DESKTOPDIRECTORY);
}
std::string Win32Folders::system() {
  wchar_t buf[MAX_PATH] = {};
  UINT n = GetSystemDirectoryW(buf, MAX_PATH);
  return n ? narrow(buf) + "\\" : std::string("C:\\Windows\\system32\\");
}
std::string Win32Folders::ownFolder() {
  std::wstring p = modulePath();
  return narrow(p.substr(0, p.find_last_of(L'\\')));
}
std::string Win32Folders::ownFileName() {
  std::wstring p = modulePath();
  return narrow(p.substr(p.find_last_of(L'\\') + 1));
}

bool Win32Processes::runHidden(const std::string& commandLine) {
  std::wstring cmd = widen(commandLine);
  STARTUPINFOW si{};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESHOWWINDOW;
  si.wShowWindow = SW_HIDE;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr, &si, &pi))
    return false;
  WaitForInputIdle(pi.hProcess, 1000);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return true;
}

bool Win32Shell::open(const std::string& target) {
  return reinterpret_cast<INT_PTR>(
             ShellExecuteW(nullptr, L"open", widen(target).c_str(), nullptr, nullptr, SW_SHOWNORMAL)) > 32;
}

bool Win32Shell::explore(const std::string& folder) {
  return reinterpret_cast<INT_PTR>(
             ShellExecuteW(nullptr, L"explore", widen(folder).c_str(), nullptr, nullptr, SW_SHOWNORMAL)) > 32;
}

LocalTime Win32Clock::now() {
  SYSTEMTIME t;
  GetLocalTime(&t);
  return LocalTime{t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond};
}

int Win32Random::between(int low, int high) {
  return std::uniform_int_distribution<int>(low, high)(gen_);
}

Answer Win32Prompter::show(const std::string& text, const std::string& title, unsigned flags) {
  int r = MessageBoxW(nullptr, widen(text).c_str(), widen(title).c_str(), flags | MB_TASKMODAL);
  return r == IDYES ? Answer::Yes : r == IDNO ? Answer::No : Answer::Ok;
}

}  // namespace zk::win
