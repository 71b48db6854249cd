#include "ui/editor_window.h"

#include <algorithm>
#include <vector>

#include "editor/hosts_colouring.h"
#include "platform/win32/wide.h"
#include "ui/art.h"

namespace zk::ui {
namespace {

constexpr int kWidth = 800, kHeight = 560;
constexpr COLORREF kYellow = RGB(255, 255, 0), kWhite = RGB(255, 255, 255);

struct Button {
  int id;
  const char* caption;
  const char* tip;
  int width;
};

const Button kButtons[] = {
    {IDT_ED_LOAD, "读取", "读取系统文件到编辑器", 32},
    {IDT_ED_DEFAULT, "引入原始", "引入Windows原生Hosts文件到编辑器中", 58},
    {IDT_ED_IMPORT, "导入", "导入文件到编辑器", 32},
    {IDT_ED_SAVE, "保存", "将编辑器中的内容保存到系统中", 32},
    {IDT_ED_SAVE_AS, "另存", "将编辑器中的内容另存一份到别处", 32},
    {IDT_ED_DESKTOP, "存桌", "将编辑器中的内容保存到桌面", 32},
    {IDT_ED_COPY, "复制", "复制编辑器中的内容到剪切板", 32},
    {IDT_ED_PASTE, "粘贴", "将有内容的剪切板粘贴到编辑器中", 32},
    {IDT_ED_CLEAR, "清空", "清空编辑器的内容", 32},
    {IDT_ED_FIND, "查找", "查找编辑器中的关键字", 32},
    {IDT_ED_REPLACE, "替换", "将编辑器中的特定内容进行替换", 32},
    {IDT_ED_COMMENT, "注释", "对选中的内容进行注释，已注释将会取消注释，快捷键（F3）", 32},
    {IDT_ED_PACK, "打包", "将编辑器中的内容进行特定打包，运用多处", 32},
    {IDT_ED_FETCH, "获取数据", "回到主界面，一键获取！", 58},
};

}  // namespace

bool EditorWindow::registerComponent() {
  static bool registered = Scintilla_RegisterClasses(GetModuleHandleW(nullptr)) != 0;
  return registered;
}

HWND EditorWindow::open() {
  registerComponent();
  dragStrip_ = 40;
  std::vector<ControlSpec> c = {{IDB_ED_CLOSE, Kind::ClickLabel, "×", kWidth - 34, 6, 26, 26}};
  int x = 12;
  for (const Button& b : kButtons) {
    c.push_back({b.id, Kind::ClickLabel, b.caption, x, 52, b.width, 20, b.tip});
    x += b.width + 6;
  }
  c.push_back({IDE_ED_QUICK, Kind::Edit, "", kWidth - 190, 50, 150, 24, "输入关键词，进行搜索"});
  c.push_back({IDT_ED_QUICK_ICON, Kind::Picture, "", kWidth - 36, 50, 24, 24});
  c.push_back({IDP_ED_STRIP, Kind::Picture, "", 0, 44, 0, 3});
  HWND h = create(L"ZelkoraEditor", "Hosts编辑器", kWidth, kHeight,
                  WS_POPUP | WS_CLIPCHILDREN | WS_SYSMENU | WS_MINIMIZEBOX, WS_EX_APPWINDOW, c);
  setVisible(IDP_ED_STRIP, false);
  setUpDocument();
  using C = EditorCommand;
  bindCommands({{IDB_ED_CLOSE, int(C::Close)},
                {IDT_ED_LOAD, int(C::Load)},
                {IDT_ED_DEFAULT, int(C::InsertDefault)},
                {IDT_ED_IMPORT, int(C::Import)},
                {IDT_ED_SAVE, int(C::Save)},
                {IDT_ED_SAVE_AS, int(C::SaveAs)},
                {IDT_ED_DESKTOP, int(C::SaveToDesktop)},
                {IDT_ED_COPY, int(C::Copy)},
                {IDT_ED_PASTE, int(C::Paste)},
                {IDT_ED_CLEAR, int(C::Clear)},
                {IDT_ED_FIND, int(C::Find)},
                {IDT_ED_REPLACE, int(C::Replace)},
                {IDT_ED_COMMENT, int(C::Comment)},
                {IDT_ED_PACK, int(C::Pack)},
                {IDT_ED_FETCH, int(C::Fetch)},
                {IDT_ED_QUICK_ICON, int(C::QuickSearch)}},
               int(C::Close));
  bindKey(IDE_ED_QUICK, VK_RETURN, int(C::QuickSearch));
  bindKey(IDE_ED_DOCUMENT, VK_F3, int(C::Comment));
  return h;
}

void EditorWindow::setUpDocument() {
  document_ = CreateWindowExW(WS_EX_CLIENTEDGE, L"Scintilla", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_CLIPCHILDREN,
                              s(8), s(82), s(kWidth - 16), s(kHeight - 90), hwnd(),
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDE_ED_DOCUMENT)), GetModuleHandleW(nullptr),
                              nullptr);
  direct_ = reinterpret_cast<Direct>(SendMessageW(document_, SCI_GETDIRECTFUNCTION, 0, 0));
  directPtr_ = static_cast<sptr_t>(SendMessageW(document_, SCI_GETDIRECTPOINTER, 0, 0));
  setUpDocumentState();
  call(SCI_SETWRAPMODE, SC_WRAP_NONE);
  call(SCI_SETSCROLLWIDTHTRACKING, 1);
  call(SCI_SETSCROLLWIDTH, 1);
  call(SCI_SETMARGINWIDTHN, 1, 0);
  call(SCI_SETMODEVENTMASK, SC_MOD_INSERTTEXT | SC_MOD_DELETETEXT);
  call(SCI_STYLESETFONT, STYLE_DEFAULT, reinterpret_cast<sptr_t>("微软雅黑"));
  call(SCI_STYLESETSIZE, STYLE_DEFAULT, 9);
  call(SCI_STYLECLEARALL);
  call(SCI_STYLESETFORE, kCommentStyle, RGB(0, 128, 0));
  call(SCI_STYLESETFORE, kAddressStyle, RGB(0, 64, 192));
  call(SCI_STYLESETFORE, kNameStyle, RGB(128, 0, 64));
  call(SCI_SETMARGINTYPEN, 0, SC_MARGIN_NUMBER);
  call(SCI_SETMARGINWIDTHN, 0, call(SCI_TEXTWIDTH, STYLE_LINENUMBER, reinterpret_cast<sptr_t>("_999999")));
  // The document counts as a key-bound input for F3.
  SetWindowLongPtrW(document_, GWLP_ID, IDE_ED_DOCUMENT);
}

