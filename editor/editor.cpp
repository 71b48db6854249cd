#include "editor/editor.h"

#include <utility>

#include "editor/document_encoding.h"
#include "resources/fixed_texts.h"
#include "text/gbk.h"
#include "text/replace.h"
#include "text/text.h"

namespace zk {
namespace {

constexpr const char* kChangedQuestion = "内容已被更改，是否保存到系统中？";
constexpr const char* kSaveFailed = "抱歉，保存失败！";
constexpr const char* kUnheldCharacters = "编辑器中有GBK编码无法保存的字符，保存后它们将变成“?”。仍要保存吗？";
constexpr const char* kUnreadBytes = "原文件中有无法识别的字节，保存后这些字节将被改写，与原文件不同。仍要保存吗？";
constexpr const char* kClipboardTooLarge = "粘贴板的内容太大（超过256MB），无法读取。";
constexpr const char* kNothingToSave = "编辑器中只有提示文字，不是系统Hosts文件的内容，未保存。";
constexpr const char* kNothingToPack = "编辑器中只有提示文字，不是系统Hosts文件的内容，未打包。";

const char* statusText(DocumentStatus status) {
  switch (status) {
    case DocumentStatus::Reading: return "读取中...";
    case DocumentStatus::Missing: return "系统Hosts文件不存在。可点击上方 获取。";
    case DocumentStatus::Blank: return "系统Hosts文件是空白的。无内容。可点击上方 获取。";
    case DocumentStatus::Unreadable: return "系统Hosts文件暂时无法读取。可稍后点击上方 读取。";
    case DocumentStatus::Text: break;
  }
  return "";
}
// How long typing pauses before the document is compared with the snapshot.
constexpr int kComparePauseMs = 300;

}  // namespace

EditorLogic::EditorLogic(EditorServices s, EditorView& view, MainView& main)
    : s_(s), view_(view), main_(main), stripTimer_(s.rt, [this] { stripTick(); }) {}

EditorLogic::~EditorLogic() {
  for (TaskSlot slot : {TaskSlot::EditorLoad, TaskSlot::EditorCompare, TaskSlot::EditorCommand, TaskSlot::EditorClose,
                        TaskSlot::QuickSearch})
    s_.rt.stop(slot);
}

void EditorLogic::onCreated() {
  main_.setShown(false);
  s_.rt.start(TaskSlot::EditorLoad, load());
}

// One command at a time: another one while a command runs (a write on a worker, a question open)
// is ignored, never allowed to stop it.
void EditorLogic::run(Task<> command) {
  if (s_.rt.isRunning(TaskSlot::EditorCommand)) return;
  commandStopped_ = false;
  s_.rt.start(TaskSlot::EditorCommand, std::move(command));
}

void EditorLogic::onCommand(EditorCommand command) {
  if (closing_) return;
  using C = EditorCommand;
  switch (command) {
    case C::Load:
      // A reload under a command would replace the text that command is writing or reading.
      if (!s_.rt.isRunning(TaskSlot::EditorCommand)) s_.rt.start(TaskSlot::EditorLoad, load());
      break;
    case C::InsertDefault: putText(texts::kWindowsDefaultHosts, true); break;
    case C::Import: run(import()); break;
    case C::Save: run(save()); break;
    case C::SaveAs: run(saveAs()); break;
    case C::SaveToDesktop: run(saveToDesktop()); break;
    case C::Copy: run(copyAll()); break;
    case C::Paste: run(paste()); break;
    case C::Clear: run(clear()); break;
    case C::Find:
    case C::Replace:
      searchMode_ = command == C::Find ? SearchMode::Search : SearchMode::Replace;
      if (openSearchWindow) openSearchWindow();
      break;
    case C::Comment:
      // A rectangular (Alt+drag) or multiple selection would be read as one text and replaced
      // piece by piece: the toggle works on the one stream selection between its limits.
      view_.useStreamSelection();
      view_.replaceSelection(toggledComment(view_.selectedText()));
      break;
    case C::Pack: startPack(); break;
    case C::Fetch: startClose(true); break;
    case C::QuickSearch: s_.rt.start(TaskSlot::QuickSearch, quickSearch()); break;
    case C::Close: startClose(false); break;
  }
}

// Typing costs the same at any size: the sizes are compared at once, the contents only when
// typing pauses (or when a command needs the answer).
void EditorLogic::onTextChanged() {
  if (puttingText_) return;
  if (view_.textBytes() != snapshotSize_) {
    compareOwed_ = false;
    s_.rt.stop(TaskSlot::EditorCompare);
    setChanged(true);
    return;
  }
  compareOwed_ = true;
  s_.rt.start(TaskSlot::EditorCompare, compareLater());
}

// The comparison of a big text runs on a worker; typing meanwhile starts over.
Task<> EditorLogic::compareLater() {
  co_await s_.rt.pumpWait(kComparePauseMs);
  auto comparing = s_.rt.offload(
      [text = view_.text(), size = snapshotSize_, bytes = loadedBytes_, snapshot = snapshotText_,
       encoding = snapshotEncoding_] { return sameAsSnapshot(text, size, *bytes, snapshot.get(), encoding); });
  bool same = co_await comparing;
  if (!compareOwed_) co_return;
  compareOwed_ = false;
  settleComparison(same);
}

bool EditorLogic::changed() {
  if (compareOwed_) {
    compareOwed_ = false;
    s_.rt.stop(TaskSlot::EditorCompare);
    settleComparison(equalsSnapshot(view_.text()));
  }
  return changed_;
}

// Typing or undo brought the document back to the file it was loaded from: it is that file again,
// written in its encoding (an import undone leaves no trace of the imported file's).
void EditorLogic::settleComparison(bool same) {
  if (same) encoding_ = snapshotEncoding_;
  setChanged(!same);
}

void EditorLogic::setChanged(bool changed) {
  if (indicatorShown_ && changed == changed_) return;  // typing repaints nothing
  indicatorShown_ = true;
  changed_ = changed;
  view_.setSaveIndicator(changed);
}

bool EditorLogic::sameAsSnapshot(const std::string& text, std::size_t size, const std::string& bytes,
                                 const std::string* snapshotText, TextEncoding encoding) {
  if (text.size() != size) return false;
  if (snapshotText) return text == *snapshotText;
  return encodeText(text, encoding) == bytes;
}

void EditorLogic::putText(const std::string& text, bool undoable, std::optional<bool> knownChanged) {
  status_ = DocumentStatus::Text;
  puttingText_ = true;
  view_.setText(text, undoable);
  puttingText_ = false;
  compareOwed_ = false;
  s_.rt.stop(TaskSlot::EditorCompare);
  setChanged(knownChanged ? *knownChanged : !equalsSnapshot(text));
}

// The missing file's text differs from the snapshot and turns the indicator yellow, and may be
// saved. The others stand for a file that is there: nothing of the user's is in them.
void EditorLogic::putStatus(DocumentStatus status) {
  const std::string text = statusText(status);
  putText(text, false, status == DocumentStatus::Missing ? std::nullopt : std::optional<bool>(false));
  status_ = status;
}

// The user may have typed into a status text: then it is theirs. Undone back to the status text,
// it is the status again.
bool EditorLogic::holdsStatusOfExistingFile() const {
  if (status_ == DocumentStatus::Text || status_ == DocumentStatus::Missing) return false;
  const std::string text = statusText(status_);
  return view_.textBytes() == text.size() && view_.text() == text;
}

struct LoadedText {
  std::optional<std::string> bytes;  // up to the first NUL
  DecodedFile file;
  bool cut = false;  // the file goes on after a NUL
};

Task<> EditorLogic::load() {
  if (!s_.hosts.exists()) {
    putStatus(DocumentStatus::Missing);
    co_return;
  }
  FileSystem* fs = &s_.hosts.files();
  auto reading = s_.rt.offload([fs, path = s_.hosts.path()] {
    LoadedText loaded;
    // Too large to be hosts text: said as a file it cannot read.
    if (auto raw = HostsAccess::readWithinLimit(*fs, path)) {
      loaded.bytes = textUpToNul(*raw);
      loaded.file = decodeFile(*loaded.bytes);
      // What follows a NUL is not in the document: writing it would cut the file there.
      loaded.cut = loaded.bytes->size() != raw->size();
      if (loaded.cut) loaded.file.comesBack = false;
    }
    return loaded;
  });
  LoadedText loaded = co_await reading;
  if (!loaded.bytes) {
    // Held open by another program, or no permission: not the same thing as a blank file.
    putStatus(DocumentStatus::Unreadable);
    co_return;
  }
  if (loaded.bytes->empty()) {
    putStatus(DocumentStatus::Blank);
    co_return;
  }
  putStatus(DocumentStatus::Reading);
  co_await s_.rt.pumpWait(500);
  // The snapshot first: the change that the new text sets off must see it.
  loadedBytes_ = std::make_shared<const std::string>(std::move(*loaded.bytes));
  snapshotSize_ = loaded.file.text.size();
  snapshotEncoding_ = loaded.file.encoding;
  snapshotText_.reset();
  snapshotCut_ = loaded.cut;
  if (!loaded.file.comesBack) snapshotText_ = std::make_shared<const std::string>(loaded.file.text);
  takeEncodingOf(loaded.file);
  putText(loaded.file.text, false, false);
}

void EditorLogic::takeEncodingOf(const DecodedFile& file) {
  encoding_ = file.encoding;
  sourceComesBack_ = file.comesBack;
}

struct EncodedText {
  std::string bytes;
  bool holdsAll = true;  // nothing became "?"
};

// The bytes the document stands for: the loaded bytes while it is unchanged (a file that is not
// all GBK, or ends inside a character, goes back as it came), else its text in the encoding of the
// file it came from. Bytes of that file that its text does not give back, or characters that GBK
// cannot hold, are written only when the user says so; nothing when not.
Task<std::optional<std::string>> EditorLogic::documentBytes() {
  // (An imported file of the same text in another encoding is written in its own.)
  if (!changed() && encoding_ == snapshotEncoding_ && !snapshotCut_) co_return *loadedBytes_;
  auto converting = s_.rt.offload([text = view_.text(), encoding = encoding_] {
    EncodedText e;
    e.bytes = encodeText(text, encoding);
    e.holdsAll = encoding != TextEncoding::Gbk || fromGbk(e.bytes) == text;
    return e;
  });
  EncodedText encoded = co_await converting;
  const char* question = !sourceComesBack_ ? kUnreadBytes : !encoded.holdsAll ? kUnheldCharacters : nullptr;
  if (question && s_.prompt.show(question, "询问", box::YesNo) != Answer::Yes) co_return std::nullopt;
  co_return std::move(encoded.bytes);
}

Task<EditorLogic::SaveOutcome> EditorLogic::saveToSystem(bool fromCommand) {
  if (holdsStatusOfExistingFile()) {
    s_.prompt.show(kNothingToSave, "抱歉！", box::Ok);
    co_return SaveOutcome::NotWritten;
  }
  if (s_.prompt.show("本操作将会覆盖系统现有的Hosts文件，继续吗？", "询问", box::YesNo) != Answer::Yes)
    co_return SaveOutcome::Declined;
  // The question is modal: a reload started just before it may have put its status meanwhile.
  if (holdsStatusOfExistingFile()) {
    s_.prompt.show(kNothingToSave, "抱歉！", box::Ok);
    co_return SaveOutcome::NotWritten;
  }
  std::optional<std::string> bytes = co_await documentBytes();
  if (!bytes || !mayWrite(fromCommand)) co_return SaveOutcome::NotWritten;
  writing_ = fromCommand;
  bool written = co_await s_.hosts.writeSystem(std::move(*bytes));
  writing_ = false;
  if (written)
    s_.prompt.show("保存完毕！", "恭喜！", box::Ok);
  else
    s_.prompt.show(kSaveFailed, "抱歉！", box::Ok);
  co_return written ? SaveOutcome::Written : SaveOutcome::NotWritten;
}

Task<> EditorLogic::save() {
  co_await saveToSystem(true);
}

Task<> EditorLogic::saveAs() {
  s_.dialog.state.save = true;
  s_.dialog.state.folder = s_.folders.desktop();
  s_.dialog.state.title = "另存编辑器中的文件";
  s_.dialog.state.name = "hosts";
  auto path = s_.dialog.show();
  if (!path) co_return;
  std::optional<std::string> bytes = co_await documentBytes();
  s_.dialog.state.save = false;
  if (!bytes || !mayWrite(true)) co_return;
  writing_ = true;
  bool written = co_await s_.hosts.write(*path, std::move(*bytes));
  writing_ = false;
  if (!written) s_.prompt.show(kSaveFailed, "抱歉！", box::Ok);
}

Task<> EditorLogic::saveToDesktop() {
  std::optional<std::string> bytes = co_await documentBytes();
  if (!bytes || !mayWrite(true)) co_return;
  writing_ = true;
  bool written = co_await s_.hosts.write(s_.folders.desktop() + "hosts", std::move(*bytes));
  writing_ = false;
  if (written)
    s_.prompt.show("编辑器中的内容已另存到桌面！", "恭喜！", box::Ok);
  else
    s_.prompt.show(kSaveFailed, "抱歉！", box::Ok);
}

Task<> EditorLogic::import() {
  s_.prompt.show("将包含Hosts标准格式的条目文本文件导入到编辑器中，文件后缀名任意。如果非文本文件将出现乱码。", "指导",
                 box::Ok);
  s_.dialog.state.save = false;
  s_.dialog.state.folder = s_.folders.desktop();
  s_.dialog.state.title = "导入文本文件到编辑器";
  auto path = s_.dialog.show();
  if (!path) co_return;
  std::optional<std::string> bytes = co_await s_.hosts.readChosen(*path);
  if (!bytes || HostsAccess::startsWithUtf16Mark(*bytes)) {
    s_.prompt.show("抱歉，这个文件无法读取！", "抱歉！", box::Ok);
    co_return;
  }
  auto converting = s_.rt.offload([raw = std::move(*bytes)] { return decodeFile(textUpToNul(raw)); });
  DecodedFile file = co_await converting;
  takeEncodingOf(file);
  putText(file.text, true);
}

Task<> EditorLogic::paste() {
  auto first = s_.clipboard.text();
  if (!first || first->empty()) {
    s_.prompt.show("粘贴板没有任何内容，无法粘贴。", "抱歉！", box::Ok);
    co_return;
  }
  if (!HostsAccess::withinReadLimit(first->size())) {
    s_.prompt.show(kClipboardTooLarge, "抱歉！", box::Ok);
    co_return;
  }
  if (s_.prompt.show("执行粘贴将会覆盖编辑器中所有内容，继续吗？", "询问", box::YesNo) != Answer::Yes) co_return;
  std::string pasted = s_.clipboard.text().value_or("");
  if (!HostsAccess::withinReadLimit(pasted.size())) {
    s_.prompt.show(kClipboardTooLarge, "抱歉！", box::Ok);
    co_return;
  }
  putText(pasted, true);
}

Task<> EditorLogic::clear() {
  if (s_.prompt.show("清空编辑器的内容，继续吗？", "询问", box::YesNo) == Answer::Yes) putText("", true);
  co_return;
}

Task<> EditorLogic::copyAll() {
  view_.focusDocument();
  view_.selectAll();
  if (s_.clipboard.setText(view_.text()))
    s_.prompt.show("全部复制完毕！", "恭喜！", box::Ok);
  else
    s_.prompt.show("抱歉，复制失败！", "抱歉！", box::Ok);
  co_return;
}

// A status text of the file is no change of the user's: nothing to ask. A save that was asked for
// and did not happen keeps the editor open with its text.
Task<bool> EditorLogic::confirmSaveIfChanged() {
  if (holdsStatusOfExistingFile() || !changed()) co_return true;
  if (s_.prompt.show(kChangedQuestion, "询问", box::YesNo) != Answer::Yes) co_return true;
  // (The outcome in a variable: GCC 12 miscompiles a co_await inside a larger expression.)
  SaveOutcome outcome = co_await saveToSystem(false);
  co_return outcome != SaveOutcome::NotWritten;
}

void EditorLogic::startClose(bool thenFetch) {
  closing_ = true;
  // The close ends a hosts pack under way at once, and its strip with it (the editor may stay,
  // when the save the close asks for fails); "获取数据" lets it finish.
  if (!thenFetch) {
    if (stopPack) stopPack();
    packEnded();
  }
  s_.rt.start(TaskSlot::EditorClose, closeEditor(thenFetch));
}

void EditorLogic::stopAllButAWrite() {
  for (TaskSlot slot : {TaskSlot::EditorLoad, TaskSlot::EditorCompare, TaskSlot::QuickSearch, TaskSlot::SearchFind})
    s_.rt.stop(slot);
  stripTimer_.setPeriod(0);
  if (!writing_ && s_.rt.isRunning(TaskSlot::EditorCommand)) {
    commandStopped_ = true;
    s_.rt.stop(TaskSlot::EditorCommand);
  }
}

// "获取数据" leaves at once after its question; "×" pauses before and after it.
Task<> EditorLogic::closeEditor(bool thenFetch) {
  stopAllButAWrite();
  while (s_.rt.isRunning(TaskSlot::EditorCommand)) co_await s_.rt.pumpWait(50);
  if (!thenFetch) co_await s_.rt.pumpWait(100);
  bool goOn = co_await confirmSaveIfChanged();  // not inside the condition: see above
  if (!goOn) {
    closing_ = false;
    co_return;
  }
  if (!thenFetch) co_await s_.rt.pumpWait(600);
  main_.setShown(true);
  view_.close();
  // Posted, and a copy: a message box of the fetch runs a message loop in which the closed
  // window, and this object with this task, are freed.
  if (thenFetch && startFetch) s_.rt.post(startFetch);
}

bool EditorLogic::findNext(const std::string& keyword) {
  if (keyword.empty()) return false;
  const std::string text = view_.text();
  std::size_t from = byteOffsetOfChar(text, view_.selection().start + 1);
  std::size_t at = text.find(keyword, from);
  if (at == std::string::npos) return false;
  view_.select({charCount(std::string_view(text).substr(0, at)), charCount(keyword)});
  return true;
}

void EditorLogic::replaceAll(const std::string& pattern, const std::string& replacement) {
  std::string text = view_.text();
  if (zk::replaceAll(text, pattern, replacement)) putText(text, true);
}

Task<> EditorLogic::quickSearch() {
  co_await s_.rt.pumpWait(200);
  if (!findNext(view_.quickSearchText())) {
    view_.setQuickSearchText("错误，没有找到！");
    co_await s_.rt.pumpWait(1000);
    view_.setQuickSearchText("");
  }
  view_.focusDocument();
  co_await s_.rt.pumpWait(1000);
  view_.focusQuickSearch();
}

void EditorLogic::startPack() {
  if (stripTimer_.period() != 0 || s_.rt.isRunning(TaskSlot::EditorCommand)) return;
  if (!packDocument) {
    s_.prompt.show("打包功能尚未开放，将在后续版本中提供。", "抱歉！", box::Ok);
    return;
  }
  stripStep_ = s_.random.between(5, 20);
  stripWidth_ = 0;
  view_.setStrip(true, 0);
  stripTimer_.setPeriod(1);
}

void EditorLogic::stripTick() {
  stripWidth_ += stripStep_;
  view_.setStrip(true, stripWidth_);
  if (stripWidth_ > view_.windowWidth()) {
    stripTimer_.setPeriod(0);
    // A command started meanwhile (a save's question is open) keeps the document: no pack.
    if (s_.rt.isRunning(TaskSlot::EditorCommand)) {
      packEnded();
      return;
    }
    run(handOverForPack());
  }
}

// The document's bytes are taken once, here on the UI thread's side (an unchanged document gives
// the bytes it was loaded from); the builder works on that copy while the user edits on.
Task<> EditorLogic::handOverForPack() {
  std::optional<std::string> bytes;
  if (holdsStatusOfExistingFile())
    s_.prompt.show(kNothingToPack, "抱歉！", box::Ok);
  else
    bytes = co_await documentBytes();
  if (!bytes || !packDocument) {
    packEnded();
    co_return;
  }
  packDocument(std::move(*bytes));
}

void EditorLogic::packEnded() {
  view_.setStrip(false, 0);
}

}  // namespace zk
