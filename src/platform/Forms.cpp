#include "platform/Forms.h"

#include <algorithm>

#include "core/Exception.h"
#include "core/Properties.h"

namespace Vdei {

// ---- class information ----

const TClassInfo& TControl::StaticClassInfo() {
  static const TClassInfo info =
      ClassInfoBuilder<TControl, TComponent>("TControl")
          .Integer("Left", &TControl::Left,
                   [](TControl& c, int v) { c.SetBounds(v, c.Top(), c.Width(), c.Height()); })
          .Integer("Top", &TControl::Top,
                   [](TControl& c, int v) { c.SetBounds(c.Left(), v, c.Width(), c.Height()); })
          .Integer("Width", &TControl::Width,
                   [](TControl& c, int v) { c.SetBounds(c.Left(), c.Top(), v, c.Height()); })
          .Integer("Height", &TControl::Height,
                   [](TControl& c, int v) { c.SetBounds(c.Left(), c.Top(), c.Width(), v); })
          .Boolean("Visible", &TControl::Visible, &TControl::SetVisible, true)
          .Boolean("Enabled", &TControl::Enabled, &TControl::SetEnabled, true)
          .String("Caption", &TControl::Caption,
                  [](TControl& c, std::string v) { c.SetCaption(std::move(v)); })
          .Build();
  return info;
}

const TClassInfo& TLabel::StaticClassInfo() {
  static const TClassInfo info =
      ClassInfoBuilder<TLabel, TControl>("TLabel")
          .Boolean("AutoSize", &TLabel::AutoSize, &TLabel::SetAutoSize, true)
          .Build();
  return info;
}

const TClassInfo& TButton::StaticClassInfo() {
  static const TClassInfo info =
      ClassInfoBuilder<TButton, TControl>("TButton")
          .Boolean("Cancel", &TButton::Cancel, &TButton::SetCancel, false)
          .Build();
  return info;
}

const TClassInfo& TProgressBar::StaticClassInfo() {
  static const TClassInfo info =
      ClassInfoBuilder<TProgressBar, TControl>("TProgressBar")
          .Integer("Min", &TProgressBar::Min, &TProgressBar::SetMin, 0)
          .Integer("Max", &TProgressBar::Max, &TProgressBar::SetMax, 100)
          .Integer("Position", &TProgressBar::Position, &TProgressBar::SetPosition, 0)
          .Build();
  return info;
}

const TClassInfo& TBevel::StaticClassInfo() {
  static const TClassInfo info = ClassInfoBuilder<TBevel, TControl>("TBevel").Build();
  return info;
}

const TClassInfo& TAnimate::StaticClassInfo() {
  static const TClassInfo info =
      ClassInfoBuilder<TAnimate, TControl>("TAnimate")
          .Boolean("Active", &TAnimate::Active, &TAnimate::SetActive, false)
          .Build();
  return info;
}

const TClassInfo& TWinControl::StaticClassInfo() {
  static const TClassInfo info = ClassInfoBuilder<TWinControl, TControl>("TWinControl").Build();
  return info;
}

const TClassInfo& TPanel::StaticClassInfo() {
  static const TClassInfo info = ClassInfoBuilder<TPanel, TWinControl>("TPanel").Build();
  return info;
}

const TClassInfo& TForm::StaticClassInfo() {
  static const TClassInfo info =
      ClassInfoBuilder<TForm, TComponent>("TForm")
          .String("Caption", &TForm::Caption,
                  [](TForm& f, std::string v) { f.SetCaption(std::move(v)); })
          .Integer("ClientWidth", &TForm::ClientWidth,
                   [](TForm& f, int v) { f.SetClientSize(v, f.ClientHeight()); })
          .Integer("ClientHeight", &TForm::ClientHeight,
                   [](TForm& f, int v) { f.SetClientSize(f.ClientWidth(), v); })
          .Build();
  return info;
}

// ---- controls ----

TControl::TControl(TForm* form) : TComponent(form), form_(form) {
  if (form_) form_->AddControl(this);
}

TControl::~TControl() {
  if (form_) form_->RemoveControl(this);
}

void TControl::Changed() {
  if (form_) form_->ControlChanged();
}

void TControl::LayoutChanged() {
  if (form_) form_->LayoutChanged();
}

void TControl::SetBounds(int left, int top, int width, int height) {
  if (left == left_ && top == top_ && width == width_ && height == height_) return;
  left_ = left;
  top_ = top;
  width_ = width;
  height_ = height;
  LayoutChanged();
}

void TControl::SetVisible(bool visible) {
  if (visible == visible_) return;
  visible_ = visible;
  LayoutChanged();
}

void TControl::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  Changed();
}

bool TControl::Showing() const {
  for (const TControl* c = this; c; c = c->parent_) {
    if (!c->visible_) return false;
  }
  return true;
}

void TControl::SetAlign(TAlign align) {
  if (align == align_) return;
  align_ = align;
  LayoutChanged();
}

void TControl::SetCaption(std::string caption) {
  if (caption == caption_) return;
  caption_ = std::move(caption);
  Changed();
}

void TControl::SetParent(TWinControl* container) {
  if (container == parent_) return;
  if (container && container->Form() != form_) {
    throw Exception("A control's parent must be on its form");
  }
  for (const TControl* c = container; c; c = c->parent_) {
    if (c == this) throw Exception("A control cannot be placed inside itself");
  }
  parent_ = container;
  LayoutChanged();
}

