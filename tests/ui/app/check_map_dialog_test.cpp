// The findings' tool window: a double click leads to the finding's hex.
#include "ui/app/check_map_dialog.h"

#include <gtest/gtest.h>

#include <QListWidget>

#include "core/app/check_list.h"
#include "core/app/workspace.h"
#include "core/view/map_view.h"
#include "support/fake_view_host.h"
#include "support/scripted_prompts.h"

namespace maptesk {
namespace {

TEST(CheckMapDialog, ADoubleClickSelectsTheFindingsHexAndTheListFollowsEdits) {
  testing::ScriptedPrompts prompts;
  Workspace ws(prompts);
  testing::FakeViewHost host;
  MapView view(ws.map, ws.names, ws.settings, host, ws.history);
  view.grid.setMapSize(1920, 1920);
  view.layout({0, 0, 1280, 1024}, false);
  ws.map.loaded = true;
  ws.map.hasS16Picture = true;
  ws.map.cell(30, 20).terrain = 25;
  CheckList list(ws);
  list.AttachView(&view);
  list.Refresh(true);
  CheckMapDialog dialog(list, nullptr);
  ASSERT_EQ(dialog.list()->count(), 1);
  EXPECT_EQ(dialog.list()->item(0)->text(),
            "(20,30) error terrain 25 is not one of the game's 20  [fix]");
  emit dialog.list()->itemDoubleClicked(dialog.list()->item(0));
  EXPECT_EQ(view.grid.current.row, 30);
  EXPECT_EQ(view.grid.current.column, 20);
  EXPECT_EQ(ws.map.selected[30][20], 1);
  EXPECT_TRUE(ws.map.selectionActive);
  EXPECT_TRUE(view.grid.isVisible(view.grid.hexToPixel(30, 20))) << "scrolled to it";
}

}  // namespace
}  // namespace maptesk
