// The main window's menus and keys as built from the command table, on the
// offscreen platform: the menu bar, the ids and keys of the actions, the
// accelerators going before the menus' mnemonics, the title's modified mark
// and the questions of the close box.
#include "ui/frame/frame_menus.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <filesystem>

#include "core/app/map_tool_app.h"
#include "core/app/workspace.h"
#include "support/map_fixtures.h"
#include "support/scripted_dialogs.h"
#include "support/scripted_prompts.h"
#include "support/temp_dir.h"
#include "ui/frame/main_frame.h"

namespace maptesk {
namespace {

class FrameMenusTest : public ::testing::Test {
 protected:
  FrameMenusTest() : ws(prompts), frame(ws), app(ws, dialogs, text, frame) {
    frame.SetApplication(&app);
    frame.resize(1024, 700);
    frame.show();
    frame.Create();
    std::filesystem::create_directories(game / "SCENARIO");
    testing::WriteBytes(game / "SCENARIO/A.MAP", testing::PatternMapFile(7, 45, 40));
    ws.settings.gameFolder = game.str();
    ws.settings.mapFolder = game / "MAP/";
  }

  // A key pressed on the canvas as the window system would send it.
  void Press(int key, Qt::KeyboardModifiers modifiers, const QString& text = {}) {
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
    QApplication::sendEvent(frame.canvas(), &press);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
    QApplication::sendEvent(frame.canvas(), &release);
    QApplication::processEvents();
  }

  testing::TempDir game;
  testing::ScriptedPrompts prompts;
  Workspace ws;
  testing::ScriptedDialogs dialogs;
  testing::ScriptedTextEntry text;
  MainFrame frame;
  MapToolApp app;
};

TEST_F(FrameMenusTest, TheMenuBarHoldsTheTablesMenusWithIdsKeysAndTheReleaseTitle) {
  QStringList titles;
  for (QAction* a : frame.menuBar()->actions()) titles << a->text();
  EXPECT_EQ(titles, (QStringList{"&File", "&Edit", "&Options", "Select what to set", "&Tools",
                                 "Auto&Roads", "&Names", "Misc. Tools", "&Help"}));
  EXPECT_EQ(frame.overlayBar()->actions().size(), 9) << "the full-screen bar has the same menus";

  QAction* saveAs = frame.menus().ActionOf(kCmdSaveAs);
  ASSERT_NE(saveAs, nullptr);
  EXPECT_EQ(saveAs->data().toInt(), kCmdSaveAs);
  EXPECT_EQ(saveAs->text(), "&Save MAP as...\tAlt+S");
  EXPECT_EQ(saveAs->shortcuts(),
            (QList<QKeySequence>{QKeySequence("Alt+S"), QKeySequence("Ctrl+Shift+S")}));
  EXPECT_FALSE(saveAs->isEnabled()) << "no map loaded";
  QAction* prompt = frame.menus().ActionOf(kCmdGenerateRoads);
  EXPECT_EQ(prompt->statusTip(),
            "Generates properly linked roads for all hexes with an AutoRoad mark");

  frame.menus().Update();
  QAction* release = frame.menus().ActionOf(kCmdRelease);
  EXPECT_EQ(release->text(), "Tesk Map Tool 2.01c - Feb 2008");
  EXPECT_FALSE(release->isEnabled());
  EXPECT_FALSE(frame.menus().ActionOf(kCmdRecentFirst)->isVisible()) << "no recent files";

  ASSERT_TRUE(app.OpenByName(game / "SCENARIO/A.MAP"));
  EXPECT_TRUE(saveAs->isEnabled());
  QAction* recent = frame.menus().ActionOf(kCmdRecentFirst);
  ws.settings.AddRecentFile(game / "SCENARIO/A.MAP");
  frame.menus().Update();
  EXPECT_TRUE(recent->isVisible());
  EXPECT_EQ(recent->text().toStdString(), "&1 " + (game / "SCENARIO/A.MAP"));
}

TEST_F(FrameMenusTest, AltKeysRunTheirAcceleratorsAndPlainLettersNeverReachAMenu) {
  ASSERT_TRUE(app.OpenByName(game / "SCENARIO/A.MAP"));
  dialogs.ran.clear();  // the picture the map lacks was asked for
  Press(Qt::Key_F, Qt::AltModifier);
  EXPECT_EQ(dialogs.ran, std::vector<std::string>{"terrain filter"}) << "Alt+F is the filter";
  const bool roads = ws.settings.Toggle(kToggleRoads);
  Press(Qt::Key_R, Qt::AltModifier);
  EXPECT_NE(ws.settings.Toggle(kToggleRoads), roads) << "Alt+R shows roads, not AutoRoads";
  const bool named = ws.settings.Toggle(kToggleNamedHexes);
  Press(Qt::Key_N, Qt::AltModifier);
  EXPECT_NE(ws.settings.Toggle(kToggleNamedHexes), named) << "Alt+N shows named hexes";
  EXPECT_EQ(QApplication::activePopupWidget(), nullptr) << "no menu opened";

  Press(Qt::Key_F, Qt::NoModifier, "F");
  Press(Qt::Key_B, Qt::NoModifier, "B");
  EXPECT_EQ(dialogs.ran.size(), 1u);
  EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
}

TEST_F(FrameMenusTest, TheTitleMarksChangesAndTheCloseBoxAsksFirst) {
  ASSERT_TRUE(app.OpenByName(game / "SCENARIO/A.MAP"));
  EXPECT_EQ(frame.windowTitle(), "A.MAP[*] - Tesk Map Tool");
  EXPECT_FALSE(frame.isWindowModified());
  ws.map.modified = true;
  frame.DocumentChanged();
  EXPECT_TRUE(frame.isWindowModified());

  prompts.AnswerCancel();
  QCloseEvent close;
  QApplication::sendEvent(&frame, &close);
  EXPECT_FALSE(close.isAccepted());
  EXPECT_EQ(prompts.Texts("yesnocancel").size(), 1u);

  prompts.Answer(false);
  QCloseEvent again;
  QApplication::sendEvent(&frame, &again);
  EXPECT_TRUE(again.isAccepted());
}

}  // namespace
}  // namespace maptesk
