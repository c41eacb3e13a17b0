#include "platform/qt/QtFormView.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPushButton>
#include <QScreen>
#include <algorithm>
#include <functional>

#include "platform/FormControls.h"
#include "platform/qt/ControlWidgets.h"
#include "platform/qt/QtConvert.h"
#include "platform/qt/RadioGroupBox.h"

namespace Vdei {

class QtFormView::FormWindow : public QWidget {
 public:
  FormWindow() : QWidget(nullptr, Qt::Dialog) {}
  std::function<void()> OnCloseBox;
  std::function<void()> OnEscape;

 protected:
  void closeEvent(QCloseEvent* event) override {
    event->ignore();
    auto handler = OnCloseBox;  // a copy: the handler may clear OnCloseBox
    if (handler) handler();
  }
  void keyPressEvent(QKeyEvent* event) override {
    if (event->key() != Qt::Key_Escape || event->modifiers() != Qt::NoModifier) {
      QWidget::keyPressEvent(event);
      return;
    }
    event->accept();
    auto handler = OnEscape;
    if (handler) handler();
  }
};

namespace {

Qt::WindowFlags FlagsOf(const TForm& form) {
  Qt::WindowFlags flags;
  switch (form.BorderStyle()) {
    case bsDialog:
      flags = Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
              Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
      break;
    case bsToolWindow:
      flags = Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint;
      break;
    case bsNone:
      flags = Qt::Window | Qt::FramelessWindowHint;
      break;
    case bsSingle:
      flags = Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
              Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint;
      break;
    case bsSizeable:
      flags = Qt::Window;
      break;
  }
  if (form.FormStyle() == fsStayOnTop) flags |= Qt::WindowStaysOnTopHint;
  return flags;
}

}  // namespace

QtFormView::QtFormView(TForm& form)
    : form_(form),
      window_(std::make_unique<FormWindow>()),
      connections_(std::make_unique<QObject>()) {
  window_->OnCloseBox = [this] { Dispatch([](TForm& f) { f.UserClose(); }); };
  window_->OnEscape = [this] { Dispatch([](TForm& f) { f.CancelKey(); }); };
}

QtFormView::~QtFormView() {
  *alive_ = false;
  connections_.reset();
  window_->OnCloseBox = nullptr;
  window_->OnEscape = nullptr;
  window_->hide();
  // Inside one of the window's own events the window must outlive it.
  if (dispatching_ > 0) window_.release()->deleteLater();
}

QWidget* QtFormView::Window() const {
  return window_.get();
}

QWidget* QtFormView::WidgetOf(const TControl* control) const {
  auto it = std::find_if(entries_.begin(), entries_.end(),
                         [control](const Entry& e) { return e.control == control; });
  return it == entries_.end() ? nullptr : it->widget.data();
}

template <class Action>
void QtFormView::Dispatch(Action action) {
  std::shared_ptr<bool> alive = alive_;
  ++dispatching_;
  action(form_);
  if (*alive) --dispatching_;
}

void QtFormView::Update() {
  SyncControls();
  SyncWindow();
}

void QtFormView::Repaint() {
  Update();
  window_->repaint();
}

void QtFormView::SyncWindow() {
  const Qt::WindowFlags flags = FlagsOf(form_);
  if (window_->windowFlags() != flags) window_->setWindowFlags(flags);  // hides the window
  window_->setWindowTitle(ToQString(form_.Caption()));
  window_->setFont(ToQFont(form_.Font()));
  const QSize client(form_.ClientWidth(), form_.ClientHeight());
  if (form_.BorderStyle() == bsSizeable) {
    window_->setMinimumSize(0, 0);
    window_->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    window_->resize(client);
  } else {
    window_->setFixedSize(client);
  }
  const QPoint designed(form_.Left(), form_.Top());
  if (form_.Position() == poDesigned && window_->isVisible() && designed != placedAt_) {
    PlaceWindow();
  }
  if (form_.Visible() && !window_->isVisible()) {
    PlaceWindow();
    window_->show();
    // Only a shown window knows its frame: centre the whole window now.
    if (form_.Position() == poScreenCenter) PlaceWindow();
  } else if (!form_.Visible() && window_->isVisible()) {
    window_->hide();
  }
}

void QtFormView::PlaceWindow() {
  placedAt_ = QPoint(form_.Left(), form_.Top());
  if (form_.Position() == poDesigned) {
    window_->move(placedAt_);
    return;
  }
  QScreen* screen = window_->screen() ? window_->screen() : QGuiApplication::primaryScreen();
  if (!screen) return;
  QRect frame(QPoint(), window_->frameGeometry().size());
  frame.moveCenter(screen->availableGeometry().center());
  window_->move(frame.topLeft());
}

void QtFormView::SyncControls() {
  MakeWidgets();
  // Parents first (a panel's controls may have moved), then the widgets
  // of controls that are gone, then the state of the rest.
  for (const Entry& entry : entries_) {
    const TControl* control = entry.control;
    if (std::find(form_.Controls().begin(), form_.Controls().end(), control) ==
        form_.Controls().end()) {
      continue;
    }
    QWidget* parent = control->Parent() ? WidgetOf(control->Parent()) : window_.get();
    if (entry.widget && entry.widget->parentWidget() != parent) entry.widget->setParent(parent);
  }
  DropStaleWidgets();
  for (const Entry& entry : entries_) {
    if (entry.widget) SyncControlWidget(*entry.control, entry.widget);
  }
}

void QtFormView::MakeWidgets() {
  for (TControl* control : form_.Controls()) {
    auto it = std::find_if(entries_.begin(), entries_.end(),
                           [control](const Entry& e) { return e.control == control; });
    if (it == entries_.end()) {
      entries_.push_back({control, &control->ClassInfo(), MakeWidget(control)});
    } else if (it->madeFor != &control->ClassInfo()) {
      Retire(it->widget);
      it->madeFor = &control->ClassInfo();
      it->widget = MakeWidget(control);
    }
  }
}

QWidget* QtFormView::MakeWidget(TControl* control) {
  QWidget* widget = CreateControlWidget(*control, window_.get());
  if (auto* button = dynamic_cast<TButton*>(control)) {
    QObject::connect(static_cast<QPushButton*>(widget), &QPushButton::clicked, connections_.get(),
                     [this, button] { Dispatch([button](TForm&) { button->Click(); }); });
  } else if (auto* group = dynamic_cast<TRadioGroup*>(control)) {
    QObject::connect(static_cast<RadioGroupBox*>(widget)->Buttons(), &QButtonGroup::idClicked,
                     connections_.get(), [this, group](int index) {
                       Dispatch([group, index](TForm&) { group->ClickItem(index); });
                     });
  }
  return widget;
}

void QtFormView::Retire(QWidget* widget) {
  if (!widget) return;
  // The control may be going inside this widget's own signal: the widget
  // (and whatever inside it signals) stops talking to the model now and is
  // deleted after the event.
  QObject::disconnect(widget, nullptr, connections_.get(), nullptr);
  for (QObject* part : widget->findChildren<QObject*>()) {
    QObject::disconnect(part, nullptr, connections_.get(), nullptr);
  }
  widget->hide();
  widget->deleteLater();
}

void QtFormView::DropStaleWidgets() {
  const auto& controls = form_.Controls();
  auto stale = [&controls](const Entry& e) {
    return std::find(controls.begin(), controls.end(), e.control) == controls.end();
  };
  for (Entry& entry : entries_) {
    if (stale(entry)) Retire(entry.widget);
  }
  entries_.erase(std::remove_if(entries_.begin(), entries_.end(), stale), entries_.end());
}

}  // namespace Vdei
