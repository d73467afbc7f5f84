#include "editor/qt/symbol_images.h"

#include <QPainter>
#include <QPainterPath>
#include <cmath>

namespace tavir {

namespace {

const QColor kRestColor(0, 0, 128);
const QColor kForceColor(255, 0, 0);

// The unit vector from a to b.
QPointF Unit(QPointF a, QPointF b) {
  const QPointF d = b - a;
  const double len = std::hypot(d.x(), d.y());
  return len > 0 ? d / len : QPointF(1, 0);
}

void ArrowHead(QPainter& p, QPointF tip, QPointF from) {
  const QPointF u = Unit(from, tip);
  const QPointF n(-u.y(), u.x());
  QPainterPath head;
  head.moveTo(tip);
  head.lineTo(tip - u * 6 + n * 3);
  head.lineTo(tip - u * 6 - n * 3);
  head.closeSubpath();
  p.fillPath(head, p.pen().color());
}

// One restraint picture: the knot at `knot` of the cell, the support standing off
// along `dir`; moves fixed draw the bar with its hatching, rotations fixed a
// filled square on the rod, rotations alone a ring.
void RestPicture(QPainter& p, QPointF knot, QPointF dir, bool move, bool rotation) {
  const QPointF n(-dir.y(), dir.x());
  const QPointF foot = knot + dir * 11;
  p.drawLine(knot, foot);
  if (move) {
    p.drawLine(foot - n * 6, foot + n * 6);
    for (int i = -1; i <= 1; ++i) {
      const QPointF s = foot + n * (i * 4.0);
      p.drawLine(s, s + dir * 4 - n * 3);
    }
  }
  if (rotation) {
    const QPointF c = knot + dir * 6;
    if (move)
      p.fillRect(QRectF(c.x() - 2.5, c.y() - 2.5, 5, 5), p.pen().color());
    else
      p.drawEllipse(c, 3, 3);
  }
}

QImage RestStrip() {
  QImage strip(kRestPictureSide * kRestPictureCount, kRestPictureSide, QImage::Format_RGB32);
  strip.fill(Qt::white);
  QPainter p(&strip);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(kRestColor, 1.2));
  const double s = kRestPictureSide;
  for (int i = 0; i < kRestPictureCount; ++i) {
    const int kind = i / 2;
    const int d = i % 2;
    p.save();
    p.translate(i * s, 0);
    QPointF knot, dir;
    switch (kind) {
      case 0: case 3: case 5:  // along X, beside the knot
        knot = QPointF(d * s, s / 2);
        dir = QPointF(d == 0 ? 1 : -1, 0);
        break;
      case 1: case 4: case 6:  // along Y, below or above the knot
        knot = QPointF(s / 2, d * s);
        dir = QPointF(0, d == 0 ? 1 : -1);
        break;
      default:  // along Z and fully fixed: across the corner
        knot = QPointF(d * s, d * s);
        dir = QPointF(d == 0 ? 1 : -1, d == 0 ? 1 : -1) / std::sqrt(2.0);
        break;
    }
    const bool move = kind == 0 || kind == 1 || kind == 2 || kind >= 5;
    const bool rotation = kind >= 3;
    RestPicture(p, knot, dir, move, rotation);
    if (kind == 7) {
      // Clamped: the block behind the bar filled.
      const QPointF foot = knot + dir * 11;
      const QPointF n(-dir.y(), dir.x());
      QPainterPath block;
      block.moveTo(foot - n * 6);
      block.lineTo(foot + n * 6);
      block.lineTo(foot + n * 6 + dir * 4);
      block.lineTo(foot - n * 6 + dir * 4);
      block.closeSubpath();
      p.fillPath(block, kRestColor);
    }
    p.restore();
  }
  return strip;
}

QImage ForceStrip() {
  QImage strip(kForcePictureSide * kForcePictureCount, kForcePictureSide, QImage::Format_ARGB32);
  strip.fill(Qt::transparent);
  QPainter p(&strip);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(kForceColor, 1.5));
  const double s = kForcePictureSide;
  // Each arrow ends at the knot, pointing the way the component acts on it;
  // moments are double-headed.
  struct Arrow {
    QPointF From, To;
    bool Moment;
  };
  const Arrow arrows[kForcePictureCount] = {
      {{0, s / 2}, {s, s / 2}, false},  // Px > 0: left of the knot
      {{s, s / 2}, {0, s / 2}, false},  // Px < 0: right of it
      {{s / 2, s}, {s / 2, 0}, false},  // Py > 0: below
      {{s / 2, 0}, {s / 2, s}, false},  // Py < 0: above
      {{0, 0}, {s, s}, false},          // Pz > 0: upper left
      {{s, s}, {0, 0}, false},          // Pz < 0: lower right
      {{s, s / 2}, {0, s / 2}, true},   // Mx > 0: right of the knot
      {{0, s / 2}, {s, s / 2}, true},   // Mx < 0
      {{s / 2, s}, {s / 2, 0}, true},   // My > 0: below
      {{s / 2, 0}, {s / 2, s}, true},   // My < 0
  };
  for (int i = 0; i < kForcePictureCount; ++i) {
    const Arrow& a = arrows[i];
    p.save();
    p.translate(i * s, 0);
    p.drawLine(a.From, a.To);
    ArrowHead(p, a.To, a.From);
    if (a.Moment) ArrowHead(p, a.To - Unit(a.From, a.To) * 5, a.From);
    p.restore();
  }
  return strip;
}

}  // namespace

ImageLists EditorImageLists() {
  ImageLists lists;
  lists.Add("IL_Rests", RestStrip(), kRestPictureSide);
  lists.Add("IL_Forces", ForceStrip(), kForcePictureSide);
  return lists;
}

}  // namespace tavir
