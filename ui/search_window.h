// The search window: a keyword to find, or a text to replace everywhere in the editor.
#pragma once

#include "editor/search.h"
#include "ui/form.h"

namespace zk::ui {

enum SearchId : int {
  IDT_SR_SEARCH_CAP = 350,
  IDE_SR_SEARCH = 351,
  IDB_SR_SEARCH = 352,
  IDT_SR_FIND_CAP = 353,
  IDE_SR_FIND = 354,
  IDT_SR_REPLACE_CAP = 355,
  IDE_SR_REPLACE = 356,
  IDB_SR_REPLACE_ALL = 357,
};

class SearchWindow : public Form, public SearchView {
 public:
  ~SearchWindow() override {
    if (boxFont_) DeleteObject(boxFont_);
  }
  // Owned by the editor window, whose document gets the focus after a find.
  HWND open(HWND editor, HWND document);

  void layOut(SearchMode mode) override;
  void setTitle(const std::string& title) override;
  std::string searchText() const override { return text(IDE_SR_SEARCH); }
  std::string findText() const override { return text(IDE_SR_FIND); }
  std::string replacementText() const override { return text(IDE_SR_REPLACE); }
  void focusSearchBox() override {
    if (live()) SetFocus(ctl(IDE_SR_SEARCH));
  }
  void focusDocument() override;
  void close() override { destroyLater(); }

 protected:
  void paintBackground(HDC dc, int w, int h) override;

 private:
  HWND document_ = nullptr;
  HFONT boxFont_ = nullptr;
};

}  // namespace zk::ui
