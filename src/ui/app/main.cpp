// maptesk: the editor. Its command line is an optional .map file to open.
#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QIcon>
#include <cstdio>

#include "core/app/workspace.h"
#include "core/util/path_utils.h"
#include "ui/app/qt_profile_store.h"
#include "ui/app/qt_prompts.h"
#include "ui/display/main_frame.h"

int main(int argc, char** argv) {
  QElapsedTimer started;
  started.start();
  QApplication app(argc, argv);
  QApplication::setApplicationName("MapTesk");
  QApplication::setOrganizationName("Orsk_Tools");
  QApplication::setWindowIcon(QIcon(":/art/maptesk.png"));

  maptesk::QtPrompts prompts;
  maptesk::Workspace workspace(prompts);
  maptesk::QtProfileStore store;
  workspace.settings.LoadSettings(store);

  maptesk::MainFrame frame(workspace);
  prompts.SetParent(&frame);
  // A full-screen display makes way before any chooser is shown.
  prompts.SetBeforeChooser([&frame] { frame.ShowOrdinarySurface(); });
  frame.show();
  if (!frame.Create()) return 1;
  const QStringList args = QApplication::arguments();
  if (args.size() > 1) {
    const std::string map = QFileInfo(args[1]).absoluteFilePath().toStdString();
    // Until the folders are set, take the game's layout around the map:
    // GAME/SCENARIO/x.MAP with its pictures and names in GAME/MAP/.
    maptesk::ToolSettings& s = workspace.settings;
    if (s.gameFolder.empty()) {
      s.gameFolder = maptesk::ParentFolder(map);
      s.mapFolder = s.gameFolder + "MAP/";
      s.scnFolder = s.gameFolder + "SCENARIO/";
      s.bmpFolder = s.mapFolder;
    }
    frame.OpenMap(map);
  }
  // The first frame now rather than at the first tick of the frame timer.
  frame.StepFrame();
  if (qEnvironmentVariableIsSet("MAPTESK_TRACE_START")) {
    QCoreApplication::processEvents();
    std::fprintf(stderr, "first frame after %lld ms\n", static_cast<long long>(started.elapsed()));
  }

  const int result = QApplication::exec();
  workspace.settings.SaveSettings(store);
  return result;
}
