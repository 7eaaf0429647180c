#pragma once

// What the main window offers the panels and dialogs that work inside it: beside what the
// commands ask of it, the window itself and its buttons.

#include <string>

#include "operation/main_window_view.h"

class QPushButton;
class QWidget;

class MainWindowServices : public MainWindowView {
 public:
  // The window itself, as the parent of dialogs.
  virtual QWidget* Window() = 0;
  // A command button by objectName (such as "cmdSetup"); nullptr when there is none.
  virtual QPushButton* Button(const std::string& objectName) = 0;
};
