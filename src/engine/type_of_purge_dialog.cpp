#include "engine/type_of_purge_dialog.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <algorithm>
#include <array>

#include "engine/purge_type_choice.h"
#include "engine/purge_type_texts.h"
#include "text/program_text.h"
#include "text/user_dialogs.h"
#include "ui/mnemonic.h"
#include "ui/twips.h"

namespace {

// Distances of the dialog's layout.
constexpr int kMarginTwips = 180;
constexpr int kSpacingTwips = 90;
// How far a type's description is indented under its option button.
constexpr int kDescriptionIndentTwips = 360;

QString ObjectName(const char* name, int index) {
  return QStringLiteral("%1_%2").arg(QLatin1String(name)).arg(index);
}

QLabel* WrappedLabel(const std::string& text, const QString& objectName, QWidget* parent) {
  auto* label = new QLabel(QString::fromStdString(text), parent);
  label->setObjectName(objectName);
  label->setWordWrap(true);
  return label;
}

}  // namespace

frmTypeOfPurge::frmTypeOfPurge(PurgeTypeChoice& choice, UserDialogs& dialogs, QWidget* parent)
    : QDialog(parent), choice_(choice), dialogs_(dialogs) {
  setObjectName(QStringLiteral("frmTypeOfPurge"));
  setWindowTitle(QString::fromStdString(TypeOfPurgeTitle()));

  const int margin = Twips::ToPixels(kMarginTwips, this);
  const int spacing = Twips::ToPixels(kSpacingTwips, this);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(margin, margin, margin, margin);
  layout->setSpacing(spacing);

  auto* passesRow = new QHBoxLayout;
  passesRow->setSpacing(spacing);
  // Mnemonics: the types' numbers, N for the passes of the chosen type, then Accept and Cancel.
  QString taken = QStringLiteral("123");
  lblNumberOfTimes_ =
      new QLabel(Mnemonic::Marked(QString::fromStdString(NumberOfTimesCaption()), taken), this);
  lblNumberOfTimes_->setObjectName(QStringLiteral("lblNumberOfTimes"));
  taken += Mnemonic::Of(lblNumberOfTimes_->text());
  passesRow->addWidget(lblNumberOfTimes_);

  for (short type = 0; type < PurgeTypeChoice::kNumPurgeTypes; ++type) {
    auto* option = new QRadioButton(
        Mnemonic::Marked(QString::fromStdString(OptionCaption(type)), QString()), this);
    option->setObjectName(ObjectName("optPurgeType", type));
    optPurgeType_[type] = option;
    layout->addWidget(option);

    lblPurgeType_[type] =
        WrappedLabel(PurgeTypeLabel(type), ObjectName("lblPurgeType", type), this);
    auto* descriptionRow = new QHBoxLayout;
    descriptionRow->addSpacing(Twips::ToPixels(kDescriptionIndentTwips, this));
    descriptionRow->addWidget(lblPurgeType_[type], 1);
    layout->addLayout(descriptionRow);

    auto* list = new QComboBox(this);
    list->setObjectName(ObjectName("cboNumberOfPasses", type));
    list->setAccessibleName(QStringLiteral("Number of passes of type %1").arg(type + 1));
    for (int index = 0; index < choice_.ListCount(type); ++index) {
      list->addItem(QString::fromStdString(choice_.ListEntry(type, index)));
    }
    cboNumberOfPasses_[type] = list;
    passesRow->addWidget(list);

    connect(option, &QRadioButton::toggled, this, [this, type](bool checked) {
      if (!checked) return;
      choice_.SetPurgeType(type);
      lblNumberOfTimes_->setBuddy(cboNumberOfPasses_[type]);
      ShowChosenList();
    });
    connect(list, &QComboBox::currentIndexChanged, this,
            [this, type](int index) { choice_.SelectIndex(type, index); });
    connect(list, &QComboBox::activated, this, [this] { cmdAccept_->setFocus(); });
  }

  layout->addWidget(WrappedLabel(DodLabel(), QStringLiteral("lblDOD"), this));
  passesRow->addStretch(1);
  layout->addLayout(passesRow);

  cmdAccept_ =
      new QPushButton(Mnemonic::Marked(QString::fromStdString(AcceptCaption()), taken), this);
  taken += Mnemonic::Of(cmdAccept_->text());
  cmdAccept_->setObjectName(QStringLiteral("cmdAccept"));
  cmdAccept_->setDefault(true);
  cmdCancel_ =
      new QPushButton(Mnemonic::Marked(QString::fromStdString(CancelCaption()), taken), this);
  cmdCancel_->setObjectName(QStringLiteral("cmdCancel"));
  connect(cmdAccept_, &QPushButton::clicked, this, [this] { Accept(); });
  connect(cmdCancel_, &QPushButton::clicked, this, [this] { reject(); });
  auto* buttonRow = new QHBoxLayout;
  buttonRow->setSpacing(spacing);
  buttonRow->addStretch(1);
  buttonRow->addWidget(cmdAccept_);
  buttonRow->addWidget(cmdCancel_);
  layout->addSpacing(spacing);
  layout->addLayout(buttonRow);

  // Tab goes as the controls stand: the option buttons, the list of passes, the buttons.
  const std::array<QWidget*, 6> tabChain{optPurgeType_[2],
                                         cboNumberOfPasses_[0],
                                         cboNumberOfPasses_[1],
                                         cboNumberOfPasses_[2],
                                         cmdAccept_,
                                         cmdCancel_};
  for (std::size_t index = 1; index < tabChain.size(); ++index) {
    setTabOrder(tabChain[index - 1], tabChain[index]);
  }

  ShowChoice();
  FitHeightToWidth();
}

