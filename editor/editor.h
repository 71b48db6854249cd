// The hosts editor: its document, the snapshot of the last load, the Save indicator, and every
// command of its window; the find core and replace-all that the search window and the quick
// search use.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "editor/document_encoding.h"
#include "editor/file_dialog.h"
#include "editor/hosts_access.h"
#include "main/main_view.h"
#include "platform/prompt.h"
#include "platform/runtime.h"
#include "platform/system.h"

namespace zk {

// A selection in characters as the user counts them (code points).
struct Selection {
  std::size_t start = 0, length = 0;
  bool operator==(const Selection&) const = default;
};

enum class SearchMode { Search, Replace };

// What the document holds: the file's text (or the user's), or a status text of the load.
enum class DocumentStatus { Text, Reading, Missing, Blank, Unreadable };

enum class EditorCommand {
  Load,
  InsertDefault,
  Import,
  Save,
  SaveAs,
  SaveToDesktop,
  Copy,
  Paste,
  Clear,
  Find,
  Replace,
  Comment,  // the button and F3 in the document
  Pack,
  Fetch,
  QuickSearch,  // the search icon and Enter in the quick search box
  Close,        // "×", Alt+F4, the taskbar
};

class EditorView {
 public:
  virtual ~EditorView() = default;
  // The document, UTF-8.
  virtual std::string text() const = 0;
  // Its size in UTF-8 bytes, at once whatever the size.
  virtual std::size_t textBytes() const = 0;
  // Replaces the whole document; a load leaves nothing to undo, other changes can be undone.
  virtual void setText(const std::string& text, bool undoable) = 0;
  virtual Selection selection() const = 0;
  virtual void select(Selection s) = 0;
  virtual std::string selectedText() const = 0;
  // Turns a rectangular or multiple selection into the one stream selection between its limits.
  virtual void useStreamSelection() = 0;
  virtual void replaceSelection(const std::string& text) = 0;
  virtual void selectAll() = 0;
  virtual void focusDocument() = 0;
  virtual std::string quickSearchText() const = 0;
  virtual void setQuickSearchText(const std::string& text) = 0;
  virtual void focusQuickSearch() = 0;
  // The caption colour of "保存": yellow while changed, white otherwise.
  virtual void setSaveIndicator(bool changed) = 0;
  virtual int windowWidth() const = 0;
  virtual void setStrip(bool visible, int width) = 0;
  // Hides and ends the window (after the current message).
  virtual void close() = 0;
};

struct EditorServices {
  Runtime& rt;
  HostsAccess& hosts;
  Prompter& prompt;
  Clipboard& clipboard;
  SpecialFolders& folders;
  Random& random;
  SharedFileDialog& dialog;
};

class EditorLogic {
 public:
  EditorLogic(EditorServices s, EditorView& view, MainView& main);
  ~EditorLogic();

  // Hides the main window and loads the system hosts file.
  void onCreated();
  void onCommand(EditorCommand command);
  // The document reported a change of its content (typing, undo, a paste, a replace...).
  void onTextChanged();

  // The one-click fetch of the main window, and the search window (opened or shown by the root).
  std::function<void()> startFetch;
  std::function<void()> openSearchWindow;
  // The hosts pack: receives the document's bytes (as a save would write them) when the progress
  // strip of "打包" has run; the build is not the editor's, so "获取数据" does not end it. The
  // editor's close stops it at once through stopPack. Without a builder "打包" says so.
  std::function<void(std::string bytes)> packDocument;
  std::function<void()> stopPack;
  // The build has ended: the strip goes back to nothing.
  void packEnded();

  SearchMode searchMode() const { return searchMode_; }
  // Selects the next occurrence of keyword after the selection start; false when there is none.
  bool findNext(const std::string& keyword);
  // Replaces every occurrence in the document; an empty pattern changes nothing.
  void replaceAll(const std::string& pattern, const std::string& replacement);
  // Whether the document differs from the snapshot, comparing now if a comparison is owed.
  bool changed();

