#pragma once
// Helpers for the window tests: temporary folders, settings files, and
// acting on a modal dialog from inside its own event loop.
#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QLineEdit>
#include <QPointer>
#include <QTimer>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <string>

namespace windowtest {

inline std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

inline void WriteText(const std::string& path, const std::string& text) {
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  std::ofstream(path, std::ios::binary) << text;
}

// Calls action with the next modal dialog once it is open; the dialog's
// exec() returns when action accepts or rejects it. Returns a flag that
// turns true once action has run.
inline std::shared_ptr<bool> OnNextModal(std::function<void(QDialog*)> action) {
  auto done = std::make_shared<bool>(false);
  auto* timer = new QTimer;
  auto clock = std::make_shared<QElapsedTimer>();
  clock->start();
  QObject::connect(timer, &QTimer::timeout, [timer, action, done, clock] {
    auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (dialog != nullptr && dialog->isVisible()) {
      timer->stop();
      timer->deleteLater();
      *done = true;
      action(dialog);
      // A dialog the action failed to end would hold the test forever.
      QPointer<QDialog> open(dialog);
      QTimer::singleShot(5000, [open] {
        if (open && open->isVisible()) open->reject();
      });
    } else if (clock->elapsed() > 20000) {
      timer->stop();
      timer->deleteLater();
    }
  });
  timer->start(10);
  return done;
}

// Types into a file dialog's name field, as a user would.
inline void TypeFileName(QFileDialog* dialog, const QString& text) {
  if (auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))) edit->setText(text);
}

}  // namespace windowtest
