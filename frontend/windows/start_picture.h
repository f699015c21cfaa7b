// The start window's picture and the program's icon, drawn rather than shipped.
#pragma once

#include <QIcon>
#include <QImage>
#include <QSize>

namespace pfac::frontend {

inline constexpr QSize kStartPictureSize{421, 486};

// The title, the graph of x^3-6x^2+4x+15 with its three real roots marked, and
// the factorisations of the two examples of the main window.
QImage DrawStartPicture();

// The program's icon at a size in pixels: the graph of the cubic with its
// roots marked, on the colours of the start picture. No text, so that it
// reads at 16 pixels too.
QImage DrawAppIcon(int size);
// The icon at the sizes desktops ask for.
QIcon AppIcon();

}  // namespace pfac::frontend
