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
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void CopyToClipboard();

  QPlainTextEdit* txbText1_ = nullptr;
  QPushButton* cmdCopyToClipboard_ = nullptr;
  QPushButton* cmdClose_ = nullptr;
};
