#include "platform/win32/shell_links_win32.h"

#include <windows.h>

#include <objbase.h>
#include <oleauto.h>
#include <shldisp.h>
#include <shlobj.h>

#include "platform/win32/wide.h"

namespace zk::win {

namespace {

// COM for the length of one call: an apartment already set up on this thread is used as it is,
// and only a successful initialisation here (S_OK or S_FALSE) is undone.
class ComScope {
 public:
  ComScope() : hr_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
  ~ComScope() {
    if (SUCCEEDED(hr_)) CoUninitialize();
  }
  ComScope(const ComScope&) = delete;
  ComScope& operator=(const ComScope&) = delete;
  bool usable() const { return SUCCEEDED(hr_) || hr_ == RPC_E_CHANGED_MODE; }

 private:
  HRESULT hr_;
};

// Holds one interface pointer and releases it.
template <class T>
class Com {
 public:
  Com() = default;
  ~Com() {
    if (p_) p_->Release();
  }
  Com(const Com&) = delete;
  Com& operator=(const Com&) = delete;
  T** out() { return &p_; }
  void** outVoid() { return reinterpret_cast<void**>(&p_); }
  T* operator->() const { return p_; }
  explicit operator bool() const { return p_ != nullptr; }
  T* get() const { return p_; }

 private:
  T* p_ = nullptr;
};

// A BSTR freed at the end of its scope.
class Bstr {
 public:
  explicit Bstr(const std::wstring& s) : b_(SysAllocStringLen(s.data(), static_cast<UINT>(s.size()))) {}
  Bstr() = default;
  ~Bstr() { SysFreeString(b_); }
  Bstr(const Bstr&) = delete;
  Bstr& operator=(const Bstr&) = delete;
  BSTR get() const { return b_; }
  BSTR* out() { return &b_; }

 private:
  BSTR b_ = nullptr;
};

// The pin verb's name is string 5386 of the system's shell32.dll.
constexpr UINT kPinVerbString = 5386;

std::wstring systemDllPath(const wchar_t* name) {
  wchar_t buf[MAX_PATH] = {};
  UINT n = GetSystemDirectoryW(buf, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return {};
  return std::wstring(buf, n) + L"\\" + name;
}

}  // namespace

bool Win32ShellLinks::saveShortcut(const std::string& linkPath, const std::string& target,
                                   const std::string& description, const std::string& workingFolder) {
  ComScope com;
  if (!com.usable()) return false;
  Com<IShellLinkW> link;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, link.outVoid())))
    return false;
  if (FAILED(link->SetPath(widen(target).c_str())) || FAILED(link->SetDescription(widen(description).c_str())) ||
      FAILED(link->SetWorkingDirectory(widen(workingFolder).c_str())))
    return false;
  Com<IPersistFile> file;
  if (FAILED(link->QueryInterface(IID_IPersistFile, file.outVoid()))) return false;
  return SUCCEEDED(file->Save(widen(linkPath).c_str(), TRUE));
}

std::string Win32ShellLinks::pinVerbName() {
  const std::wstring path = systemDllPath(L"shell32.dll");
  if (path.empty()) return {};
  HMODULE shell32 = LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  if (!shell32) return {};
  wchar_t buf[256] = {};
  int n = LoadStringW(shell32, kPinVerbString, buf, 256);
  FreeLibrary(shell32);
  return n > 0 ? narrow(std::wstring_view(buf, static_cast<std::size_t>(n))) : std::string();
}

// Runs every verb of folder\fileName whose name is exactly verbName, in the shell's order.
bool Win32ShellLinks::runVerbNamed(const std::string& folder, const std::string& fileName,
                                   const std::string& verbName) {
  // An empty name would match every verb the shell lists without a name.
  if (verbName.empty()) return false;
  // Only a file that is there is handed to the shell: some shells fail badly on a folder or a
  // name that does not exist instead of refusing it.
  const DWORD attributes = GetFileAttributesW(widen(folder + "\\" + fileName).c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) return false;
  ComScope com;
  if (!com.usable()) return false;
  CLSID shellClass;
  if (FAILED(CLSIDFromProgID(L"Shell.Application", &shellClass))) return false;
  Com<IShellDispatch> shell;
  if (FAILED(CoCreateInstance(shellClass, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER, IID_IShellDispatch,
                              shell.outVoid())))
    return false;
  Bstr folderName(widen(folder));
  VARIANT where;
  VariantInit(&where);
  where.vt = VT_BSTR;
  where.bstrVal = folderName.get();  // still owned by folderName
  Com<Folder> space;
  if (FAILED(shell->NameSpace(where, space.out())) || !space) return false;
  Bstr itemName(widen(fileName));
  Com<FolderItem> item;
  if (FAILED(space->ParseName(itemName.get(), item.out())) || !item) return false;
  Com<FolderItemVerbs> verbs;
  if (FAILED(item->Verbs(verbs.out())) || !verbs) return false;
  long count = 0;
  if (FAILED(verbs->get_Count(&count))) return false;
  bool ran = false;
  for (long i = 0; i < count; ++i) {
    VARIANT index;
    VariantInit(&index);
    index.vt = VT_I4;
    index.lVal = i;
    Com<FolderItemVerb> verb;
    if (FAILED(verbs->Item(index, verb.out())) || !verb) continue;
    Bstr name;
    if (FAILED(verb->get_Name(name.out())) || !name.get()) continue;
    if (isVerbNamed(narrow(std::wstring_view(name.get(), SysStringLen(name.get()))), verbName) &&
        SUCCEEDED(verb->DoIt()))
      ran = true;
  }
  return ran;
}

}  // namespace zk::win
