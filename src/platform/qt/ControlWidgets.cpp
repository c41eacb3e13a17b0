#include "platform/qt/ControlWidgets.h"

#include <QFrame>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTableView>

#include "platform/FormControls.h"
#include "platform/qt/DataSetModel.h"
#include "platform/qt/FileCopyIndicator.h"
#include "platform/qt/QtConvert.h"
#include "platform/qt/RadioGroupBox.h"

namespace Vdei {

namespace {

constexpr int kBevelLineHeight = 2;

void SyncLabel(const TLabel& model, QLabel* label) {
  label->setAlignment(ToQtAlignment(model.Alignment(), Qt::AlignTop));
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, ToQColor(model.Font().Color()));
  label->setPalette(palette);
  const QString text = ToQString(model.Caption());
  const QString shown = label->fontMetrics().elidedText(text, Qt::ElideRight, model.Width());
  label->setText(shown);
  label->setToolTip(shown == text ? QString() : text);
}

void SyncButton(const TButton& model, QPushButton* button) {
  button->setText(ToQString(model.Caption()));
  if (model.Cursor() == crDefault) {
    button->unsetCursor();
  } else {
    button->setCursor(ToQtCursor(model.Cursor()));
  }
}

void SyncProgressBar(const TProgressBar& model, QProgressBar* bar) {
  bar->setRange(model.Min(), model.Max());
  bar->setValue(model.Position());
}

QRect BevelGeometry(const TBevel& model) {
  QRect bounds(model.Left(), model.Top(), model.Width(), model.Height());
  if (model.Shape() == bsTopLine) bounds.setHeight(kBevelLineHeight);
  if (model.Shape() == bsBottomLine) {
    bounds.setTop(bounds.bottom() - kBevelLineHeight + 1);
  }
  return bounds;
}

void SyncBevel(const TBevel& model, QFrame* frame) {
  bool line = model.Shape() == bsTopLine || model.Shape() == bsBottomLine;
  frame->setFrameShape(line ? QFrame::HLine : model.Shape() == bsBox ? QFrame::Box : QFrame::Panel);
  frame->setFrameShadow(model.Style() == bsRaised ? QFrame::Raised : QFrame::Sunken);
}

void SyncPanel(const TPanel& model, QFrame* frame) {
  switch (model.BevelOuter()) {
    case bvRaised:
    case bvLowered:
      frame->setFrameShape(QFrame::Panel);
      frame->setFrameShadow(model.BevelOuter() == bvRaised ? QFrame::Raised : QFrame::Sunken);
      break;
    case bvNone:
    case bvSpace:
      frame->setFrameShape(QFrame::NoFrame);
      break;
  }
}

void SyncRadioGroup(const TRadioGroup& model, RadioGroupBox* box) {
  box->setTitle(ToQString(model.Caption()));
  QStringList items;
  for (int i = 0; i < model.Items()->Count(); ++i)
    items.append(ToQString(model.Items()->Strings(i)));
  box->SetItems(items, model.Columns(), model.ItemIndex());
}

QTableView* CreateGrid(QWidget* parent) {
  auto* table = new QTableView(parent);
  table->setModel(new DataSetModel(table));
  table->setWordWrap(false);
  table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 4);
  return table;
}

void SyncGrid(const TDBGridControl& model, QTableView* table) {
  static_cast<DataSetModel*>(table->model())->SetDataSource(model.DataSource());
}

// Applies sync to the widget when the model is of class M.
template <class M, class W, class F>
bool SyncAs(const TControl& control, QWidget* widget, F sync) {
  auto* model = dynamic_cast<const M*>(&control);
  if (!model) return false;
  sync(*model, static_cast<W*>(widget));
  return true;
}

}  // namespace

QWidget* CreateControlWidget(const TControl& control, QWidget* parent) {
  QWidget* widget;
  if (dynamic_cast<const TPanel*>(&control)) {
    widget = new QFrame(parent);
  } else if (dynamic_cast<const TLabel*>(&control)) {
    auto* label = new QLabel(parent);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(false);
    widget = label;
  } else if (dynamic_cast<const TButton*>(&control)) {
    auto* button = new QPushButton(parent);
    button->setAutoDefault(false);
    widget = button;
  } else if (dynamic_cast<const TProgressBar*>(&control)) {
    auto* bar = new QProgressBar(parent);
    bar->setTextVisible(false);
    widget = bar;
  } else if (dynamic_cast<const TBevel*>(&control)) {
    widget = new QFrame(parent);
    widget->setAttribute(Qt::WA_TransparentForMouseEvents);
  } else if (dynamic_cast<const TAnimate*>(&control)) {
    widget = new FileCopyIndicator(parent);
  } else if (dynamic_cast<const TRadioGroup*>(&control)) {
    widget = new RadioGroupBox(parent);
  } else if (dynamic_cast<const TGroupBox*>(&control)) {
    widget = new QGroupBox(parent);
  } else if (dynamic_cast<const TStatusBar*>(&control)) {
    widget = new QStatusBar(parent);
  } else if (dynamic_cast<const TDBGridControl*>(&control)) {
    widget = CreateGrid(parent);
  } else {
    widget = new QWidget(parent);
  }
  widget->setObjectName(ToQString(control.Name()));
  return widget;
}

void SyncControlWidget(const TControl& control, QWidget* widget) {
  widget->setFont(ToQFont(control.Font()));
  QRect bounds(control.Left(), control.Top(), control.Width(), control.Height());
  SyncAs<TPanel, QFrame>(control, widget, SyncPanel) ||
      SyncAs<TLabel, QLabel>(control, widget, SyncLabel) ||
      SyncAs<TButton, QPushButton>(control, widget, SyncButton) ||
      SyncAs<TProgressBar, QProgressBar>(control, widget, SyncProgressBar) ||
      SyncAs<TBevel, QFrame>(control, widget,
                             [&](const TBevel& model, QFrame* frame) {
                               SyncBevel(model, frame);
                               bounds = BevelGeometry(model);
                             }) ||
      SyncAs<TAnimate, FileCopyIndicator>(
          control, widget,
          [](const TAnimate& model, auto* indicator) { indicator->SetActive(model.Active()); }) ||
      SyncAs<TRadioGroup, RadioGroupBox>(control, widget, SyncRadioGroup) ||
      SyncAs<TGroupBox, QGroupBox>(
          control, widget,
          [](const TGroupBox& model, auto* box) { box->setTitle(ToQString(model.Caption())); }) ||
      SyncAs<TStatusBar, QStatusBar>(control, widget,
                                     [](const TStatusBar& model, auto* bar) {
                                       bar->showMessage(ToQString(model.SimpleText()));
                                     }) ||
      SyncAs<TDBGridControl, QTableView>(control, widget, SyncGrid);
  widget->setGeometry(bounds);
  widget->setEnabled(control.Enabled());
  widget->setVisible(control.Visible());
}

}  // namespace Vdei
