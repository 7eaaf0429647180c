#pragma once

// frmReport: the report window of a purge or listing. It shows the run's report while the run goes
// on, offers Stop and Pause/Continue while it runs and Copy and Close afterwards, and puts the
// finished report on the clipboard. The run itself works on another thread; the buttons only set
// the run's flags.

#include <QWidget>
#include <string>

class PurgeRun;
struct RunRequest;
class QLabel;
class QPlainTextEdit;
class QPushButton;

class frmReport : public QWidget {
  Q_OBJECT

 public:
  explicit frmReport(QWidget* parent = nullptr);

  // The window as a run begins: the text emptied, the copy and close buttons hidden, the run
  // buttons laid out for the purge or the listing that request names, before the run's thread
  // starts.
  void BeginRun(PurgeRun& run, const RunRequest& request);
  // The window while the files of a purge are counted before its confirmation: an empty report
  // and Stop, which stops the count. EndCount brings back the window as it was before.
  void BeginCount(PurgeRun& run);
  void EndCount();
  // Shows the report as the run has it now.
  void ShowReportText(const std::string& text);
  // The run's thread has ended: the final report, the buttons and status of a finished run, and
  // the report on the clipboard.
  void EndRun();
  // While the per-file confirmation is shown, Stop and Pause are hidden; afterwards they come back
  // as they were.
  void HideRunButtons();
  void RestoreRunButtons();
  // The run has been told to stop: "Stopping ..." and no run buttons until the walk has
  // returned, which may take the rest of a pass; EndRun then shows "Stopped" and Close.
  void ShowStopping();

  // A run or a count is on.
  bool RunOn() const { return run_ != nullptr; }
  // The report as last shown, line ends as the run writes them.
  const std::string& ReportText() const { return reportText_; }
  // Shows the last report again, caret at its start, in front. False when there is none.
  bool ShowLastReport();

  void cmdStop_Click();
  void cmdPauseContinue_Click();
  void cmdCopyToClipboard_Click();

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void SetRunButtons();
  void SetButton(QPushButton* button, const QString& caption, int widthTwips);
  void PlaceAtRight(QPushButton* button);
  void ShowStatus(const QString& status, const QWidget* besideButton);
  void ShowCopyCaption(bool textSelected);
  void ApplyLayout();
  int ButtonTop() const;

  QPlainTextEdit* txbText_ = nullptr;
  QPushButton* cmdStop_ = nullptr;
  QPushButton* cmdPauseContinue_ = nullptr;
  QPushButton* cmdClose_ = nullptr;
  QPushButton* cmdCopyToClipboard_ = nullptr;
  QLabel* lblPausedDone_ = nullptr;
  QLabel* lblDots_ = nullptr;

  PurgeRun* run_ = nullptr;  // while a run or a count is on
  bool counting_ = false;
  // What the window showed when a count began.
  struct BeforeCount {
    bool windowShown = false;
    bool closeShown = false;
    bool copyShown = false;
    bool dotsShown = false;
    QString status;
  } beforeCount_;
  bool purge_ = false;
  bool freeSpace_ = false;  // a purge of free space, which has Stop and Pause as a listing has
  bool paused_ = false;
  bool listsDots_ = false;
  // Stop and Pause as they were before the per-file confirmation hid them.
  bool stopWasShown_ = false;
  bool pauseWasShown_ = false;
  std::string reportText_;
};
