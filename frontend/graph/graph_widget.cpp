#include "frontend/graph/graph_widget.h"

#include <QDialog>
#include <QFontInfo>
#include <QMouseEvent>
#include <QPainter>
#include <QVBoxLayout>

namespace pfac::frontend {

namespace {

// The large graph's window: 840 x 580 at first, any size after.
constexpr int kLargeWidth = 840;
constexpr int kLargeHeight = 580;

}  // namespace

GraphWidget::GraphWidget(QWidget* parent, bool titled) : QWidget(parent), titled_(titled) {
  setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
  if (!titled_) {
    setToolTip(QStringLiteral("单击放大 / click to see it large"));
    setCursor(Qt::PointingHandCursor);
  }
}

void GraphWidget::SetGraph(std::optional<GraphData> graph, const QString& reason) {
  graph_ = std::move(graph);
  reason_ = reason;
  update();
}

void GraphWidget::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  if (!graph_) {
    painter.fillRect(rect(), palette().window());
    painter.drawText(rect().adjusted(8, 8, -8, -8), Qt::AlignCenter | Qt::TextWordWrap, reason_);
    return;
  }
  // Letters as large as the panel's own, a little smaller in the panel.
  PaintGraph(painter, QRectF(rect()), *graph_, QFontInfo(font()).pixelSize() * (titled_ ? 1.0 : 0.8), titled_);
}

void GraphWidget::mouseReleaseEvent(QMouseEvent* event) {
  if (titled_ || !graph_ || event->button() != Qt::LeftButton) return;
  auto* large = new QDialog(window());
  large->setObjectName(QStringLiteral("GraphWindow"));
  large->setAttribute(Qt::WA_DeleteOnClose);
  large->setWindowTitle(graph_->title);
  auto* shown = new GraphWidget(large, true);
  shown->setObjectName(QStringLiteral("LargeGraph"));
  shown->setFont(font());
  shown->SetGraph(graph_);
  auto* layout = new QVBoxLayout(large);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(shown);
  large->resize(kLargeWidth, kLargeHeight);
  large->show();
}

}  // namespace pfac::frontend