void EditorWindow::setUpDocumentState() {
  call(SCI_SETCODEPAGE, SC_CP_UTF8);
  call(SCI_SETEOLMODE, SC_EOL_CRLF);
  // Character positions of the logic are mapped through this index, in time independent of size.
  call(SCI_ALLOCATELINECHARACTERINDEX, SC_LINECHARACTERINDEX_UTF32);
}

void EditorWindow::useDocumentFor(std::size_t bytes) {
  bool styled = bytes <= kColouringLimitBytes;
  if (styled == styledDocument_) return;
  int options = styled ? SC_DOCUMENTOPTION_DEFAULT : SC_DOCUMENTOPTION_STYLES_NONE | SC_DOCUMENTOPTION_TEXT_LARGE;
  sptr_t doc = call(SCI_CREATEDOCUMENT, bytes + 1, options);
  if (!doc) return;  // no memory for a new one: the text goes into the current document
  call(SCI_SETDOCPOINTER, 0, doc);
  call(SCI_RELEASEDOCUMENT, 0, doc);  // the view holds it now
  styledDocument_ = styled;
  setUpDocumentState();
}

// The direct pointer is the component's own object: from WM_DESTROY on it is being freed, and a
// call (a worker's result arriving late) reaches nothing.
sptr_t EditorWindow::call(unsigned message, uptr_t wp, sptr_t lp) const {
  if (!direct_ || !live()) return 0;
  return direct_(directPtr_, message, wp, lp);
}

std::string EditorWindow::text() const {
  auto n = static_cast<std::size_t>(call(SCI_GETLENGTH));
  const char* p = reinterpret_cast<const char*>(call(SCI_GETCHARACTERPOINTER));
  return p ? std::string(p, n) : std::string();
}

std::size_t EditorWindow::textBytes() const {
  return static_cast<std::size_t>(call(SCI_GETLENGTH));
}

void EditorWindow::setText(const std::string& t, bool undoable) {
  // A big text is coloured only where it is shown, and not at all above the limit.
  colouring_ = t.size() <= kColouringLimitBytes;
  useDocumentFor(t.size());  // a new document has nothing to undo
  if (!undoable) call(SCI_SETUNDOCOLLECTION, 0);
  call(SCI_SETTEXT, 0, reinterpret_cast<sptr_t>(t.c_str()));
  if (!undoable) {
    call(SCI_EMPTYUNDOBUFFER);
    call(SCI_SETUNDOCOLLECTION, 1);
  }
}

std::size_t EditorWindow::charOfPosition(std::size_t pos) const {
  sptr_t line = call(SCI_LINEFROMPOSITION, pos);
  sptr_t lineStart = call(SCI_POSITIONFROMLINE, line);
  return static_cast<std::size_t>(call(SCI_INDEXPOSITIONFROMLINE, line, SC_LINECHARACTERINDEX_UTF32) +
                                  call(SCI_COUNTCHARACTERS, lineStart, pos));
}

std::size_t EditorWindow::positionOfChar(std::size_t ch) const {
  sptr_t line = call(SCI_LINEFROMINDEXPOSITION, ch, SC_LINECHARACTERINDEX_UTF32);
  sptr_t lineStart = call(SCI_POSITIONFROMLINE, line);
  sptr_t within = static_cast<sptr_t>(ch) - call(SCI_INDEXPOSITIONFROMLINE, line, SC_LINECHARACTERINDEX_UTF32);
  if (within <= 0) return static_cast<std::size_t>(lineStart);
  sptr_t pos = call(SCI_POSITIONRELATIVE, lineStart, within);
  return static_cast<std::size_t>(pos > 0 ? pos : call(SCI_GETLENGTH));
}

