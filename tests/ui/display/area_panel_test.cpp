#include "ui/display/area_panel.h"

#include <gtest/gtest.h>

namespace maptesk {
namespace {

// A panel at (200, 100) with two overlapping areas and one shaped like the
// first.
void SetUpPanel(AreaPanel& panel) {
  panel.SetDestRect(QRect(200, 100, 120, 80));
  panel.SetAreaCount(3);
  panel.SetArea(0, 40, 20, 10, 10);
  panel.SetArea(1, 40, 20, 30, 20);
  panel.SetAreaLike(2, 0, 60, 50);
}

TEST(AreaPanel, HitAreaTakesTheFirstAreaHoldingThePoint) {
  AreaPanel panel;
  SetUpPanel(panel);
  EXPECT_EQ(panel.area(2), QRect(60, 50, 40, 20));
  struct Row {
    const char* what;
    int x, y, area;
  };
  for (const Row& row : {
           Row{"left and top edges are inside", 210, 110, 0},
           Row{"the overlap goes to the lower index", 235, 125, 0},
           Row{"area 0's right edge is outside it", 250, 125, 1},
           Row{"area 0's bottom edge is outside it", 235, 130, 1},
           Row{"area 1's right edge", 270, 125, -1},
           Row{"the copied area", 260, 150, 2},
           Row{"panel coordinates are not screen coordinates", 15, 15, -1},
       }) {
    EXPECT_EQ(panel.HitArea(row.x, row.y), row.area) << row.what;
  }
}

TEST(AreaPanel, SlotTextStartsOnePixelInside) {
  AreaPanel panel;
  SetUpPanel(panel);
  panel.SetSlotCount(2);
  panel.SetSlot(1, 50, 12, 8, 30);
  EXPECT_EQ(panel.SlotTextPoint(1), QPoint(209, 131));
  EXPECT_EQ(panel.SlotTextPoint(0), QPoint(201, 101));
}

}  // namespace
}  // namespace maptesk
