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
  view_.setTitle(editor_.findNext(keyword) ? "找到内容：" + keyword : "错误，没有找到！");
  view_.focusDocument();
  if (!byEnter) co_return;
  co_await rt_.pumpWait(1000);
  view_.focusSearchBox();
}

}  // namespace zk
