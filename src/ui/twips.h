#pragma once

// Sizes and distances of the windows are given in twips: 1440 to an inch, so 15 to a pixel at
// 96 dots per inch, scaled with the screen's logical DPI.

class QWidget;

namespace Twips {

int ToPixels(int twips, const QWidget* widget);
int FromPixels(int pixels, const QWidget* widget);

}  // namespace Twips
