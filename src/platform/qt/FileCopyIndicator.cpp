#include "platform/qt/FileCopyIndicator.h"

#include <QPainter>
#include <QPainterPath>
#include <cmath>

namespace Vdei {

namespace {

constexpr int kFrameMilliseconds = 60;

}  // namespace

FileCopyIndicator::FileCopyIndicator(QWidget* parent) : QWidget(parent) {
  timer_.setInterval(kFrameMilliseconds);
  QObject::connect(&timer_, &QTimer::timeout, this, [this] {
    step_ = (step_ + 1) % kSteps;
    update();
  });
}

void FileCopyIndicator::SetActive(bool active) {
  if (active == timer_.isActive()) return;
  if (active) {
    timer_.start();
  } else {
    timer_.stop();
    step_ = 0;
  }
  update();
}

void FileCopyIndicator::DrawFolder(QPainter& painter, const QRectF& box) const {
  QPainterPath folder;
  folder.moveTo(box.left(), box.top() + box.height() * 0.2);
  folder.lineTo(box.left() + box.width() * 0.35, box.top() + box.height() * 0.2);
  folder.lineTo(box.left() + box.width() * 0.45, box.top());
  folder.lineTo(box.right(), box.top());
  folder.lineTo(box.right(), box.bottom());
  folder.lineTo(box.left(), box.bottom());
  folder.closeSubpath();
  painter.setPen(QPen(QColor(128, 96, 0), 1));
  painter.setBrush(QColor(240, 200, 80));
  painter.drawPath(folder);
}

void FileCopyIndicator::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  const qreal h = std::min<qreal>(height() - 4, 36);
  const qreal w = h * 1.2;
  const qreal top = (height() - h) / 2;
  const QRectF from(8, top, w, h), to(width() - 8 - w, top, w, h);
  DrawFolder(painter, from);
  DrawFolder(painter, to);
  if (!IsActive()) return;
  // The sheet flies on an arc from the left folder to the right one.
  const qreal t = static_cast<qreal>(step_) / (kSteps - 1);
  const qreal sheetW = h * 0.45, sheetH = h * 0.6;
  const qreal x = from.center().x() + (to.center().x() - from.center().x()) * t - sheetW / 2;
  const qreal y = top + h * 0.1 - std::sin(t * M_PI) * (top + h * 0.1 - 1);
  painter.setPen(QPen(QColor(64, 64, 64), 1));
  painter.setBrush(Qt::white);
  painter.drawRect(QRectF(x, y, sheetW, sheetH));
  painter.setPen(QPen(QColor(120, 120, 200), 1));
  for (int line = 1; line <= 3; ++line) {
    qreal ly = y + sheetH * line / 4.5;
    painter.drawLine(QPointF(x + 3, ly), QPointF(x + sheetW - 3, ly));
  }
}

}  // namespace Vdei
