// Helpers for tests of the dialogs' widgets under the offscreen platform.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QListWidget>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

// Qt's values as text in test failures.
QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& text, std::ostream* out) {
  *out << '"' << text.toStdString() << '"';
}
inline void PrintTo(const QSize& size, std::ostream* out) {
  *out << size.width() << " x " << size.height();
}
QT_END_NAMESPACE

namespace maptesk::testing {

/// The child of `parent` with that object name; a test failure when missing.
template <typename T>
T* Child(QWidget* parent, const char* name) {
  T* child = parent->findChild<T*>(name);
  EXPECT_NE(child, nullptr) << name;
  return child;
}

/// Runs `step` on the modal dialog once it is open: the dialog under test
/// runs its own event loop, so the test speaks to it from inside that loop.
inline void WhenModal(std::function<void(QWidget*)> step) {
  auto* timer = new QTimer;
  timer->setInterval(5);
  QObject::connect(timer, &QTimer::timeout, [timer, step] {
    if (QWidget* modal = QApplication::activeModalWidget()) {
      timer->stop();
      timer->deleteLater();
      step(modal);
    }
  });
  timer->start();
}

/// With MAPTESK_DIALOG_SHOTS set to a folder, leaves a picture of the dialog
/// there for a person to look at the layout; the tests never compare them.
inline void KeepShot(QWidget& dialog, const char* name) {
  const QByteArray folder = qgetenv("MAPTESK_DIALOG_SHOTS");
  if (folder.isEmpty()) return;
  dialog.show();
  dialog.grab().save(QDir(QString::fromLocal8Bit(folder)).filePath(QString(name) + ".png"));
}

inline std::vector<std::string> ListTexts(const QListWidget* list) {
  std::vector<std::string> out;
  for (int i = 0; i < list->count(); ++i) out.push_back(list->item(i)->text().toStdString());
  return out;
}

}  // namespace maptesk::testing
