#include "platform/qt/RadioGroupBox.h"

#include <QFontMetrics>
#include <algorithm>

namespace Vdei {

RadioGroupBox::RadioGroupBox(QWidget* parent) : QGroupBox(parent), group_(new QButtonGroup(this)) {}

QRadioButton* RadioGroupBox::Button(int index) const {
  return static_cast<QRadioButton*>(group_->button(index));
}

void RadioGroupBox::SetItems(const QStringList& items, int columns, int itemIndex) {
  if (items != items_) {
    // The click being handled may be one of these buttons': they go after it.
    for (QAbstractButton* button : group_->buttons()) {
      group_->removeButton(button);
      button->hide();
      button->deleteLater();
    }
    for (int i = 0; i < items.size(); ++i) {
      auto* button = new QRadioButton(items[i], this);
      group_->addButton(button, i);
      button->show();
    }
    items_ = items;
  }
  columns_ = std::max(columns, 1);
  if (QAbstractButton* chosen = group_->button(itemIndex)) {
    chosen->setChecked(true);
  } else if (QAbstractButton* checked = group_->checkedButton()) {
    // An exclusive group keeps one button checked: let go for a moment.
    group_->setExclusive(false);
    checked->setChecked(false);
    group_->setExclusive(true);
  }
  Arrange();
}

void RadioGroupBox::resizeEvent(QResizeEvent* event) {
  QGroupBox::resizeEvent(event);
  Arrange();
}

void RadioGroupBox::Arrange() {
  const int count = static_cast<int>(items_.size());
  if (count == 0) return;
  const int perColumn = (count + columns_ - 1) / columns_;
  const int buttonWidth = (width() - 10) / columns_;
  const int textHeight = fontMetrics().height();
  const int space = std::max(height() - textHeight - 5, 0);
  const int buttonHeight = space / perColumn;
  const int topMargin = textHeight + 1 + (space % perColumn) / 2;
  for (int i = 0; i < count; ++i) {
    Button(i)->setGeometry(i / perColumn * buttonWidth + 8,
                           i % perColumn * buttonHeight + topMargin, buttonWidth, buttonHeight);
  }
}

}  // namespace Vdei
