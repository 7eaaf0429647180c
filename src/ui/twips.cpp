#include "ui/twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <cmath>

namespace Twips {
namespace {

double LogicalDpi(const QWidget* widget) {
  if (widget != nullptr) return widget->logicalDpiX();
  const QScreen* screen = QGuiApplication::primaryScreen();
  return screen != nullptr ? screen->logicalDotsPerInchX() : 96.0;
}

}  // namespace

int ToPixels(int twips, const QWidget* widget) {
  return static_cast<int>(std::lround(twips * LogicalDpi(widget) / 1440.0));
}

int FromPixels(int pixels, const QWidget* widget) {
  return static_cast<int>(std::lround(pixels * 1440.0 / LogicalDpi(widget)));
}

}  // namespace Twips
