#include "ui/frame/frame_menus.h"

#include <QAction>
#include <QKeyEvent>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

#include "core/app/command_table.h"
#include "core/app/map_tool_app.h"
#include "ui/display/ui_text.h"

namespace maptesk {

FrameMenus::FrameMenus(QMainWindow& window, QMenuBar& overlay) : QObject(&window), window_(window) {
  for (const char* title : MenuTitles()) {
    QMenu* menu = MenuFor(title);
    window.menuBar()->addMenu(menu);
    overlay.addMenu(menu);
  }
  for (const Command& command : Commands()) {
    QAction* action = nullptr;
    if (command.menu != nullptr) {
      QMenu* menu = MenuFor(command.menu);
      if (command.separatorBefore) menu->addSeparator();
      action = menu->addAction(QString::fromUtf8(command.label));
    } else {
      action = new QAction(QString::fromUtf8(command.label), &window);
    }
    QList<QKeySequence> keys;
    for (const QString& k : QString::fromUtf8(command.keys).split(';', Qt::SkipEmptyParts)) {
      keys.append(QKeySequence(k, QKeySequence::PortableText));
    }
    action->setShortcuts(keys);
    action->setShortcutContext(Qt::ApplicationShortcut);
    action->setData(command.id);
    // The status-bar prompt: shown as the item's tip while the menu is open.
    action->setStatusTip(QString::fromUtf8(command.prompt));
    action->setToolTip(QString::fromUtf8(command.prompt));
    if (command.check != Check::kNone) action->setCheckable(true);
    // The window holds the actions too: a hidden menu bar (full screen)
    // would otherwise take their shortcuts with it.
    window.addAction(action);
    const int id = command.id;
    connect(action, &QAction::triggered, this, [this, id] { Run(id); });
    actions_.emplace_back(id, action);
  }
  Update();
}

QMenu* FrameMenus::MenuFor(const char* path) {
  const QString whole = QString::fromUtf8(path);
  for (const auto& [p, menu] : byPath_) {
    if (p == whole) return menu;
  }
  QMenu* menu = nullptr;
  const int slash = whole.lastIndexOf('/');
  if (slash >= 0) {
    QMenu* parent = MenuFor(whole.left(slash).toUtf8().constData());
    menu = parent->addMenu(whole.mid(slash + 1));
  } else {
    menu = new QMenu(whole, &window_);
    menus_.push_back(menu);
  }
  menu->setToolTipsVisible(true);
  connect(menu, &QMenu::aboutToShow, this, [this] { Update(); });
  byPath_.emplace_back(whole, menu);
  return menu;
}

void FrameMenus::Run(int id) {
  if (app_ != nullptr) app_->RunCommand(id);
}

void FrameMenus::Update() {
  for (auto& [id, action] : actions_) {
    const Command* command = FindCommand(id);
    if (command == nullptr) continue;
    if (app_ == nullptr) {
      action->setEnabled(command->enable == Enable::kAlways);
      continue;
    }
    if (command->enable == Enable::kRecentEntry || command->id == kCmdRelease ||
        command->enable == Enable::kCanUndo || command->enable == Enable::kCanRedo) {
      const std::string label = app_->CommandLabel(*command);
      const QString text = PathText(label);
      if (action->text() != text) action->setText(text);
      action->setVisible(!label.empty());
    }
    action->setEnabled(app_->CommandEnabled(*command));
    if (std::optional<bool> checked = app_->CommandChecked(*command)) action->setChecked(*checked);
  }
}

QAction* FrameMenus::ActionFor(const QKeyEvent* key) const {
  const QKeySequence pressed(key->keyCombination());
  for (const auto& [id, action] : actions_) {
    for (const QKeySequence& shortcut : action->shortcuts()) {
      if (shortcut == pressed) return action;
    }
  }
  return nullptr;
}

QAction* FrameMenus::ActionOf(int id) const {
  for (const auto& [i, action] : actions_) {
    if (i == id) return action;
  }
  return nullptr;
}

}  // namespace maptesk
