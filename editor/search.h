// The search window: one keyword found after the editor's selection, or every occurrence of a
// text replaced. It lays itself out once, from the mode the opening command set.
#pragma once

#include <string>

#include "editor/editor.h"
#include "platform/runtime.h"

namespace zk {

enum class SearchCommand {
  Find,         // "搜索"
  FindByEnter,  // Enter in the search box: the box gets the focus back a second later
  ReplaceAll,   // "全部替换"
  Close,        // its own ×, Alt+F4
};

class SearchView {
 public:
  virtual ~SearchView() = default;
  // Title, size (466 x 68 to search, 488 x 100 to replace) and the controls of the mode.
  virtual void layOut(SearchMode mode) = 0;
  virtual void setTitle(const std::string& title) = 0;
  virtual std::string searchText() const = 0;
  virtual std::string findText() const = 0;
  virtual std::string replacementText() const = 0;
  virtual void focusSearchBox() = 0;
  virtual void focusDocument() = 0;
  virtual void close() = 0;
};

class SearchLogic {
 public:
  SearchLogic(Runtime& rt, SearchView& view, EditorLogic& editor) : rt_(rt), view_(view), editor_(editor) {}
  ~SearchLogic() { rt_.stop(TaskSlot::SearchFind); }

  void onCreated() { view_.layOut(editor_.searchMode()); }
  void onCommand(SearchCommand command);

 private:
  Task<> find(bool byEnter);

  Runtime& rt_;
  SearchView& view_;
  EditorLogic& editor_;
};

}  // namespace zk
