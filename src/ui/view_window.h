#pragma once

// frmView: a resizable, read-only viewer of a text file, used for the help text.

#include <QWidget>
#include <string>

class QPlainTextEdit;
class QPushButton;

class frmView : public QWidget {
  Q_OBJECT

 public:
  explicit frmView(QWidget* parent = nullptr);

  // Set by the caller before showing.
  std::string ViewerFilePath;
  bool ViewerCopyHidden = false;

  // Loads the file and lays the window out, as each activation does.
  void Activate();

  // The most characters the text box holds.
  static constexpr int kMaxCharacters = 65530;

 protected:
  void resizeEvent(QResizeEvent* event) override;
  // Escape closes the viewer.
  void keyPressEvent(QKeyEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void CopyToClipboard();
  void ShowCopyCaption(bool textSelected);
  void ApplyLayout();

  QPlainTextEdit* txbText1_ = nullptr;
  QPushButton* cmdCopyToClipboard_ = nullptr;
  QPushButton* cmdClose_ = nullptr;
};

// The help file "kx_help.txt": in the program's folder, or in the installed data folder
// (../share/kexwell/ beside the program's folder); the path in the program's folder when neither
// holds it.
std::string HelpFilePath();

// The Help command: restores a minimised viewer, places a viewer in the normal state 450 twips
// below and 150 twips right of the main window's top-left corner with the main window's size, and
// shows the help file in it without the copy button, reloaded at every call.
void ShowHelp(frmView& viewer, QWidget* mainWindow);
