#pragma once
// A group box of radio buttons chosen by item index; -1 means none chosen.
#include <QButtonGroup>
#include <QGroupBox>
#include <QStringList>

class QRadioButton;

namespace quillaby {

class TRadioGroup : public QGroupBox {
 public:
  TRadioGroup(const QString& caption, const QStringList& items, QWidget* parent);

  int ItemIndex() const;
  // Values outside the items choose none.
  void SetItemIndex(int index);
  QRadioButton* Item(int index) const;
  int ItemCount() const;

 private:
  QButtonGroup buttons_;
};

}  // namespace quillaby
