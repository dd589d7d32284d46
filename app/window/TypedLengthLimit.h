#pragma once
// Limits what the user types into a line edit without cutting a longer text
// that the program sets: typing or pasting may not grow the text past the
// limit, while a longer text stays whole and can still be shortened.
#include <QLineEdit>

namespace quillaby {

void LimitTypedLength(QLineEdit* edit, int limit);
// Sets the text whole, however long it is.
void SetWholeText(QLineEdit* edit, const QString& text);

}  // namespace quillaby
