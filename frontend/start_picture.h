// The start window's picture, drawn at start-up rather than shipped.
#pragma once

#include <QImage>
#include <QSize>

namespace pfac::frontend {

inline constexpr QSize kStartPictureSize{421, 486};

// The title, the graph of x^3-6x^2+4x+15 with its three real roots marked, and
// the factorisations of the two examples of the main window.
QImage DrawStartPicture();

}  // namespace pfac::frontend
