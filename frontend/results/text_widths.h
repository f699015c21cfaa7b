// The widths of texts in a font, as BreakLines measures them: on the screen
// and on the printed page alike.
#pragma once

#include <QString>

#include "frontend/results/line_breaking.h"

namespace pfac::frontend {

// The widths of texts in a font (QFontMetrics or QFontMetricsF).
template <typename Metrics>
Measure WidthsIn(Metrics metrics) {
  return [metrics](std::string_view text) {
    return metrics.horizontalAdvance(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
  };
}

}  // namespace pfac::frontend
