#include "engine/speed_test_window.h"

#include <QFont>
#include <QLabel>
#include <QPushButton>
#include <QThread>
#include <utility>

#include "engine/specify_drive_dialog.h"
#include "operation/program_settings.h"
#include "setups/program_paths.h"
#include "ui/main_window_services.h"
#include "ui/twips.h"

namespace {

constexpr int kBelowTestButtonTwips = 450;
constexpr int kRightOfMenuTwips = 150;

// Runs function on the window's thread: at once when called there, otherwise queued without
// waiting, in the order of the calls.
void Post(QWidget* window, std::function<void()> function) {
  if (QThread::currentThread() == window->thread()) {
    function();
  } else {
    QMetaObject::invokeMethod(window, std::move(function), Qt::QueuedConnection);
  }
}

}  // namespace

// What the test shows on the main window, called from the test's thread.
class SpeedTestButton::WindowHost final : public SpeedTestHost {
 public:
  explicit WindowHost(MainWindowServices& main) : main_(main) {}

  void ShowSpeedLabel(const std::string& caption, bool bold) override {
    // The calls hold on to the window, not to this host: they are dropped with the window.
    Post(main_.Window(), [&main = main_, caption, bold] {
      if (auto* label = main.Window()->findChild<QLabel*>(QStringLiteral("lblPurgeSpeed"))) {
        QFont font = label->font();
        font.setBold(bold);
        label->setFont(font);
      }
      main.SetCaption("lblPurgeSpeed", caption);
    });
  }
  void ClearEstimate() override {
    Post(main_.Window(), [&main = main_] { main.ClearEstimate(); });
  }
  void Refresh() override {
    Post(main_.Window(), [&main = main_] { main.Window()->update(); });
  }

 private:
  MainWindowServices& main_;
};

SpeedTestButton::SpeedTestButton(MainWindowServices& main, ProgramSettings& settings,
                                 UserDialogs& dialogs)
    : QObject(main.Window()),
      main_(main),
      dialogs_(dialogs, main.Window()),
      host_(std::make_unique<WindowHost>(main)),
      test_(std::make_unique<SpeedTest>(settings.purgeType, settings.clusterSizes,
                                        settings.purgeSpeeds, random_, dialogs_, *host_)) {
  setObjectName(QStringLiteral("SpeedTestButton"));
  listDrives = [this] { return WritableDrives(); };
}

SpeedTestButton::~SpeedTestButton() = default;

void SpeedTestButton::cmdTestPurgeSpeed_MouseUp() {
  if (testing_ || main_.Running()) return;
  testing_ = true;
  main_.SetRunning(true);
  if (QPushButton* button = main_.Button("cmdTestPurgeSpeed")) {
    // The button's caption titles the test's messages; an accelerator mark is not part of it.
    QString caption = button->text();
    caption.remove(QLatin1Char('&'));
    if (!caption.isEmpty()) test_->caption = caption.toStdString();
  }
  test_->loadStoredSpeed = [](const Platform::DriveInfo& drive) { return StoredPurgeSpeed(drive); };
  test_->storeSpeed = [](const Platform::DriveInfo& drive, float speed) {
    return StorePurgeSpeed(drive, speed);
  };

  const SpeedTest::DriveChooser chooser = [this](const std::vector<Platform::DriveInfo>& drives,
                                                 const std::string& preselected) {
    return CallOnThreadOf(main_.Window(), [&] { return ChooseDrive(drives, preselected); });
  };
  RunOnWorkerThread(
      this,
      [this, chooser] {
        // Listing asks every drive, and a network drive may be slow to answer: this thread waits
        // for it, not the window.
        const std::vector<Platform::DriveInfo> drives =
            listDrives ? listDrives() : std::vector<Platform::DriveInfo>();
        test_->Run(drives, chooser, SpeedTest::Choices{});
      },
      [this] {
        testing_ = false;
        main_.SetRunning(false);
        emit Finished();
      });
}

std::optional<std::string> SpeedTestButton::ChooseDrive(
    const std::vector<Platform::DriveInfo>& drives, const std::string& preselected) {
  QWidget* window = main_.Window();
  frmSpecifyDrive2 dialog(drives, preselected, window);
  const auto* fraMenu = window->findChild<QWidget*>(QStringLiteral("fraMenu"));
  const QPushButton* button = main_.Button("cmdTestPurgeSpeed");
  if (fraMenu != nullptr && button != nullptr) {
    const QPoint origin = window->mapToGlobal(QPoint(0, 0));
    const int menuRight = fraMenu->mapTo(window, QPoint(fraMenu->width(), 0)).x();
    const int buttonTop = button->mapTo(window, QPoint(0, 0)).y();
    dialog.move(origin.x() + menuRight + Twips::ToPixels(kRightOfMenuTwips, window),
                origin.y() + buttonTop + Twips::ToPixels(kBelowTestButtonTwips, window));
  }
  return dialog.ChooseDrive();
}

std::vector<Platform::DriveInfo> SpeedTestButton::WritableDrives() const {
  std::vector<Platform::DriveInfo> drives;
  for (Platform::DriveInfo& drive : Platform::ListDrives())
    if (!test_->dummyParent || !test_->dummyParent(drive.root).empty())
      drives.push_back(std::move(drive));
  return drives;
}
