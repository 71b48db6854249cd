// The main window's own animations: the decorative line and the navigation panel.
#include <gtest/gtest.h>

#include "main/decorative_line.h"
#include "main/navigation_panel.h"
#include "tests/support/fakes.h"
#include "tests/support/virtual_runtime.h"

namespace zk {
namespace {

TEST(DecorativeLine, GrowsAcrossSlidesOutAndStartsAgainInARandomColour) {
  test::VirtualRuntime rt;
  test::FakeMainView view;
  std::vector<int> colours = {10, 20, 30};
  std::size_t next = 0;
  DecorativeLine line(rt, view, [&](int lo, int hi) {
    if (lo == 1 && hi == 10) return 7;  // the step timer's draw
    EXPECT_EQ(lo, 0);
    EXPECT_EQ(hi, 255);
    return colours[next++ % colours.size()];
  });
  view.width = 100;
  line.place();
  line.startStepTimer(10);
  EXPECT_EQ(line.step(), 1);
  rt.advance(10);
  EXPECT_EQ(line.step(), 7);
  line.start();
  EXPECT_TRUE(view.lineVisible);
  rt.advance(14);
  EXPECT_EQ(view.line, (Rect{0, 39, 98, 2}));
  rt.advance(1);
  EXPECT_EQ(view.line, (Rect{0, 39, 100, 2}));  // never wider than the window
  rt.advance(14);                               // then the left end runs 14 × 7 = 98 pixels
  EXPECT_EQ(view.line, (Rect{98, 39, 100, 2}));
  EXPECT_EQ(view.lineColour, (Rgb{}));
  rt.advance(1);  // 105 > 100: off the window, so a new colour and a new sweep from the left
  EXPECT_EQ(view.lineColour, (Rgb{10, 20, 30}));
  EXPECT_EQ(view.line, (Rect{0, 39, 0, 2}));
  EXPECT_TRUE(view.lineVisible);
  EXPECT_TRUE(line.sweeping());
  rt.advance(1);
  EXPECT_EQ(view.line, (Rect{0, 39, 7, 2}));
  line.stop();
  int moves = view.lineMoves;
  rt.advance(50);
  EXPECT_FALSE(view.lineVisible);
  EXPECT_EQ(view.lineMoves, moves);
}

TEST(NavigationPanel, SlidesOpenThirtyPixelsATickAndClosesFirstWhenOpen) {
  test::VirtualRuntime rt;
  test::FakeMainView view;
  NavigationPanel panel(rt, view);
  rt.start(TaskSlot::NavigationSlide, panel.open());
  rt.advance(5);
  EXPECT_EQ(view.width, 612);
  rt.advance(1);
  EXPECT_EQ(view.width, 630);
  EXPECT_EQ(view.layouts, 1);
  rt.start(TaskSlot::NavigationSlide, panel.open());
  rt.advance(6);
  EXPECT_EQ(view.width, 462);
  rt.advance(600);
  EXPECT_EQ(view.width, 630);
  EXPECT_EQ(view.layouts, 3);
}

}  // namespace
}  // namespace zk