void frmTypeOfPurge::FitHeightToWidth() {
  // The descriptions wrap, so the height follows from the width the layout would like.
  ensurePolished();
  layout()->activate();
  const int width = std::max(sizeHint().width(), minimumSizeHint().width());
  const int height =
      layout()->hasHeightForWidth() ? layout()->totalHeightForWidth(width) : sizeHint().height();
  resize(width, std::max(height, minimumSizeHint().height()));
}

void frmTypeOfPurge::ShowChoice() {
  const short chosenType = choice_.GetPurgeType();
  // The label's mnemonic goes to the list of the chosen type.
  if (chosenType >= 0 && chosenType < PurgeTypeChoice::kNumPurgeTypes)
    lblNumberOfTimes_->setBuddy(cboNumberOfPasses_[chosenType]);
  for (short type = 0; type < PurgeTypeChoice::kNumPurgeTypes; ++type) {
    const QSignalBlocker optionBlocker(optPurgeType_[type]);
    const QSignalBlocker listBlocker(cboNumberOfPasses_[type]);
    optPurgeType_[type]->setChecked(type == chosenType);
    cboNumberOfPasses_[type]->setCurrentIndex(choice_.SelectedIndex(type));
  }
}

void frmTypeOfPurge::ShowChosenList() {
  if (!isVisible()) return;
  const short chosenType = choice_.GetPurgeType();
  for (short type = 0; type < PurgeTypeChoice::kNumPurgeTypes; ++type) {
    cboNumberOfPasses_[type]->setVisible(type == chosenType);
  }
  cmdAccept_->setFocus();
}

void frmTypeOfPurge::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  choice_.Activate();
  // A restored setup may have changed the choice while the dialog was hidden.
  ShowChoice();
  ShowChosenList();
}

void frmTypeOfPurge::Accept() {
  const AcceptMessage message = AcceptQuestion(choice_.GetNumOverwrites());
  if (message.tooManyOverwrites) {
    dialogs_.Tell(message.title, message.text, MessageIcon::Exclamation);
    return;
  }
  const MessageBoxRequest question{Language2::GetText(static_cast<short>(message.titleUiText)),
                                   message.text, MessageIcon::Question, MessageButtons::YesNo,
                                   MessageAnswer::Yes};
  if (dialogs_.ShowMessage(question) == MessageAnswer::Yes) accept();
}

void frmTypeOfPurge::reject() {
  choice_.Cancel();
  ShowChoice();
  QDialog::reject();
}
