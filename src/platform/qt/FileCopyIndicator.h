// A busy indicator in the manner of the "copy files" animation: a sheet
// of paper travels from one folder to another while the indicator is
// active; inactive, the two folders stand still. Like every child widget
// that does not fill its background, it lets a bevel or panel show through.
#pragma once

#include <QTimer>
#include <QWidget>

namespace Vdei {

class FileCopyIndicator : public QWidget {
 public:
  explicit FileCopyIndicator(QWidget* parent);
  bool IsActive() const { return timer_.isActive(); }
  void SetActive(bool active);
  // The animation step shown, 0 .. kSteps - 1.
  int Step() const { return step_; }
  static constexpr int kSteps = 24;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void DrawFolder(QPainter& painter, const QRectF& box) const;

  QTimer timer_;
  int step_ = 0;
};

}  // namespace Vdei
