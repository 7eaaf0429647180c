#include "engine/specify_drive_dialog.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>
#include <utility>

#include "ui/twips.h"

namespace {

constexpr int kDialogWidthTwips = 4800;
constexpr int kMarginTwips = 180;

}  // namespace

frmSpecifyDrive2::frmSpecifyDrive2(std::vector<Platform::DriveInfo> drives,
                                   const std::string& preselected, QWidget* parent)
    : QDialog(parent), drives_(std::move(drives)) {
  setObjectName(QStringLiteral("frmSpecifyDrive2"));
  setWindowTitle(QStringLiteral("Test purge speed on which drive?"));
  const int margin = Twips::ToPixels(kMarginTwips, this);

  cboDrives_ = new QComboBox(this);
  cboDrives_->setObjectName(QStringLiteral("cboDrives"));
  int selected = 0;
  for (std::size_t i = 0; i < drives_.size(); ++i) {
    cboDrives_->addItem(QString::fromStdString(DriveEntry(drives_[i])));
    if (drives_[i].root == preselected) selected = static_cast<int>(i);
  }
  cboDrives_->setCurrentIndex(drives_.empty() ? -1 : selected);

  cmdAccept_ = new QPushButton(QStringLiteral("Accept"), this);
  cmdAccept_->setObjectName(QStringLiteral("cmdAccept"));
  cmdAccept_->setDefault(true);
  cmdCancel_ = new QPushButton(QStringLiteral("Cancel"), this);
  cmdCancel_->setObjectName(QStringLiteral("cmdCancel"));

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(margin, margin, margin, margin);
  layout->setSpacing(margin);
  layout->addWidget(cboDrives_);
  auto* buttonRow = new QHBoxLayout;
  buttonRow->addStretch(1);
  buttonRow->addWidget(cmdAccept_);
  buttonRow->addWidget(cmdCancel_);
  layout->addLayout(buttonRow);
  setMinimumWidth(Twips::ToPixels(kDialogWidthTwips, this));

  connect(cmdAccept_, &QPushButton::clicked, this, &QDialog::accept);
  connect(cmdCancel_, &QPushButton::clicked, this, &QDialog::reject);
  cboDrives_->setFocus(Qt::OtherFocusReason);
}

std::optional<std::string> frmSpecifyDrive2::ChooseDrive() {
  if (exec() != QDialog::Accepted) return std::nullopt;
  const int index = cboDrives_->currentIndex();
  // Roots differ in length, so the choice is taken by its place in the list, not from its text.
  if (index < 0 || index >= static_cast<int>(drives_.size())) return std::nullopt;
  return drives_[static_cast<std::size_t>(index)].root;
}

std::string frmSpecifyDrive2::DriveEntry(const Platform::DriveInfo& drive) {
  if (drive.volumeName.empty()) return drive.root;
  return drive.root + " [" + drive.volumeName + "]";
}
