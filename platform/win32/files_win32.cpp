#include <windows.h>

#include "platform/win32/wide.h"
#include "platform/win32/win32_platform.h"

namespace zk::win {

namespace {

struct Handle {
  HANDLE h;
  ~Handle() {
    if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
  }
};

bool removeTree(const std::wstring& dir) {
  DWORD attr = GetFileAttributesW(dir.c_str());
  if (attr == INVALID_FILE_ATTRIBUTES) return false;
  if (attr & FILE_ATTRIBUTE_READONLY) SetFileAttributesW(dir.c_str(), attr & ~FILE_ATTRIBUTE_READONLY);
  // A junction or symbolic link is removed itself; what it points at is never touched.
  if (!(attr & FILE_ATTRIBUTE_REPARSE_POINT)) {
    WIN32_FIND_DATAW fd;
    HANDLE find = FindFirstFileW((dir + L"\\*").c_str(), &fd);
    if (find != INVALID_HANDLE_VALUE) {
      do {
        std::wstring name = fd.cFileName;
        if (name == L"." || name == L"..") continue;
        std::wstring full = dir + L"\\" + name;
        if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
          removeTree(full);
        } else {
          if (fd.dwFileAttributes & FILE_ATTRIBUTE_READONLY) SetFileAttributesW(full.c_str(), FILE_ATTRIBUTE_NORMAL);
          DeleteFileW(full.c_str());
        }
      } while (FindNextFileW(find, &fd));
      FindClose(find);
    }
  }
  return RemoveDirectoryW(dir.c_str()) != 0;
}

}  // namespace

std::optional<std::string> Win32FileSystem::readFile(const std::string& path) {
  Handle f{CreateFileW(widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                       nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)};
  if (f.h == INVALID_HANDLE_VALUE) return std::nullopt;
  LARGE_INTEGER size;
  if (!GetFileSizeEx(f.h, &size) || size.QuadPart > 0x7FFFFFFF) return std::nullopt;
  std::string bytes(static_cast<size_t>(size.QuadPart), '\0');
  size_t done = 0;
  while (done < bytes.size()) {
    DWORD got = 0;
    if (!ReadFile(f.h, bytes.data() + done, static_cast<DWORD>(bytes.size() - done), &got, nullptr))
      return std::nullopt;
    if (got == 0) break;
    done += got;
  }
  bytes.resize(done);
  return bytes;
}

bool Win32FileSystem::writeFile(const std::string& path, std::string_view bytes) {
  return write(path, bytes, false);
}

bool Win32FileSystem::readChunks(const std::string& path, const std::function<bool(std::string_view)>& onChunk) {
  Handle f{CreateFileW(widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                       nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr)};
  if (f.h == INVALID_HANDLE_VALUE) return false;
  std::string buffer(1 << 20, '\0');
  for (;;) {
    DWORD got = 0;
    if (!ReadFile(f.h, buffer.data(), static_cast<DWORD>(buffer.size()), &got, nullptr)) return false;
    if (got == 0 || !onChunk(std::string_view(buffer.data(), got))) return true;
  }
}

bool Win32FileSystem::writeFileDurably(const std::string& path, std::string_view bytes) {
  return write(path, bytes, true);
}

