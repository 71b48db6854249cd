#include "main/skins.h"

namespace zk {

namespace {
constexpr Rgb kBlue{0, 136, 255};
constexpr Rgb kYellow{255, 255, 0};
constexpr Rgb kWhite{255, 255, 255};
const Skin kSkins[8] = {
    {0, kWhite, kYellow, {255, 61, 0}},        {1, kBlue, kYellow, {156, 137, 63}}, {2, kBlue, kYellow, {181, 30, 5}},
    {3, {0, 255, 0}, kYellow, {66, 133, 244}}, {4, kBlue, kYellow, {1, 147, 77}},   {5, kBlue, kYellow, {238, 181, 0}},
    {6, kBlue, kBlue, {88, 88, 90}},           {7, kWhite, kWhite, {138, 4, 130}},
};
}  // namespace

const Skin& skinLook(int index) {
  return kSkins[index >= 0 && index < 8 ? index : 0];
}

SkinRotation::SkinRotation(Runtime& rt, MainView& view) : view_(view), timer_(rt, [this] { tick(); }) {}

void SkinRotation::tick() {
  ++index_;
  view_.setSkin(skinLook(index_));
  if (index_ == 7) index_ = 0;
}

}  // namespace zk
