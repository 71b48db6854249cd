#include "ui/web_view.h"

#include <exdisp.h>
#include <mshtmhst.h>
#include <mshtml.h>
#include <ole2.h>

#include <string>

namespace zk::ui {

namespace {
// The system's HTML document class (mshtml), which the browser control shows pages with.
constexpr CLSID kHtmlDocument = {0x25336920, 0x03F9, 0x11CF, {0x8F, 0xD0, 0x00, 0xAA, 0x00, 0x68, 0x6F, 0x13}};

bool isFolder(const std::wstring& path) {
  DWORD a = GetFileAttributesW(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

// Under Wine the HTML engine is an add-on, installed as <system folder>\gecko\<version>\wine_gecko,
// and asking for it where it is missing can open Wine's download dialog. There the engine is
// asked for only when such a folder exists.
bool wineWithoutHtmlEngine() {
  HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  if (!ntdll || !GetProcAddress(ntdll, "wine_get_version")) return false;
  wchar_t system[MAX_PATH];
  UINT n = GetSystemDirectoryW(system, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return true;
  const std::wstring gecko = std::wstring(system, n) + L"\\gecko\\";
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((gecko + L"*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return true;
  bool engine = false;
  do {
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && found.cFileName[0] != L'.')
      engine = isFolder(gecko + found.cFileName + L"\\wine_gecko");
  } while (!engine && FindNextFileW(search, &found));
  FindClose(search);
  return !engine;
}
}  // namespace

// The container side of the control: client site, in-place site and frame, and the host UI
// handler that switches off the border, the scroll bars and the context menu. One object, one
// reference count; the control holds it while it is activated.
class WebView::Site final : public IOleClientSite,
                            public IOleInPlaceSite,
                            public IOleInPlaceFrame,
                            public IDocHostUIHandler {
 public:
  Site(HWND parent, const RECT& area) : parent_(parent), area_(area) {}

  // IUnknown
  STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (iid == IID_IUnknown || iid == IID_IOleClientSite)
      *out = static_cast<IOleClientSite*>(this);
    else if (iid == IID_IOleWindow || iid == IID_IOleInPlaceSite)
      *out = static_cast<IOleInPlaceSite*>(this);
    else if (iid == IID_IOleInPlaceUIWindow || iid == IID_IOleInPlaceFrame)
      *out = static_cast<IOleInPlaceFrame*>(this);
    else if (iid == IID_IDocHostUIHandler)
      *out = static_cast<IDocHostUIHandler*>(this);
    else
      return E_NOINTERFACE;
    AddRef();
    return S_OK;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return ++refs_; }
  STDMETHODIMP_(ULONG) Release() override {
    ULONG left = --refs_;
    if (left == 0) delete this;
    return left;
  }

  // IOleClientSite
  STDMETHODIMP SaveObject() override { return E_NOTIMPL; }
  STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker** m) override {
    if (m) *m = nullptr;
    return E_NOTIMPL;
  }
  STDMETHODIMP GetContainer(IOleContainer** c) override {
    if (c) *c = nullptr;
    return E_NOINTERFACE;
  }
  STDMETHODIMP ShowObject() override { return S_OK; }
  STDMETHODIMP OnShowWindow(BOOL) override { return S_OK; }
  STDMETHODIMP RequestNewObjectLayout() override { return E_NOTIMPL; }

  // IOleWindow (shared by the site and the frame)
  STDMETHODIMP GetWindow(HWND* w) override {
    if (!w) return E_POINTER;
    *w = parent_;
    return S_OK;
  }
  STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

  // IOleInPlaceSite
  STDMETHODIMP CanInPlaceActivate() override { return S_OK; }
  STDMETHODIMP OnInPlaceActivate() override { return S_OK; }
  STDMETHODIMP OnUIActivate() override { return S_OK; }
  STDMETHODIMP GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** doc, LPRECT pos, LPRECT clip,
                                LPOLEINPLACEFRAMEINFO info) override {
    if (frame) {
      *frame = this;
      AddRef();
    }
    if (doc) *doc = nullptr;
    if (pos) *pos = area_;
    if (clip) *clip = area_;
    if (info) {
      info->fMDIApp = FALSE;
      info->hwndFrame = parent_;
      info->haccel = nullptr;
      info->cAccelEntries = 0;
    }
    return S_OK;
  }
  STDMETHODIMP Scroll(SIZE) override { return E_NOTIMPL; }
  STDMETHODIMP OnUIDeactivate(BOOL) override { return S_OK; }
  STDMETHODIMP OnInPlaceDeactivate() override { return S_OK; }
  STDMETHODIMP DiscardUndoState() override { return E_NOTIMPL; }
  STDMETHODIMP DeactivateAndUndo() override { return E_NOTIMPL; }
  STDMETHODIMP OnPosRectChange(LPCRECT) override { return S_OK; }

  // IOleInPlaceUIWindow, IOleInPlaceFrame
  STDMETHODIMP GetBorder(LPRECT) override { return INPLACE_E_NOTOOLSPACE; }
  STDMETHODIMP RequestBorderSpace(LPCBORDERWIDTHS) override { return INPLACE_E_NOTOOLSPACE; }
  STDMETHODIMP SetBorderSpace(LPCBORDERWIDTHS) override { return S_OK; }
  STDMETHODIMP SetActiveObject(IOleInPlaceActiveObject*, LPCOLESTR) override { return S_OK; }
  STDMETHODIMP InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS) override { return E_NOTIMPL; }
  STDMETHODIMP SetMenu(HMENU, HOLEMENU, HWND) override { return S_OK; }
  STDMETHODIMP RemoveMenus(HMENU) override { return E_NOTIMPL; }
  STDMETHODIMP SetStatusText(LPCOLESTR) override { return S_OK; }
  STDMETHODIMP EnableModeless(BOOL) override { return S_OK; }
  STDMETHODIMP TranslateAccelerator(LPMSG, WORD) override { return S_FALSE; }

