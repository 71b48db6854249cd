#include "editor/search.h"

namespace zk {

void SearchLogic::onCommand(SearchCommand command) {
  switch (command) {
    case SearchCommand::Find: rt_.start(TaskSlot::SearchFind, find(false)); break;
    case SearchCommand::FindByEnter: rt_.start(TaskSlot::SearchFind, find(true)); break;
    case SearchCommand::ReplaceAll: editor_.replaceAll(view_.findText(), view_.replacementText()); break;
    case SearchCommand::Close: view_.close(); break;
  }
}

Task<> SearchLogic::find(bool byEnter) {
  co_await rt_.pumpWait(200);
  const std::string keyword = view_.searchText();
  bool found = editor_.findNext(keyword);
  // The editor comes forward first, then the title tells the result: whoever watches the title
  // sees this window where it stays, above the editor.
  view_.focusDocument();
  view_.setTitle(found ? "找到内容：" + keyword : "错误，没有找到！");
  if (!byEnter) co_return;
  co_await rt_.pumpWait(1000);
  view_.focusSearchBox();
}

}  // namespace zk
