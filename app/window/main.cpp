// The window program. It takes no arguments of its own: archives come in by
// drop or through the open dialog.
#include <exception>

#include "app/core/LocalTimeZone.h"
#include "app/window/Application.h"
#include "app/window/FormArc.h"

int main(int argc, char** argv) {
  quillaby::CacheLocalTimeZone();
  quillaby::TApplication app(argc, argv);
  try {
    quillaby::TFormArc form;
    form.show();
    return app.exec();
  } catch (const std::exception& e) {
    quillaby::ShowException(e.what());
  }
  return 1;
}
