// The graph of a one-letter answer in the main window: painted at whatever
// size the panel gives it, asking for no size of its own, so that showing a
// graph never makes the window grow; without its title there, where the
// answer stands just above it. A click shows it large, titled, in a window
// of its own.
#pragma once

#include <QWidget>
#include <optional>

#include "frontend/graph/graph_picture.h"

namespace pfac::frontend {

class GraphWidget : public QWidget {
  Q_OBJECT

 public:
  explicit GraphWidget(QWidget* parent = nullptr, bool titled = false);

  // The graph to paint; none: the reason in words instead.
  void SetGraph(std::optional<GraphData> graph, const QString& reason = {});
  const std::optional<GraphData>& Graph() const { return graph_; }

  QSize sizeHint() const override { return {0, 0}; }
  QSize minimumSizeHint() const override { return {0, 0}; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  bool titled_;
  std::optional<GraphData> graph_;
  QString reason_;
};

}  // namespace pfac::frontend
