#pragma once
// Text between the widgets (UTF-16) and the program's 8-bit strings, which
// are in the process's code page.
#include <QString>
#include <string>

#include "platform/codepage.h"

namespace quillaby {

inline std::string ToAnsi(const QString& s) {
  return platform::FromUtf8(s.toStdString(), platform::GetCodePage());
}

inline QString FromAnsi(const std::string& s) {
  return QString::fromStdString(platform::ToUtf8(s, platform::GetCodePage()));
}

}  // namespace quillaby
