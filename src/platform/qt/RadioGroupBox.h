// RadioGroupBox: the widget of a TRadioGroup: a group box of exclusive
// radio buttons, one per item, arranged as the classic radio group does:
// Columns columns filled top to bottom, the buttons sharing the space
// below the caption evenly. A click on a button is reported by the button
// group's idClicked with the item's index; the checked button follows
// SetItems only (the model decides).
#pragma once

#include <QButtonGroup>
#include <QGroupBox>
#include <QRadioButton>
#include <QStringList>

namespace Vdei {

class RadioGroupBox : public QGroupBox {
 public:
  explicit RadioGroupBox(QWidget* parent);

  QButtonGroup* Buttons() const { return group_; }
  QRadioButton* Button(int index) const;
  // Makes one button per item (keeping the buttons when the items are the
  // same), places them and checks the button of itemIndex (none for -1).
  void SetItems(const QStringList& items, int columns, int itemIndex);

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void Arrange();

  QButtonGroup* group_;
  QStringList items_;
  int columns_ = 1;
};

}  // namespace Vdei
