// The settings file: read once when the window is made, written when it
// closes, keys in the same order both ways.
#include <QLineEdit>
#include <QMessageBox>
#include <QRadioButton>
#include <algorithm>
#include <charconv>
#include <utility>

#include "app/window/AnsiText.h"
#include "app/window/FormArc.h"
#include "app/window/RadioGroup.h"
#include "app/window/TypedLengthLimit.h"
#include "platform/profile.h"

namespace quillaby {
namespace {

constexpr char kSection[] = "Form";

// A decimal integer and nothing else; false for anything that does not parse.
bool ParseInt(const std::string& text, int& value) {
  const char* first = text.data();
  const char* last = first + text.size();
  if (first != last && *first == '+') {
    ++first;
    if (first != last && *first == '-') return false;
  }
  auto [end, error] = std::from_chars(first, last, value);
  return error == std::errc() && end == last;
}

}  // namespace

void TFormArc::ReadSettings() {
  auto text = [this](const char* key, const std::string& def) {
    return platform::GetPrivateProfileString(kSection, key, def, settingsPath_);
  };
  auto integer = [&](const char* key, int def) {
    int value = 0;
    return ParseInt(text(key, std::string()), value) ? value : def;
  };

  int top = integer("Top", 100);
  int left = integer("Left", 100);
  move(left, top);
  GroupAfter->SetItemIndex(std::clamp(integer("After", 0), -1, 1));
  switch (integer("Exist", 1)) {
    case 0: RadioOver->setChecked(true); break;
    case 1: RadioSkip->setChecked(true); break;
    case 2: RadioRename->setChecked(true); break;
    default: break;
  }
  switch (integer("FolderType", 0)) {
    case 0: RadioSame->setChecked(true); break;
    case 1: RadioFolder->setChecked(true); break;
    default: break;
  }
  EditFolder->setText(FromAnsi(text("Folder", "/")));
  EditRename->setText(FromAnsi(text("Rename", "%a")));
  SetWholeText(EditMask, FromAnsi(text("Mask", "*.*")));
  InitialDir = text("SrcFolder", std::string());
}

bool TFormArc::WriteSettings() {
  int exist = RadioOver->isChecked() ? 0 : RadioSkip->isChecked() ? 1 : 2;
  const std::pair<const char*, std::string> values[] = {
      {"Top", std::to_string(pos().y())},
      {"Left", std::to_string(pos().x())},
      {"After", std::to_string(GroupAfter->ItemIndex())},
      {"Exist", std::to_string(exist)},
      {"FolderType", RadioFolder->isChecked() ? "1" : "0"},
      {"Folder", ToAnsi(EditFolder->text())},
      {"Rename", ToAnsi(EditRename->text())},
      {"Mask", ToAnsi(EditMask->text())},
      {"SrcFolder", InitialDir},
  };
  for (const auto& [key, value] : values) {
    if (!platform::WritePrivateProfileString(kSection, key, value, settingsPath_)) {
      QMessageBox::critical(this, QStringLiteral("Quillaby"),
                            QStringLiteral("設定ファイル %1 に書き込めません。").arg(FromAnsi(settingsPath_)));
      return false;
    }
  }
  return true;
}

}  // namespace quillaby
