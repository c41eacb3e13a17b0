// The Qt view of a TForm: a top-level, non-modal window built from the
// form's model, with one child widget per control (ControlWidgets.h).
//
// The window takes the form's caption, client size, font, position
// (centred on the screen for poScreenCenter, each time it is shown),
// border style (bsDialog: fixed size, only a close button; bsSingle fixed
// size; bsToolWindow a tool window; bsNone no frame) and "stays on top"
// for fsStayOnTop. Esc calls TForm::CancelKey; the close box calls
// TForm::UserClose and leaves showing or hiding to the model (caNone keeps
// the window). A button click calls TButton::Click, a radio button's click
// TRadioGroup::ClickItem.
//
// Handlers may destroy the form, and with it this view, while a click or a
// key is being handled: the window then goes with deleteLater, after the
// event, and nothing reaches the model any more.
#pragma once

#include <memory>
#include <vector>

#include <QPoint>
#include <QPointer>
#include <QWidget>

#include "platform/Forms.h"

namespace Vdei {

class QtFormView : public FormView {
 public:
  explicit QtFormView(TForm& form);
  ~QtFormView() override;

  // Creates widgets for new controls, drops those of controls that are
  // gone, and copies the state of the form and every control.
  void Update() override;
  // Update, then paints the window at once.
  void Repaint() override;

  QWidget* Window() const;
  // The widget that shows control; nullptr for a control of another form.
  QWidget* WidgetOf(const TControl* control) const;

 private:
  class FormWindow;
  struct Entry {
    const TControl* control;
    // The class the widget was made for: a control announces itself from
    // TControl's constructor, before its own class is complete, so its
    // widget is made again once the class is known.
    const TClassInfo* madeFor;
    QPointer<QWidget> widget;
  };

  // Runs a user action on the model; the view may be gone afterwards.
  template <class Action>
  void Dispatch(Action action);
  void SyncWindow();
  void PlaceWindow();
  void SyncControls();
  void MakeWidgets();
  QWidget* MakeWidget(TControl* control);
  void Retire(QWidget* widget);
  void DropStaleWidgets();

  TForm& form_;
  std::unique_ptr<FormWindow> window_;
  // Context of every connection to the model: destroyed with the view, so
  // no signal reaches a view or control that is gone.
  std::unique_ptr<QObject> connections_;
  std::vector<Entry> entries_;
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
  int dispatching_ = 0;
  QPoint placedAt_;  // the form's Left/Top that the window was last moved to
};

}  // namespace Vdei
