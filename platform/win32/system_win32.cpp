#include <windows.h>

#include <commdlg.h>
#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>
#include <vector>

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
std::string Win32Folders::startMenu() {
  return shellFolder(CSIDL_STARTMENU);
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
  return run(commandLine, true);
}

bool Win32Processes::runNormal(const std::string& commandLine) {
  return run(commandLine, false);
}

bool Win32Processes::run(const std::string& commandLine, bool hidden) {
  std::wstring cmd = widen(commandLine);
  STARTUPINFOW si{};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESHOWWINDOW;
  si.wShowWindow = hidden ? SW_HIDE : SW_SHOWNORMAL;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, FALSE, hidden ? CREATE_NO_WINDOW : 0, nullptr, nullptr,
                      &si, &pi))
    return false;
  WaitForInputIdle(pi.hProcess, 1000);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return true;
}

// A wait that nothing stops: the same start, in a job that is never ended.
ProcessOutcome Win32Processes::runHiddenAndWait(const std::string& commandLine, const std::string& workingFolder,
                                                int capMs) {
  return runHiddenTreeAndWait(commandLine, workingFolder, capMs, std::stop_token{});
}

ProcessOutcome Win32Processes::runHiddenTreeAndWait(const std::string& commandLine, const std::string& workingFolder,
                                                    int capMs, std::stop_token stop) {
  ProcessOutcome outcome;
  if (stop.stop_requested()) return outcome;
  std::wstring cmd = widen(commandLine);
  std::wstring folder = widen(workingFolder);
  STARTUPINFOW si{};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESHOWWINDOW;
  si.wShowWindow = SW_HIDE;
  PROCESS_INFORMATION pi{};
  // Started suspended so that it is in the job before it can start anything of its own.
  if (!CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW | CREATE_SUSPENDED, nullptr,
                      folder.empty() ? nullptr : folder.c_str(), &si, &pi))
    return outcome;
  outcome.started = true;
  HANDLE job = CreateJobObjectW(nullptr, nullptr);
  // Where the job cannot be had (a system that refuses nested jobs), the process alone is ended.
  bool inJob = job && AssignProcessToJobObject(job, pi.hProcess);
  ResumeThread(pi.hThread);
  CloseHandle(pi.hThread);
  HANDLE stopped = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  {
    std::stop_callback onStop(stop, [stopped] { SetEvent(stopped); });
    HANDLE waits[2] = {pi.hProcess, stopped};
    DWORD r = WaitForMultipleObjects(stopped ? 2 : 1, waits, FALSE, static_cast<DWORD>(capMs < 0 ? 0 : capMs));
    if (r == WAIT_OBJECT_0) {
      DWORD code = 0;
      outcome.ended = GetExitCodeProcess(pi.hProcess, &code) != 0;
      outcome.exitCode = code;
    } else if (r == WAIT_OBJECT_0 + 1) {
      if (inJob)
        TerminateJobObject(job, 1);
      else
        TerminateProcess(pi.hProcess, 1);
      // Its files (the output file above all) are free once it is gone.
      WaitForSingleObject(pi.hProcess, 2000);
    }
  }
  if (stopped) CloseHandle(stopped);
  // Closing the job leaves a process that outlived the cap running, as the plain wait does.
  if (job) CloseHandle(job);
  CloseHandle(pi.hProcess);
  return outcome;
}

std::optional<std::string> Win32DomainNames::toAscii(const std::string& utf8) {
  using IdnToAsciiFn = int(WINAPI*)(DWORD, LPCWSTR, int, LPWSTR, int);
  static IdnToAsciiFn convert = [] {
    HMODULE lib = LoadLibraryW(L"normaliz.dll");
    return lib ? reinterpret_cast<IdnToAsciiFn>(reinterpret_cast<void*>(GetProcAddress(lib, "IdnToAscii"))) : nullptr;
  }();
  std::wstring name = widen(utf8);
  if (!convert || name.empty() || name.size() > 1024) return std::nullopt;
  wchar_t out[256];
  int n = convert(0, name.c_str(), static_cast<int>(name.size()), out, 255);
  if (n <= 0) return std::nullopt;
  return narrow(std::wstring_view(out, static_cast<std::size_t>(n)));
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

std::uint64_t Win32Clock::millisecondsSinceStart() {
  return GetTickCount64();
}

int Win32Random::between(int low, int high) {
  return std::uniform_int_distribution<int>(low, high)(gen_);
}

Answer Win32Prompter::show(const std::string& text, const std::string& title, unsigned flags) {
  int r = MessageBoxW(nullptr, widen(text).c_str(), widen(title).c_str(), flags | MB_TASKMODAL);
  return r == IDYES ? Answer::Yes : r == IDNO ? Answer::No : Answer::Ok;
}

std::optional<std::string> Win32Clipboard::text() {
  // Another program may hold the clipboard for a moment.
  bool opened = false;
  for (int i = 0; i < 10 && !(opened = OpenClipboard(nullptr)); ++i) Sleep(10);
  if (!opened) return std::nullopt;
  std::optional<std::string> out;
  if (HANDLE h = GetClipboardData(CF_UNICODETEXT)) {
    if (auto* p = static_cast<const wchar_t*>(GlobalLock(h))) {
      std::size_t limit = GlobalSize(h) / sizeof(wchar_t);
      std::size_t n = 0;
      while (n < limit && p[n]) ++n;
      out = narrow(std::wstring_view(p, n));
      GlobalUnlock(h);
    }
  }
  CloseClipboard();
  return out;
}

bool Win32Clipboard::setText(const std::string& utf8) {
  std::wstring w = widen(utf8);
  HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, (w.size() + 1) * sizeof(wchar_t));
  if (!mem) return false;
  if (auto* p = static_cast<wchar_t*>(GlobalLock(mem))) {
    std::copy(w.c_str(), w.c_str() + w.size() + 1, p);
    GlobalUnlock(mem);
  }
  bool opened = false;
  for (int i = 0; i < 10 && !(opened = OpenClipboard(nullptr)); ++i) Sleep(10);
  if (!opened) {
    GlobalFree(mem);
    return false;
  }
  bool ok = EmptyClipboard() && SetClipboardData(CF_UNICODETEXT, mem);
  if (!ok) GlobalFree(mem);  // the clipboard owns it only once it is set
  CloseClipboard();
  return ok;
}

std::optional<std::string> Win32FileDialogs::show(const FileDialogRequest& r) {
  std::wstring title = widen(r.title), folder = widen(r.folder);
  std::vector<wchar_t> file(32768, L'\0');
  std::wstring name = widen(r.name);
  std::copy_n(name.c_str(), std::min(name.size(), file.size() - 1), file.data());
  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = GetActiveWindow();
  ofn.lpstrFile = file.data();
  ofn.nMaxFile = static_cast<DWORD>(file.size());
  ofn.lpstrTitle = title.empty() ? nullptr : title.c_str();
  ofn.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
  ofn.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_NOCHANGEDIR |
              (r.save ? OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST : OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST);
  BOOL ok = r.save ? GetSaveFileNameW(&ofn) : GetOpenFileNameW(&ofn);
  if (!ok) return std::nullopt;
  return narrow(file.data());
}

}  // namespace zk::win
