#include "pages/file_dialogs.h"

#include <QFile>
#include <QFileDialog>

#include "pages/page_widgets.h"

namespace vexa {
namespace {

// A file system name as the engineer reads it.
std::string Shown(const std::string& file) {
  return Latin1(QFile::decodeName(file.c_str()));
}

std::string RefusalText(const SaveFileRequest& request, const std::string& path,
                        const SaveTarget& target) {
  std::string reason;
  switch (target.refusal) {
    case ReplaceRefusal::kNotPlainFile:
      reason = "is not a plain file (a folder, pipe or device).";
      break;
    case ReplaceRefusal::kLinkToNothing:
      reason =
          "is a link to " + Shown(target.file) + ", which does not exist; no file is made there.";
      break;
    case ReplaceRefusal::kLinkToForeign:
      reason = "is a link to " + Shown(target.file) + ", which is not a " + request.kind +
               ", so it is left as it is.";
      break;
    case ReplaceRefusal::kReadOnly:
      reason = "is read-only or not yours to write, so it is left as it is.";
      break;
    case ReplaceRefusal::kNone:
      break;
  }
  return "The " + request.kind + " was not saved:\n" + Shown(path) + "\n" + reason +
         "\nChoose another name.";
}

}  // namespace

std::optional<QString> ConfirmSaveFile(Notifier& notifier, const SaveFileRequest& request,
                                       const QString& chosen) {
  std::string path = QFile::encodeName(chosen).toStdString();
  if (request.name_rule) path = request.name_rule(path);
  const SaveTarget target = request.look(path);
  if (target.refusal != ReplaceRefusal::kNone) {
    notifier.Show(RefusalText(request, path, target), "Error", MessageIcon::kError);
    return std::nullopt;
  }
  if (target.exists) {
    const std::string link =
        target.linked ? Shown(path) + " is a link to " + Shown(target.file) + ".\n" : "";
    if (!notifier.AskOkCancel(
            link + Shown(target.file) + " already exists.\nDo you want to replace it?",
            Latin1(request.caption), MessageIcon::kWarning)) {
      return std::nullopt;
    }
  }
  return QFile::decodeName(path.c_str());
}

std::optional<QString> ChooseSaveFile(QWidget* parent, Notifier& notifier,
                                      const SaveFileRequest& request) {
  QFileDialog dialog(parent, request.caption);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setNameFilter(request.filter);
  // So that a name typed without it is the name checked.
  dialog.setDefaultSuffix(request.suffix);
  // Asked afterwards, naming the file that will really change.
  dialog.setOption(QFileDialog::DontConfirmOverwrite);
  dialog.selectFile(request.suggested_name);
  while (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()) {
    const QString chosen = dialog.selectedFiles().constFirst();
    if (std::optional<QString> path = ConfirmSaveFile(notifier, request, chosen)) return path;
    dialog.selectFile(chosen);
  }
  return std::nullopt;
}

QString ChooseFileToOpen(QWidget* parent, const QString& caption, const QString& filter,
                         const QString& pattern) {
  QFileDialog dialog(parent, caption);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setNameFilter(filter);
  dialog.selectFile(pattern);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return dialog.selectedFiles().constFirst();
}

}  // namespace vexa
