// A small form model: forms and the few controls that the libraries' own
// windows use (labels, buttons, progress bars, bevels, a busy animation,
// panels). FormControls.h adds those of the programs' main windows.
//
// The model holds the whole state of a window: texts, positions in pixels,
// visibility, the progress bar's range and position. Tests read that state
// directly. A form that is shown gets a FormView from the platform services
// (Platform.h); the view draws the model and reports the user's actions
// back through TButton::Click and TForm::UserClose. Headless, there is no
// view and the model alone is the window.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/Component.h"
#include "core/Graphics.h"
#include "platform/Platform.h"

namespace Vdei {

class TForm;

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };

class TWinControl;

class TControl : public TComponent {
 public:
  VDEI_CLASS(TControl)
  // The control belongs to form (owner and parent at once); it is listed
  // in form's Controls() until it is destroyed.
  explicit TControl(TForm* form);
  ~TControl() override;

  TForm* Form() const { return form_; }
  // Positions are relative to the parent panel, or to the form's client
  // area when the control has none.
  int Left() const { return left_; }
  int Top() const { return top_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  void SetBounds(int left, int top, int width, int height);
  bool Visible() const { return visible_; }
  void SetVisible(bool visible);
  // Visible, and so are all the containers it sits on.
  bool Showing() const;
  // A disabled control takes no user input; the view greys it out, and
  // the controls inside a disabled container with it.
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  // An aligned control takes the whole width (alTop, alBottom) or height
  // (alLeft, alRight) of what remains of its parent, in creation order;
  // alClient takes the rest. Its own height or width is kept.
  TAlign Align() const { return align_; }
  void SetAlign(TAlign align);
  const std::string& Caption() const { return caption_; }
  void SetCaption(std::string caption);
  // The container of the same form that holds the control (nullptr: the
  // form itself). A container that is destroyed leaves its controls on the
  // form. Raises Exception for a container of another form or one inside
  // this one.
  TWinControl* Parent() const { return parent_; }
  void SetParent(TWinControl* container);
  // The font in effect: the form's while ParentFont is set (the default),
  // else the control's own, which SetFont gives it.
  const TFont& Font() const;
  void SetFont(const TFont& font);
  bool ParentFont() const { return parentFont_; }
  void SetParentFont(bool value);

 protected:
  void Changed();  // tells the form's view

 private:
  friend class TForm;
  void LayoutChanged();  // realigns the form, then tells its view

  TForm* form_;
  TWinControl* parent_ = nullptr;
  int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
  bool visible_ = true;
  bool enabled_ = true;
  TAlign align_ = alNone;
  std::string caption_;
  TFont font_;
  bool parentFont_ = true;
};

// A line of text in its bounds; the view cuts a text that is too long
// with an ellipsis (no word wrap).
class TLabel : public TControl {
 public:
  VDEI_CLASS(TLabel)
  using TControl::TControl;
  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool value) { autoSize_ = value; }
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment value);

 private:
  bool autoSize_ = true;
  TAlignment alignment_ = taLeftJustify;
};

class TButton : public TControl {
 public:
  VDEI_CLASS(TButton)
  using TControl::TControl;
  // Esc in the form presses a button whose Cancel is set.
  bool Cancel() const { return cancel_; }
  void SetCancel(bool value) { cancel_ = value; }
  TModalResult ModalResult() const { return modalResult_; }
  void SetModalResult(TModalResult value) { modalResult_ = value; }
  TCursor Cursor() const { return cursor_; }
  void SetCursor(TCursor value) { cursor_ = value; }
  // Presses the button: raises OnClick.
  void Click();
  std::function<void(TObject* Sender)> OnClick;

 private:
  bool cancel_ = false;
  TModalResult modalResult_ = mrNone;
  TCursor cursor_ = crDefault;
};

class TProgressBar : public TControl {
 public:
  VDEI_CLASS(TProgressBar)
  using TControl::TControl;
  int Min() const { return min_; }
  int Max() const { return max_; }
  int Position() const { return position_; }
  // A new minimum above the maximum raises the maximum to it, and a new
  // maximum below the minimum lowers the minimum; the position follows.
  void SetMin(int value);
  void SetMax(int value);
  void SetPosition(int value);  // kept within Min..Max

 private:
  int min_ = 0, max_ = 100, position_ = 0;
};

enum TBevelShape { bsBox, bsFrame, bsTopLine, bsBottomLine };
enum TBevelStyle { bsLowered, bsRaised };

