// The controls of the main window and their layout: the frame of command buttons on the left,
// the information labels on the right.

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/main_window.h"
#include "ui/twips.h"

namespace {

// Captions beside the information labels.
QLabel* Caption(const QString& text, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setAlignment(Qt::AlignRight | Qt::AlignTop);
  return label;
}

// A label shown white on black; an empty one shows no black bar.
class InverseLabel final : public QLabel {
 public:
  explicit InverseLabel(QWidget* parent) : QLabel(parent) {
    QPalette inverse = palette();
    inverse.setColor(QPalette::WindowText, Qt::white);
    setPalette(inverse);
  }

 protected:
  void paintEvent(QPaintEvent* event) override {
    if (!text().isEmpty()) QPainter(this).fillRect(rect(), Qt::black);
    QLabel::paintEvent(event);
  }
};

}  // namespace

QPushButton* frmMain::AddButton(const std::string& objectName, const QString& caption) {
  auto* button = new QPushButton(caption, fraMenu_);
  button->setObjectName(QString::fromStdString(objectName));
  button->setAutoDefault(false);
  button->installEventFilter(this);
  // A hidden button keeps its place, so the buttons below it do not move.
  QSizePolicy policy = button->sizePolicy();
  policy.setRetainSizeWhenHidden(true);
  button->setSizePolicy(policy);
  buttons_[objectName] = button;
  fraMenu_->layout()->addWidget(button);
  return button;
}

QLabel* frmMain::AddLabel(const std::string& objectName) {
  const bool inverse = objectName == "lblPurgeSpeed" || objectName == "lblSubdirectories2" ||
                       objectName == "lblLargePurgeMessage";
  QLabel* label = inverse ? new InverseLabel(this) : new QLabel(this);
  label->setObjectName(QString::fromStdString(objectName));
  label->setWordWrap(true);
  label->setTextInteractionFlags(Qt::TextSelectableByMouse);
  // A hidden label keeps its place, so the labels below it do not move.
  QSizePolicy policy = label->sizePolicy();
  policy.setRetainSizeWhenHidden(true);
  label->setSizePolicy(policy);
  labels_[objectName] = label;
  return label;
}

void frmMain::BuildLayout() {
  const int gap = Twips::ToPixels(120, this);
  auto* outer = new QHBoxLayout(this);
  outer->setContentsMargins(gap, gap, gap, gap);
  outer->setSpacing(2 * gap);

  fraMenu_ = new QFrame(this);
  fraMenu_->setObjectName(QStringLiteral("fraMenu"));
  auto* menu = new QVBoxLayout(fraMenu_);
  menu->setContentsMargins(0, 0, 0, 0);
  menu->setSpacing(Twips::ToPixels(45, this));
  const auto separator = [menu, gap] { menu->addSpacing(gap); };

  AddButton("cmdSpecifyDirectory_0", QStringLiteral("Specify folder"));
  AddButton("cmdSpecifyFiles_0", QStringLiteral("Specify files"));
  AddButton("cmdSubdirectories", QStringLiteral("Subfolders?"));
  AddButton("cmdSingleFile", QStringLiteral("Single file"));
  AddButton("cmdSpecifyDirectory_1", QStringLiteral("Purge folders"));
  AddButton("cmdClear", QStringLiteral("Clear"));
  separator();
  AddButton("cmdTypeOfPurge", QStringLiteral("Type of purge"));
  AddButton("cmdOnlyBefore", QStringLiteral("Only files before ..."));
  separator();
  AddButton("cmdProcessFiles_2", QStringLiteral("List and estimate time"));
  AddButton("cmdProcessFiles_1", QStringLiteral("Purge files"));
  AddButton("cmdTestPurgeSpeed", QStringLiteral("Test purge speed"));
  AddButton("cmdPurgeFreeSpace", QStringLiteral("Purge free space"));
  separator();
  AddButton("cmdSetup", QStringLiteral("Setup"));
  AddButton("cmdReportScreen", QStringLiteral("Report"));
  AddButton("cmdHelp", QStringLiteral("Help"));
  AddButton("cmdQuit", QStringLiteral("Quit"));
  menu->addStretch();
  fraMenu_->setMinimumWidth(Twips::ToPixels(2400, this));
  outer->addWidget(fraMenu_);

  auto* info = new QGridLayout();
  info->setHorizontalSpacing(gap);
  info->setVerticalSpacing(gap);
  info->setColumnStretch(1, 1);
  int row = 0;
  const auto field = [&](const QString& caption, QWidget* value) {
    info->addWidget(Caption(caption, this), row, 0);
    info->addWidget(value, row++, 1);
  };
  const auto wide = [&](QWidget* value) { info->addWidget(value, row++, 0, 1, 2); };
  const auto pair = [this](QLabel* first, QLabel* second) {
    auto* box = new QWidget(this);
    auto* layout = new QHBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(first);
    layout->addWidget(second, 1);
    return box;
  };

  field(QStringLiteral("Folder:"), AddLabel("lblDirectory"));
  field(QStringLiteral("Files:"), pair(AddLabel("lblFiles"), AddLabel("lblFiles2")));
  field(QStringLiteral("Subfolders:"),
        pair(AddLabel("lblSubdirectories"), AddLabel("lblSubdirectories2")));
  wide(AddLabel("lblSingleFile"));
  field(QStringLiteral("Type of purge:"), AddLabel("lblTypeOfPurge"));
  wide(AddLabel("lblDateRestriction"));
  wide(AddLabel("lblPurgeSpeed"));
  wide(AddLabel("lblEstimatedTime"));
  wide(AddLabel("lblLargePurgeMessage"));
  wide(AddLabel("lblPurgeFoldersMessage"));
  wide(AddLabel("lblSetupFilename"));
  info->setRowStretch(row, 1);
  labels_["lblFiles"]->setWordWrap(false);
  labels_["lblSubdirectories"]->setWordWrap(false);

  auto* infoBox = new QWidget(this);
  infoBox->setLayout(info);
  infoBox->setMinimumWidth(Twips::ToPixels(7200, this));
  outer->addWidget(infoBox, 1);
}
