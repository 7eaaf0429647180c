#pragma once

// The program's top-level windows that are plain widgets (the main window, the report window, the
// viewer) are told to assistive technology as windows, as dialogs are, rather than as bare panes.

#include <QAccessible>
#include <QAccessibleWidget>
#include <QWidget>
#include <mutex>

namespace WindowRole {

// Call in the constructor of a top-level window: from then on the accessibility bus shows every
// widget of that class, while it is a window, as a frame.
inline void ExposeAsFrame() {
  static std::once_flag once;
  std::call_once(once, [] {
    QAccessible::installFactory([](const QString& className, QObject* object) {
      auto* widget = qobject_cast<QWidget*>(object);
      if (widget == nullptr || !widget->isWindow())
        return static_cast<QAccessibleInterface*>(nullptr);
      if (className != QLatin1String("frmMain") && className != QLatin1String("frmReport") &&
          className != QLatin1String("frmView"))
        return static_cast<QAccessibleInterface*>(nullptr);
      return static_cast<QAccessibleInterface*>(new QAccessibleWidget(widget, QAccessible::Window));
    });
  });
}

}  // namespace WindowRole
