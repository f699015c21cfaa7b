#include "frontend/windows/start_picture.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <algorithm>
#include <cmath>

namespace pfac::frontend {

namespace {

double Cubic(double x) { return ((x - 6) * x + 4) * x + 15; }

QFont Font(double pointSize, bool bold = false) {
  QFont font;
  font.setFamilies({QStringLiteral("DejaVu Sans"), QStringLiteral("WenQuanYi Micro Hei")});
  font.setPointSizeF(pointSize);
  font.setBold(bold);
  return font;
}

// The graph in the rectangle: the window [-2, 5.6] x [-28, 26] of the plane.
void DrawGraph(QPainter& painter, const QRectF& box) {
  const double xMin = -2, xMax = 5.6, yMin = -28, yMax = 26;
  auto toScreen = [&](double x, double y) {
    return QPointF(box.left() + (x - xMin) / (xMax - xMin) * box.width(),
                   box.bottom() - (y - yMin) / (yMax - yMin) * box.height());
  };

  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(255, 255, 255, 235));
  painter.drawRoundedRect(box.adjusted(-8, -8, 8, 8), 10, 10);

  // Grid and axes.
  painter.setPen(QPen(QColor(210, 220, 232), 1));
  for (int x = -2; x <= 5; ++x) painter.drawLine(toScreen(x, yMin), toScreen(x, yMax));
  for (int y = -20; y <= 20; y += 10) painter.drawLine(toScreen(xMin, y), toScreen(xMax, y));
  painter.setPen(QPen(QColor(60, 70, 90), 1.6));
  painter.drawLine(toScreen(xMin, 0), toScreen(xMax, 0));
  painter.drawLine(toScreen(0, yMin), toScreen(0, yMax));
  painter.setFont(Font(8));
  for (int x : {-1, 1, 2, 3, 4, 5}) {
    const QPointF tick = toScreen(x, 0);
    painter.drawText(QRectF(tick.x() - 12, tick.y() + 3, 24, 14), Qt::AlignCenter, QString::number(x));
  }

  QPainterPath curve;
  curve.moveTo(toScreen(xMin, Cubic(xMin)));
  for (double x = xMin; x <= xMax; x += 0.02) {
    const double y = std::clamp(Cubic(x), yMin, yMax);
    curve.lineTo(toScreen(x, y));
  }
  painter.setBrush(Qt::NoBrush);
  painter.setPen(QPen(QColor(200, 40, 50), 2.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  painter.drawPath(curve);

  // The roots: 3 and (3 ± sqrt(29)) / 2.
  painter.setPen(QPen(QColor(20, 60, 140), 2));
  painter.setBrush(QColor(255, 210, 60));
  for (double root : {3.0, (3 - std::sqrt(29.0)) / 2, (3 + std::sqrt(29.0)) / 2}) {
    painter.drawEllipse(toScreen(root, 0), 5, 5);
  }
}

}  // namespace

QImage DrawStartPicture() {
  QImage image(kStartPictureSize, QImage::Format_RGB32);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setRenderHint(QPainter::TextAntialiasing);
  const QRectF all(QPointF(0, 0), QSizeF(kStartPictureSize));

  QLinearGradient sky(all.topLeft(), all.bottomLeft());
  sky.setColorAt(0, QColor(18, 52, 110));
  sky.setColorAt(1, QColor(24, 120, 140));
  painter.fillRect(all, sky);

  painter.setPen(Qt::white);
  painter.setFont(Font(30, true));
  painter.drawText(QRectF(0, 22, all.width(), 56), Qt::AlignCenter, QStringLiteral("因 式 分 解"));
  painter.setPen(QColor(200, 225, 255));
  painter.setFont(Font(12));
  painter.drawText(QRectF(0, 80, all.width(), 26), Qt::AlignCenter,
                   QStringLiteral("有理数域上一元和多元多项式"));

  DrawGraph(painter, QRectF(40, 128, all.width() - 80, 210));

  // Each example in bold, its factorisation below it.
  const QString lines[] = {QStringLiteral("x³ − 6x² + 4x + 15"), QStringLiteral("= (x − 3)(x² − 3x − 5)"),
                           QStringLiteral("x⁴y + 2x³y² − x²y − 2xy²"),
                           QStringLiteral("= xy(x − 1)(x + 1)(x + 2y)")};
  painter.setPen(Qt::white);
  for (int i = 0; i < 4; ++i) {
    painter.setFont(Font(11, i % 2 == 0));
    const qreal top = 366 + i * 24 + (i / 2) * 8;
    painter.drawText(QRectF(0, top, all.width(), 24), Qt::AlignCenter, lines[i]);
  }
  return image;
}

QImage DrawAppIcon(int size) {
  QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  const double s = size;
  const QRectF tile(s * 0.04, s * 0.04, s * 0.92, s * 0.92);
  QLinearGradient sky(tile.topLeft(), tile.bottomLeft());
  sky.setColorAt(0, QColor(18, 52, 110));
  sky.setColorAt(1, QColor(24, 120, 140));
  painter.setPen(Qt::NoPen);
  painter.setBrush(sky);
  painter.drawRoundedRect(tile, s * 0.18, s * 0.18);

  // The window [-2.2, 6.2] x [-30, 30] of the plane inside the tile.
  const QRectF box = tile.adjusted(s * 0.08, s * 0.1, -s * 0.08, -s * 0.1);
  const double xMin = -2.2, xMax = 6.2, yMin = -30, yMax = 30;
  auto toScreen = [&](double x, double y) {
    return QPointF(box.left() + (x - xMin) / (xMax - xMin) * box.width(),
                   box.bottom() - (y - yMin) / (yMax - yMin) * box.height());
  };
  painter.setPen(QPen(QColor(200, 225, 255), std::max(1.0, s / 32), Qt::SolidLine, Qt::RoundCap));
  painter.drawLine(toScreen(xMin, 0), toScreen(xMax, 0));
  QPainterPath curve;
  curve.moveTo(toScreen(xMin, std::clamp(Cubic(xMin), yMin, yMax)));
  for (double x = xMin; x <= xMax; x += 0.02) curve.lineTo(toScreen(x, std::clamp(Cubic(x), yMin, yMax)));
  painter.setBrush(Qt::NoBrush);
  painter.setPen(QPen(QColor(255, 90, 90), std::max(1.5, s / 14), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  painter.drawPath(curve);
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(255, 210, 60));
  const double dot = std::max(1.5, s / 13);
  for (double root : {3.0, (3 - std::sqrt(29.0)) / 2, (3 + std::sqrt(29.0)) / 2}) {
    painter.drawEllipse(toScreen(root, 0), dot, dot);
  }
  return image;
}

QIcon AppIcon() {
  QIcon icon;
  for (int size : {16, 24, 32, 48, 64, 128, 256}) icon.addPixmap(QPixmap::fromImage(DrawAppIcon(size)));
  return icon;
}

}  // namespace pfac::frontend