 private:
  Task<> load();
  Task<> compareLater();
  // What became of a save asked for by the close or by "获取数据".
  enum class SaveOutcome { Written, Declined, NotWritten };
  // fromCommand: run by "保存" (whose task the close may have stopped), not by the close itself.
  Task<SaveOutcome> saveToSystem(bool fromCommand);
  Task<> save();
  Task<> saveAs();
  Task<> saveToDesktop();
  Task<> import();
  Task<> paste();
  Task<> clear();
  Task<> copyAll();
  Task<> quickSearch();
  // The one close path, of "×" and of "获取数据" (which then starts the fetch).
  void startClose(bool thenFetch);
  Task<> closeEditor(bool thenFetch);
  // Stops every task of the window but a write under way, which ends and reports.
  void stopAllButAWrite();
  // Whether a command may hand its write to a worker now.
  bool mayWrite(bool fromCommand) const { return !(fromCommand && commandStopped_); }
  // False when the user asked to save and the text was not written: the close ends there.
  Task<bool> confirmSaveIfChanged();
  // Nothing when the user would not have the text written as it would be.
  Task<std::optional<std::string>> documentBytes();
  // The encoding of the file just loaded or imported, for every write of the document.
  void takeEncodingOf(const DecodedFile& file);
  void startPack();
  void stripTick();
  Task<> handOverForPack();
  // Sets the whole document; the indicator follows from the text in hand.
  // knownChanged: the caller knows how the text compares with the snapshot.
  void putText(const std::string& text, bool undoable, std::optional<bool> knownChanged = std::nullopt);
  // Shows a status of the load instead of the file's text.
  void putStatus(DocumentStatus status);
  // Whether the document is a status text that stands for a file that exists (loading, blank,
  // unreadable): what it says is not the file, so it is never written over it.
  bool holdsStatusOfExistingFile() const;
  bool equalsSnapshot(const std::string& text) const {
    return sameAsSnapshot(text, snapshotSize_, *loadedBytes_, snapshotText_.get(), snapshotEncoding_);
  }
  // Any thread: the snapshot's parts are passed in.
  static bool sameAsSnapshot(const std::string& text, std::size_t size, const std::string& bytes,
                             const std::string* snapshotText, TextEncoding encoding);
  void setChanged(bool changed);
  // The outcome of a comparison of the document with the snapshot.
  void settleComparison(bool same);
  void run(Task<> command);

  EditorServices s_;
  EditorView& view_;
  MainView& main_;
  // The snapshot: the bytes last loaded (GBK), written back as they are while the document is
  // unchanged, and the size of their text. The text itself is kept only when the bytes do not
  // come back from it (not GBK, or a character cut at the end); otherwise the document equals the
  // snapshot exactly when it converts back to these bytes, and one copy of a big file is enough.
  std::shared_ptr<const std::string> loadedBytes_ = std::make_shared<const std::string>();
  std::shared_ptr<const std::string> snapshotText_;  // none: the bytes stand for it
  std::size_t snapshotSize_ = 0;
  TextEncoding snapshotEncoding_ = TextEncoding::Gbk;
  bool snapshotCut_ = false;  // the file went on after a NUL: its bytes are not all in hand
  // How the document is written: the encoding of the file it came from, and whether that file's
  // bytes come back from its text (kept when the text is cleared or pasted over: undo brings the
  // file's text back).
  TextEncoding encoding_ = TextEncoding::Gbk;
  bool sourceComesBack_ = true;
  bool changed_ = false;
  DocumentStatus status_ = DocumentStatus::Text;
  bool indicatorShown_ = false;
  bool compareOwed_ = false;
  bool puttingText_ = false;
  bool closing_ = false;
  bool writing_ = false;         // a command's write is on a worker
  bool commandStopped_ = false;  // the close stopped the running command
  SearchMode searchMode_ = SearchMode::Search;
  Timer stripTimer_;
  int stripStep_ = 0, stripWidth_ = 0;
};

}  // namespace zk
