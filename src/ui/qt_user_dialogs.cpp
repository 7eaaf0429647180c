#include "ui/qt_user_dialogs.h"

#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

#include "platform/paths.h"

QString ToDisplayText(const std::string& text) {
  QString shown = QString::fromStdString(text);
  shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  return shown;
}

namespace {

QMessageBox::StandardButton ToQt(MessageAnswer answer) {
  switch (answer) {
    case MessageAnswer::OK:
      return QMessageBox::Ok;
    case MessageAnswer::Cancel:
      return QMessageBox::Cancel;
    case MessageAnswer::Yes:
      return QMessageBox::Yes;
    case MessageAnswer::No:
      return QMessageBox::No;
  }
  return QMessageBox::Ok;
}

QMessageBox::StandardButtons ToQt(MessageButtons buttons) {
  switch (buttons) {
    case MessageButtons::OK:
      return QMessageBox::Ok;
    case MessageButtons::OKCancel:
      return QMessageBox::Ok | QMessageBox::Cancel;
    case MessageButtons::YesNo:
      return QMessageBox::Yes | QMessageBox::No;
    case MessageButtons::YesNoCancel:
      return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
  }
  return QMessageBox::Ok;
}

QMessageBox::Icon ToQt(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::None:
      return QMessageBox::NoIcon;
    case MessageIcon::Information:
      return QMessageBox::Information;
    case MessageIcon::Exclamation:
      return QMessageBox::Warning;
    case MessageIcon::Question:
      return QMessageBox::Question;
    case MessageIcon::Critical:
      return QMessageBox::Critical;
  }
  return QMessageBox::NoIcon;
}

MessageAnswer FromQt(int button, MessageButtons buttons) {
  switch (button) {
    case QMessageBox::Ok:
      return MessageAnswer::OK;
    case QMessageBox::Yes:
      return MessageAnswer::Yes;
    case QMessageBox::No:
      return MessageAnswer::No;
    case QMessageBox::Cancel:
      return MessageAnswer::Cancel;
    default:
      // Closed without a choice.
      if (buttons == MessageButtons::OK) return MessageAnswer::OK;
      if (buttons == MessageButtons::YesNo) return MessageAnswer::No;
      return MessageAnswer::Cancel;
  }
}

// Qt's choosers answer with "/" on every system; the program's paths use the system's own
// separator ("\" on Windows).
std::optional<std::string> Chosen(const QString& path) {
  if (path.isEmpty()) return std::nullopt;
  return QDir::toNativeSeparators(path).toStdString();
}

}  // namespace

MessageAnswer QtUserDialogs::ShowMessage(const MessageBoxRequest& request) {
  QMessageBox box(ToQt(request.icon), QString::fromStdString(request.title),
                  ToDisplayText(request.text), ToQt(request.buttons), parent_);
  box.setObjectName(QStringLiteral("messageBox"));
  box.setDefaultButton(ToQt(request.defaultButton));
  return FromQt(box.exec(), request.buttons);
}

std::optional<std::string> QtUserDialogs::ChooseFileToOpen(const FileChooserRequest& request) {
  return Chosen(QFileDialog::getOpenFileName(parent_, QString::fromStdString(request.title),
                                             QString::fromStdString(request.folder),
                                             QString::fromStdString(request.filter)));
}

std::optional<std::string> QtUserDialogs::ChooseFileToSave(const FileChooserRequest& request) {
  // The program asks itself before it overwrites a file.
  return Chosen(QFileDialog::getSaveFileName(
      parent_, QString::fromStdString(request.title),
      QString::fromStdString(request.folder.empty()
                                 ? request.suggestedName
                                 : JoinPath(request.folder, request.suggestedName)),
      QString::fromStdString(request.filter), nullptr, QFileDialog::DontConfirmOverwrite));
}

std::optional<std::string> QtUserDialogs::ChooseFolder(const FileChooserRequest& request) {
  return Chosen(QFileDialog::getExistingDirectory(parent_, QString::fromStdString(request.title),
                                                  QString::fromStdString(request.folder)));
}