bool Win32FileSystem::moveFile(const std::string& from, const std::string& to) {
  return MoveFileExW(widen(from).c_str(), widen(to).c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

// ReplaceFileW keeps the target's security descriptor, attributes and identity; a rename would
// give the file the new file's ACL.
bool Win32FileSystem::replaceFile(const std::string& target, const std::string& replacement,
                                  const std::string& backup) {
  std::wstring t = widen(target), r = widen(replacement), b = widen(backup);
  DWORD attr = GetFileAttributesW(t.c_str());
  if (attr == INVALID_FILE_ATTRIBUTES) return MoveFileExW(r.c_str(), t.c_str(), MOVEFILE_WRITE_THROUGH) != 0;
  // A replace that is bound to fail is not tried: under Wine every failed ReplaceFileW leaves an
  // empty rf*.tmp beside the target. It fails on a read-only target, and on one that somebody
  // holds open without letting it be deleted (antivirus, the DNS client): the same open finds
  // that out and leaves nothing behind.
  if (attr & FILE_ATTRIBUTE_READONLY) {
    SetLastError(ERROR_ACCESS_DENIED);
    return false;
  }
  {
    Handle probe{CreateFileW(t.c_str(), GENERIC_READ | DELETE | SYNCHRONIZE,
                             FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                             FILE_ATTRIBUTE_NORMAL, nullptr)};
    if (probe.h == INVALID_HANDLE_VALUE) return false;
  }
  return ReplaceFileW(t.c_str(), r.c_str(), b.empty() ? nullptr : b.c_str(), REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr,
                      nullptr) != 0;
}

bool Win32FileSystem::write(const std::string& path, std::string_view bytes, bool flush) {
  // Windows refuses to truncate a read-only file, and a hidden or system one opened without
  // those attributes. Checked here too, so that the refusal is the same where the process could
  // write anyway (Wine running as root).
  DWORD attr = GetFileAttributesW(widen(path).c_str());
  if (attr != INVALID_FILE_ATTRIBUTES && !(attr & FILE_ATTRIBUTE_DIRECTORY) &&
      (attr & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM))) {
    SetLastError(ERROR_ACCESS_DENIED);
    return false;
  }
  Handle f{CreateFileW(widen(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                       FILE_ATTRIBUTE_NORMAL, nullptr)};
  if (f.h == INVALID_HANDLE_VALUE) return false;
  size_t done = 0;
  while (done < bytes.size()) {
    DWORD put = 0;
    DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 24));
    if (!WriteFile(f.h, bytes.data() + done, chunk, &put, nullptr) || put == 0) return false;
    done += put;
  }
  return !flush || FlushFileBuffers(f.h);
}

bool Win32FileSystem::fileExists(const std::string& path) {
  DWORD a = GetFileAttributesW(widen(path).c_str());
  return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

std::optional<std::vector<FileSystem::FolderItem>> Win32FileSystem::listFolder(const std::string& path) {
  WIN32_FIND_DATAW fd;
  HANDLE find = FindFirstFileW((widen(path) + L"\\*").c_str(), &fd);
  if (find == INVALID_HANDLE_VALUE) return std::nullopt;
  std::vector<FolderItem> out;
  do {
    std::wstring name = fd.cFileName;
    if (name == L"." || name == L"..") continue;
    out.push_back({narrow(name), (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0});
  } while (FindNextFileW(find, &fd));
  bool complete = GetLastError() == ERROR_NO_MORE_FILES;
  FindClose(find);
  if (!complete) return std::nullopt;
  return out;
}

bool Win32FileSystem::folderExists(const std::string& path) {
  DWORD a = GetFileAttributesW(widen(path).c_str());
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

std::int64_t Win32FileSystem::fileSize(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA d;
  if (!GetFileAttributesExW(widen(path).c_str(), GetFileExInfoStandard, &d)) return -1;
  if (d.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return -1;
  return (static_cast<std::int64_t>(d.nFileSizeHigh) << 32) | d.nFileSizeLow;
}

bool Win32FileSystem::deleteFile(const std::string& path) {
  return DeleteFileW(widen(path).c_str()) != 0;
}

bool Win32FileSystem::createFolder(const std::string& path) {
  std::wstring w = widen(path);
  if (CreateDirectoryW(w.c_str(), nullptr)) return true;
  return GetLastError() == ERROR_ALREADY_EXISTS && folderExists(path);
}

bool Win32FileSystem::deleteFolderTree(const std::string& path) {
  auto target = deletableFolderPath(path);
  return target && folderExists(*target) && removeTree(widen(*target));
}

std::optional<std::uint32_t> Win32FileSystem::fileAttributes(const std::string& path) {
  DWORD attr = GetFileAttributesW(widen(path).c_str());
  if (attr == INVALID_FILE_ATTRIBUTES || (attr & FILE_ATTRIBUTE_DIRECTORY)) return std::nullopt;
  return attr;
}

bool Win32FileSystem::setAttributes(const std::string& path, std::uint32_t attributes) {
  return SetFileAttributesW(widen(path).c_str(), attributes) != 0;
}

}  // namespace zk::win
