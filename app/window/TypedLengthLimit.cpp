#include "app/window/TypedLengthLimit.h"

#include <algorithm>

namespace quillaby {

void LimitTypedLength(QLineEdit* edit, int limit) {
  edit->setMaxLength(std::max(limit, static_cast<int>(edit->text().size())));
  // The edit's own limit follows the text down to the typed limit, so a long
  // text can be shortened but never grown again.
  QObject::connect(edit, &QLineEdit::textChanged, edit, [edit, limit](const QString& text) {
    edit->setMaxLength(std::max(limit, static_cast<int>(text.size())));
  });
}

void SetWholeText(QLineEdit* edit, const QString& text) {
  if (text.size() > edit->maxLength()) edit->setMaxLength(static_cast<int>(text.size()));
  edit->setText(text);
}

}  // namespace quillaby
