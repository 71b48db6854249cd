#include "main/about.h"

namespace zk {

void AboutLogic::onCreated() {
  main_.setShown(false);
  view_.setTexts("版本：V" + values_.programVersion, "发布日期：" + values_.releaseDate,
                 "Copyright © 2016-" + std::to_string(clock_.now().year) + " Tessaly. All Rights Reserved.");
}

void AboutLogic::onCloseClicked() {
  main_.setShown(true);
  view_.close();
}

void AboutLogic::onHomeClicked() {
  if (openHomePage_) openHomePage_();
}

}  // namespace zk
