// maptesk: the editor. Its command line is an optional .map file to open.
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QIcon>
#include <QStandardPaths>
#include <cstdio>

#include "core/app/map_tool_app.h"
#include "core/app/recovery_store.h"
#include "core/app/workspace.h"
#include "core/util/save_guard.h"
#include "ui/app/qt_dialogs.h"
#include "ui/app/qt_profile_store.h"
#include "ui/display/qt_prompts.h"
#include "ui/display/ui_text.h"
#include "ui/frame/main_frame.h"

namespace {

std::string FolderText(const QString& folder) {
  return maptesk::PathBytes(QDir::cleanPath(folder) + "/");
}

// Where the help page may be besides the program's and the game's folders:
// the installed data folders, then the build tree the program came from.
std::vector<std::string> HelpFolders() {
  std::vector<std::string> folders;
  const QString program = QCoreApplication::applicationDirPath();
  folders.push_back(FolderText(program + "/../share/maptesk"));
  for (const QString& d : QStandardPaths::standardLocations(QStandardPaths::AppDataLocation)) {
    folders.push_back(FolderText(d));
  }
#ifdef MAPTESK_BUILD_HELP_DIR
  folders.push_back(FolderText(QStringLiteral(MAPTESK_BUILD_HELP_DIR)));
#endif
  return folders;
}

}  // namespace

int main(int argc, char** argv) {
  QElapsedTimer started;
  started.start();
  QApplication application(argc, argv);
  QApplication::setApplicationName("MapTesk");
  QApplication::setOrganizationName("Orsk_Tools");
  QApplication::setWindowIcon(QIcon(":/art/maptesk.png"));

  maptesk::QtPrompts prompts;
  maptesk::Workspace workspace(prompts);
  maptesk::QtProfileStore profile;

  maptesk::MainFrame frame(workspace);
  maptesk::QtDialogs dialogs(&frame);
  prompts.SetParent(&frame);
  // What a save could not keep of an old file is told, not lost silently.
  maptesk::SetSaveNoteSink([&prompts](const std::string& note) { prompts.ShowNote(note); });
  maptesk::RemoveTemporariesOnSignals();
  // A full-screen display makes way before any chooser or dialog is shown.
  prompts.SetBeforeChooser([&frame] { frame.ShowOrdinarySurface(); });
  dialogs.SetBeforeDialog([&frame] { frame.ShowOrdinarySurface(); });
  dialogs.Attach(frame.canvas(), &frame.view().screen, &frame.idle());
  dialogs.SetDocument(&workspace.map, &prompts, &workspace.history);

  maptesk::MapToolApp tool(workspace, dialogs, dialogs, frame);
  tool.programFolder = FolderText(QCoreApplication::applicationDirPath());
  tool.helpFolders = HelpFolders();
  // Recovery copies live in the user's data folder, never beside the game.
  maptesk::RecoveryStore recovery(
      FolderText(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + "/recovery"));
  tool.SetRecovery(&recovery);
  frame.SetApplication(&tool);

  const QStringList args = QApplication::arguments();
  const std::string map =
      args.size() > 1 ? maptesk::PathBytes(QFileInfo(args[1]).absoluteFilePath()) : std::string();
  if (!tool.StartUp(profile, map)) return 1;
  if (qEnvironmentVariableIsSet("MAPTESK_TRACE_START")) {
    QCoreApplication::processEvents();
    std::fprintf(stderr, "first frame after %lld ms\n", static_cast<long long>(started.elapsed()));
  }

  const int result = QApplication::exec();
  tool.SaveSettings(profile);
  return result;
}