Selection EditorWindow::selection() const {
  std::size_t a = charOfPosition(call(SCI_GETSELECTIONSTART));
  std::size_t b = charOfPosition(call(SCI_GETSELECTIONEND));
  return {a, b - a};
}

void EditorWindow::select(Selection sel) {
  call(SCI_SETSEL, positionOfChar(sel.start), positionOfChar(sel.start + sel.length));
}

std::string EditorWindow::selectedText() const {
  sptr_t a = call(SCI_GETSELECTIONSTART), b = call(SCI_GETSELECTIONEND);
  const char* p = reinterpret_cast<const char*>(call(SCI_GETRANGEPOINTER, a, b - a));
  return p ? std::string(p, static_cast<std::size_t>(b - a)) : std::string();
}

void EditorWindow::useStreamSelection() {
  sptr_t n = call(SCI_GETSELECTIONS);
  if (n <= 1 && call(SCI_GETSELECTIONMODE) == SC_SEL_STREAM) return;
  sptr_t from = call(SCI_GETLENGTH), to = 0;
  for (sptr_t i = 0; i < n; ++i) {
    from = std::min(from, call(SCI_GETSELECTIONNSTART, static_cast<uptr_t>(i)));
    to = std::max(to, call(SCI_GETSELECTIONNEND, static_cast<uptr_t>(i)));
  }
  if (to < from) to = from;
  // One plain selection again (clearing also leaves the rectangular mode), then its limits.
  call(SCI_CLEARSELECTIONS);
  call(SCI_SETSEL, from, to);
}

void EditorWindow::replaceSelection(const std::string& t) {
  call(SCI_REPLACESEL, 0, reinterpret_cast<sptr_t>(t.c_str()));
}

void EditorWindow::selectAll() {
  call(SCI_SELECTALL);
}

void EditorWindow::setSaveIndicator(bool changed) {
  setTextColour(IDT_ED_SAVE, changed ? Rgb{255, 255, 0} : Rgb{255, 255, 255});
  InvalidateRect(ctl(IDT_ED_SAVE), nullptr, TRUE);
}

void EditorWindow::setStrip(bool visible, int width) {
  stripWidth_ = width;
  move(IDP_ED_STRIP, 0, 44, width, 3);
  setVisible(IDP_ED_STRIP, visible);
}

void EditorWindow::close() {
  if (!live()) return;
  ShowWindow(hwnd(), SW_HIDE);
  destroyLater();
}

// Styles from where styling stopped (a line start) up to what is about to be shown.
void EditorWindow::colour(std::size_t upTo) {
  sptr_t from = call(SCI_POSITIONFROMLINE, call(SCI_LINEFROMPOSITION, call(SCI_GETENDSTYLED)));
  sptr_t to = static_cast<sptr_t>(upTo);
  if (to <= from) return;
  if (!colouring_) {
    call(SCI_STARTSTYLING, from);
    call(SCI_SETSTYLING, to - from, kPlainStyle);
    return;
  }
  const char* p = reinterpret_cast<const char*>(call(SCI_GETRANGEPOINTER, from, to - from));
  std::vector<char> styles(static_cast<std::size_t>(to - from));
  styleHostsText(std::string_view(p, styles.size()), styles.data());
  call(SCI_STARTSTYLING, from);
  call(SCI_SETSTYLINGEX, styles.size(), reinterpret_cast<sptr_t>(styles.data()));
}

LRESULT EditorWindow::handle(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_DESTROY) {
    direct_ = nullptr;
    directPtr_ = 0;
    document_ = nullptr;
  }
  if (msg == WM_NOTIFY && document_) {
    auto* n = reinterpret_cast<SCNotification*>(lp);
    if (n->nmhdr.hwndFrom == document_) {
      if (n->nmhdr.code == SCN_MODIFIED && (n->modificationType & (SC_MOD_INSERTTEXT | SC_MOD_DELETETEXT)) &&
          onTextChanged)
        onTextChanged();
      else if (n->nmhdr.code == SCN_STYLENEEDED)
        colour(static_cast<std::size_t>(n->position));
      return 0;
    }
  }
  return Form::handle(msg, wp, lp);
}

void EditorWindow::paintBackground(HDC dc, int w, int h) {
  titledBackground(dc, w, h, RGB(36, 58, 96), RGB(18, 26, 44), L"Hosts编辑器");
}

void EditorWindow::paintPicture(int id, HDC dc, const RECT& r) {
  if (id == IDP_ED_STRIP) {
    HBRUSH b = CreateSolidBrush(RGB(255, 200, 0));
    FillRect(dc, &r, b);
    DeleteObject(b);
  } else if (id == IDT_ED_QUICK_ICON) {
    art::magnifier(dc, r);
  }
}

}  // namespace zk::ui
