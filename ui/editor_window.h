// The hosts editor window: the document on the editing component, the command row, the quick
// search box and the progress strip.
#pragma once

#include <functional>

#include <Scintilla.h>

#include "editor/editor.h"
#include "ui/form.h"

namespace zk::ui {

enum EditorId : int {
  IDB_ED_CLOSE = 300,
  IDT_ED_LOAD = 301,
  IDT_ED_DEFAULT = 302,
  IDT_ED_IMPORT = 303,
  IDT_ED_SAVE = 304,
  IDT_ED_SAVE_AS = 305,
  IDT_ED_DESKTOP = 306,
  IDT_ED_COPY = 307,
  IDT_ED_PASTE = 308,
  IDT_ED_CLEAR = 309,
  IDT_ED_FIND = 310,
  IDT_ED_REPLACE = 311,
  IDT_ED_COMMENT = 312,
  IDT_ED_PACK = 313,
  IDT_ED_FETCH = 314,
  IDE_ED_QUICK = 320,
  IDT_ED_QUICK_ICON = 321,
  IDP_ED_STRIP = 322,
  IDE_ED_DOCUMENT = 330,
};

class EditorWindow : public Form, public EditorView {
 public:
  // Registers the editing component's window class once per process.
  static bool registerComponent();
  HWND open();
  // The document's content changed (typing, undo, the commands' own changes).
  std::function<void()> onTextChanged;

  std::string text() const override;
  std::size_t textBytes() const override;
  void setText(const std::string& text, bool undoable) override;
  Selection selection() const override;
  void select(Selection s) override;
  std::string selectedText() const override;
  void useStreamSelection() override;
  void replaceSelection(const std::string& text) override;
  void selectAll() override;
  void focusDocument() override {
    if (document_) SetFocus(document_);
  }
  std::string quickSearchText() const override { return Form::text(IDE_ED_QUICK); }
  void setQuickSearchText(const std::string& t) override { setText(IDE_ED_QUICK, t); }
  void focusQuickSearch() override {
    if (live()) SetFocus(ctl(IDE_ED_QUICK));
  }
  void setSaveIndicator(bool changed) override;
  int windowWidth() const override { return logicalW_; }
  void setStrip(bool visible, int width) override;
  void close() override;
  HWND document() const { return document_; }

 protected:
  void paintBackground(HDC dc, int w, int h) override;
  void paintPicture(int id, HDC dc, const RECT& r) override;
  LRESULT handle(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  using Form::setText;
  sptr_t call(unsigned message, uptr_t wp = 0, sptr_t lp = 0) const;
  void setUpDocument();
  // Settings that belong to the document, applied again whenever it is replaced.
  void setUpDocumentState();
  // A text above the colouring limit gets a document without style bytes (one byte less a
  // character); a smaller one a document with them.
  void useDocumentFor(std::size_t bytes);
  void colour(std::size_t upTo);
  std::size_t positionOfChar(std::size_t ch) const;
  std::size_t charOfPosition(std::size_t pos) const;

  HWND document_ = nullptr;
  using Direct = sptr_t (*)(sptr_t, unsigned, uptr_t, sptr_t);
  Direct direct_ = nullptr;
  sptr_t directPtr_ = 0;
  bool colouring_ = true;
  bool styledDocument_ = true;
  int stripWidth_ = 0;
};

}  // namespace zk::ui
