#include "app/window/RadioGroup.h"

#include <QRadioButton>
#include <QVBoxLayout>

namespace quillaby {

TRadioGroup::TRadioGroup(const QString& caption, const QStringList& items, QWidget* parent)
    : QGroupBox(caption, parent), buttons_(this) {
  auto* layout = new QVBoxLayout(this);
  for (int i = 0; i < items.size(); ++i) {
    auto* button = new QRadioButton(items[i], this);
    buttons_.addButton(button, i);
    layout->addWidget(button);
  }
  layout->addStretch(1);
}

int TRadioGroup::ItemIndex() const { return buttons_.checkedId(); }

void TRadioGroup::SetItemIndex(int index) {
  if (QAbstractButton* b = buttons_.button(index)) {
    b->setChecked(true);
    return;
  }
  // An exclusive group never unchecks its last button by itself.
  buttons_.setExclusive(false);
  for (QAbstractButton* b : buttons_.buttons()) b->setChecked(false);
  buttons_.setExclusive(true);
}

QRadioButton* TRadioGroup::Item(int index) const { return static_cast<QRadioButton*>(buttons_.button(index)); }

int TRadioGroup::ItemCount() const { return static_cast<int>(buttons_.buttons().size()); }

}  // namespace quillaby
