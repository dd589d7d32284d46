#pragma once
// The application object: an exception that escapes an event handler is
// shown in a message box instead of ending the program.
#include <QApplication>

namespace quillaby {

class TApplication : public QApplication {
 public:
  TApplication(int& argc, char** argv);
  bool notify(QObject* receiver, QEvent* event) override;
};

void ShowException(const char* what);

}  // namespace quillaby
