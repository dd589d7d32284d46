#include "app/window/Application.h"

#include <QMessageBox>
#include <exception>

namespace quillaby {

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv) {
  setApplicationName(QStringLiteral("Quillaby"));
  setDesktopFileName(QStringLiteral("quillaby"));
}

bool TApplication::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (const std::exception& e) {
    ShowException(e.what());
  } catch (...) {
    ShowException("unknown exception");
  }
  return false;
}

void ShowException(const char* what) {
  QMessageBox::critical(QApplication::activeWindow(), QStringLiteral("Quillaby"), QString::fromLocal8Bit(what));
}

}  // namespace quillaby