const TFont& TControl::Font() const {
  return parentFont_ && form_ ? form_->Font() : font_;
}

void TControl::SetFont(const TFont& font) {
  font_ = font;
  parentFont_ = false;
  Changed();
}

void TControl::SetParentFont(bool value) {
  if (value == parentFont_) return;
  if (!value && form_) font_ = form_->Font();
  parentFont_ = value;
  Changed();
}

void TLabel::SetAlignment(TAlignment value) {
  if (value == alignment_) return;
  alignment_ = value;
  Changed();
}

void TButton::Click() {
  // A copy: the handler may destroy the button, and its OnClick with it.
  auto handler = OnClick;
  if (handler) handler(this);
}

void TProgressBar::SetMin(int value) {
  min_ = value;
  max_ = std::max(max_, min_);
  position_ = std::clamp(position_, min_, max_);
  Changed();
}

void TProgressBar::SetMax(int value) {
  max_ = value;
  min_ = std::min(min_, max_);
  position_ = std::clamp(position_, min_, max_);
  Changed();
}

void TProgressBar::SetPosition(int value) {
  value = std::clamp(value, min_, max_);
  if (value == position_) return;
  position_ = value;
  Changed();
}

void TAnimate::SetActive(bool value) {
  if (value == active_) return;
  active_ = value;
  Changed();
}

void TWinControl::AdjustClientRect(int&, int&, int&, int&) const {}

void TPanel::SetBevelOuter(TBevelCut value) {
  if (value == bevelOuter_) return;
  bevelOuter_ = value;
  Changed();
}

// ---- form ----

TForm::TForm(TComponent* owner) : TComponent(owner) {}

TForm::~TForm() {
  view_.reset();
  // Each control unregisters itself; the last created goes first.
  while (!controls_.empty()) delete controls_.back();
}

void TForm::SetCaption(std::string caption) {
  if (caption == caption_) return;
  caption_ = std::move(caption);
  ControlChanged();
}

void TForm::SetPos(int left, int top) {
  left_ = left;
  top_ = top;
  ControlChanged();
}

void TForm::SetClientSize(int width, int height) {
  clientWidth_ = width;
  clientHeight_ = height;
  LayoutChanged();
}

void TForm::Show() {
  if (!view_) view_ = Platform().CreateFormView(*this);
  visible_ = true;
  ControlChanged();
}

void TForm::Hide() {
  visible_ = false;
  ControlChanged();
}

void TForm::Repaint() {
  if (view_) view_->Repaint();
}

void TForm::UserClose() {
  TCloseAction action = caHide;
  auto handler = OnClose;
  if (handler) handler(this, action);
  if (action == caHide || action == caFree) Hide();
}

void TForm::CancelKey() {
  for (TControl* control : controls_) {
    auto* button = dynamic_cast<TButton*>(control);
    if (button && button->Cancel() && button->Showing()) {
      button->Click();
      return;
    }
  }
}

void TForm::ControlChanged() {
  if (view_) view_->Update();
}

void TForm::LayoutChanged() {
  AlignControls();
  ControlChanged();
}

void TForm::AddControl(TControl* control) {
  controls_.push_back(control);
  LayoutChanged();
}

void TForm::RemoveControl(TControl* control) {
  controls_.erase(std::remove(controls_.begin(), controls_.end(), control), controls_.end());
  for (TControl* other : controls_) {
    if (other->parent_ == control) other->parent_ = nullptr;
  }
  LayoutChanged();
}

void TForm::AlignControls() {
  AlignWithin(nullptr, 0, 0, clientWidth_, clientHeight_);
}

void TForm::AlignWithin(const TWinControl* container, int left, int top, int right, int bottom) {
  auto place = [](TControl* c, int l, int t, int w, int h) {
    c->left_ = l;
    c->top_ = t;
    c->width_ = w;
    c->height_ = h;
  };
  for (TAlign align : {alTop, alBottom, alLeft, alRight, alClient}) {
    for (TControl* c : controls_) {
      if (c->parent_ != container || c->align_ != align || !c->visible_) continue;
      switch (align) {
        case alTop:
          place(c, left, top, right - left, c->height_);
          top += c->height_;
          break;
        case alBottom:
          bottom -= c->height_;
          place(c, left, bottom, right - left, c->height_);
          break;
        case alLeft:
          place(c, left, top, c->width_, bottom - top);
          left += c->width_;
          break;
        case alRight:
          right -= c->width_;
          place(c, right, top, c->width_, bottom - top);
          break;
        case alClient:
          place(c, left, top, right - left, bottom - top);
          break;
        case alNone:
          break;
      }
    }
  }
  for (TControl* c : controls_) {
    auto* inner = dynamic_cast<TWinControl*>(c);
    if (!inner || c->parent_ != container) continue;
    int innerLeft = 0, innerTop = 0, innerRight = c->width_, innerBottom = c->height_;
    inner->AdjustClientRect(innerLeft, innerTop, innerRight, innerBottom);
    AlignWithin(inner, innerLeft, innerTop, innerRight, innerBottom);
  }
}

}  // namespace Vdei