class TBevel : public TControl {
 public:
  VDEI_CLASS(TBevel)
  using TControl::TControl;
  TBevelShape Shape() const { return shape_; }
  void SetShape(TBevelShape value) { shape_ = value; }
  TBevelStyle Style() const { return style_; }
  void SetStyle(TBevelStyle value) { style_ = value; }

 private:
  TBevelShape shape_ = bsBox;
  TBevelStyle style_ = bsLowered;
};

// A busy indicator ("copy files" animation); the platform draws any
// comparable indicator while Active.
class TAnimate : public TControl {
 public:
  VDEI_CLASS(TAnimate)
  using TControl::TControl;
  bool Active() const { return active_; }
  void SetActive(bool value);
  int StopFrame() const { return stopFrame_; }
  void SetStopFrame(int value) { stopFrame_ = value; }
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool value) { transparent_ = value; }

 private:
  bool active_ = false;
  int stopFrame_ = 0;
  bool transparent_ = false;
};

// A control that holds other controls of its form (TControl::SetParent).
// Positions of the controls inside are relative to its top left corner;
// aligned ones share its client area, which is the whole control unless a
// subclass reserves a frame (see AdjustClientRect).
class TWinControl : public TControl {
 public:
  VDEI_CLASS(TWinControl)
  using TControl::TControl;
  // Narrows the rectangle (the whole control at first) to the part that
  // aligned controls share.
  virtual void AdjustClientRect(int& left, int& top, int& right, int& bottom) const;
};

enum TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };

// A container drawn as a panel with an outer bevel.
class TPanel : public TWinControl {
 public:
  VDEI_CLASS(TPanel)
  using TWinControl::TWinControl;
  TBevelCut BevelOuter() const { return bevelOuter_; }
  void SetBevelOuter(TBevelCut value);

 private:
  TBevelCut bevelOuter_ = bvRaised;
};

enum TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow };
enum TPosition { poDesigned, poScreenCenter };
enum TFormStyle { fsNormal, fsStayOnTop };
enum TCloseAction { caNone, caHide, caFree, caMinimize };

class TForm : public TComponent {
 public:
  VDEI_CLASS(TForm)
  explicit TForm(TComponent* owner);
  // Destroys the view first, then the controls, so no view ever sees a
  // control that is gone.
  ~TForm() override;

  const std::string& Caption() const { return caption_; }
  void SetCaption(std::string caption);
  int Left() const { return left_; }
  int Top() const { return top_; }
  void SetPos(int left, int top);
  int ClientWidth() const { return clientWidth_; }
  int ClientHeight() const { return clientHeight_; }
  void SetClientSize(int width, int height);
  TFormBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TFormBorderStyle value) { borderStyle_ = value; }
  TPosition Position() const { return position_; }
  void SetPosition(TPosition value) { position_ = value; }
  TFormStyle FormStyle() const { return formStyle_; }
  void SetFormStyle(TFormStyle value) { formStyle_ = value; }
  TFont& Font() { return font_; }
  const TFont& Font() const { return font_; }

  // The controls placed on the form, in creation order (panels' controls
  // included).
  const std::vector<TControl*>& Controls() const { return controls_; }

  bool Visible() const { return visible_; }
  // Shows the form without making it modal. The first Show asks the
  // platform services for a view (none headless); the view lives until
  // the form is destroyed.
  void Show();
  void Hide();
  // Draws the form at once when it has a view.
  void Repaint();

  // The user closed the window (system menu, close box): raises OnClose
  // with caHide preset; caHide and caFree hide the form (it is freed by its
  // owner, never here), caNone keeps it.
  void UserClose();
  // Esc pressed: clicks the first showing button whose Cancel is set.
  void CancelKey();

  std::function<void(TObject* Sender, TCloseAction& Action)> OnClose;

  FormView* View() const { return view_.get(); }
  void ControlChanged();  // called by controls: tells the view

 private:
  friend class TControl;
  void AddControl(TControl* control);
  void RemoveControl(TControl* control);
  // Places the aligned controls of every container, from the form down.
  void AlignControls();
  void AlignWithin(const TWinControl* container, int left, int top, int right, int bottom);
  void LayoutChanged();

  std::string caption_;
  int left_ = 0, top_ = 0, clientWidth_ = 0, clientHeight_ = 0;
  TFormBorderStyle borderStyle_ = bsSizeable;
  TPosition position_ = poDesigned;
  TFormStyle formStyle_ = fsNormal;
  TFont font_;
  std::vector<TControl*> controls_;
  bool visible_ = false;
  std::unique_ptr<FormView> view_;
};

}  // namespace Vdei