  // IDocHostUIHandler
  STDMETHODIMP ShowContextMenu(DWORD, POINT*, IUnknown*, IDispatch*) override { return S_OK; }
  STDMETHODIMP GetHostInfo(DOCHOSTUIINFO* info) override {
    if (!info) return E_POINTER;
    info->dwFlags = DOCHOSTUIFLAG_NO3DBORDER | DOCHOSTUIFLAG_SCROLL_NO | DOCHOSTUIFLAG_DIALOG;
    info->dwDoubleClick = DOCHOSTUIDBLCLK_DEFAULT;
    return S_OK;
  }
  STDMETHODIMP ShowUI(DWORD, IOleInPlaceActiveObject*, IOleCommandTarget*, IOleInPlaceFrame*,
                      IOleInPlaceUIWindow*) override {
    return S_OK;
  }
  STDMETHODIMP HideUI() override { return S_OK; }
  STDMETHODIMP UpdateUI() override { return S_OK; }
  STDMETHODIMP OnDocWindowActivate(BOOL) override { return S_OK; }
  STDMETHODIMP OnFrameWindowActivate(BOOL) override { return S_OK; }
  STDMETHODIMP ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL) override { return S_OK; }
  STDMETHODIMP TranslateAccelerator(LPMSG, const GUID*, DWORD) override { return S_FALSE; }
  STDMETHODIMP GetOptionKeyPath(LPOLESTR* key, DWORD) override {
    if (key) *key = nullptr;
    return E_NOTIMPL;
  }
  STDMETHODIMP GetDropTarget(IDropTarget*, IDropTarget** out) override {
    if (out) *out = nullptr;
    return E_NOTIMPL;
  }
  STDMETHODIMP GetExternal(IDispatch** out) override {
    if (out) *out = nullptr;
    return S_FALSE;
  }
  STDMETHODIMP TranslateUrl(DWORD, LPWSTR, LPWSTR* out) override {
    if (out) *out = nullptr;
    return S_FALSE;
  }
  STDMETHODIMP FilterDataObject(IDataObject*, IDataObject** out) override {
    if (out) *out = nullptr;
    return S_FALSE;
  }

 private:
  ~Site() = default;
  ULONG refs_ = 1;
  HWND parent_;
  RECT area_;
};

namespace {
// The HTML engine first: without it the control would come up but never show a page.
bool htmlEngineAvailable() {
  IUnknown* engine = nullptr;
  if (FAILED(CoCreateInstance(kHtmlDocument, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                              reinterpret_cast<void**>(&engine))) ||
      !engine)
    return false;
  engine->Release();
  return true;
}
}  // namespace

bool WebView::create(HWND parent, const RECT& area) {
  destroy();
  if (wineWithoutHtmlEngine()) return false;
  // The control lives in this thread's single-threaded apartment, entered only when it is wanted
  // (not at start-up). Whatever fails on the way, destroy() undoes what was done.
  ole_ = SUCCEEDED(OleInitialize(nullptr));
  RECT pos = area;
  bool ok = ole_ && htmlEngineAvailable() &&
            SUCCEEDED(CoCreateInstance(CLSID_WebBrowser, nullptr, CLSCTX_INPROC_SERVER, IID_IOleObject,
                                       reinterpret_cast<void**>(&object_))) &&
            object_ && (site_ = new Site(parent, area)) &&
            SUCCEEDED(object_->SetClientSite(static_cast<IOleClientSite*>(site_))) &&
            SUCCEEDED(object_->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, static_cast<IOleClientSite*>(site_), 0, parent,
                                      &pos)) &&
            SUCCEEDED(object_->QueryInterface(IID_IWebBrowser2, reinterpret_cast<void**>(&browser_))) && browser_;
  if (!ok) {
    destroy();
    return false;
  }
  browser_->put_Silent(VARIANT_TRUE);  // no script error boxes over the main window
  return true;
}

void WebView::navigate(const std::wstring& url) {
  if (!browser_) return;
  BSTR address = SysAllocStringLen(url.data(), static_cast<UINT>(url.size()));
  VARIANT flags;
  VariantInit(&flags);
  flags.vt = VT_I4;
  flags.lVal = navNoHistory;
  browser_->Navigate(address, &flags, nullptr, nullptr, nullptr);
  SysFreeString(address);
}

void WebView::resize(const RECT& area) {
  if (!browser_) return;
  browser_->put_Left(area.left);
  browser_->put_Top(area.top);
  browser_->put_Width(area.right - area.left);
  browser_->put_Height(area.bottom - area.top);
}

void WebView::destroy() {
  if (browser_) {
    browser_->Stop();
    browser_->Release();
    browser_ = nullptr;
  }
  if (object_) {
    object_->Close(OLECLOSE_NOSAVE);
    object_->SetClientSite(nullptr);
    object_->Release();
    object_ = nullptr;
  }
  if (site_) {
    site_->Release();
    site_ = nullptr;
  }
  if (ole_) {
    OleUninitialize();
    ole_ = false;
  }
}

}  // namespace zk::ui
