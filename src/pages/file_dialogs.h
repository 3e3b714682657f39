#pragma once

#include <QString>
#include <functional>
#include <optional>
#include <string>

#include "notifier/notifier.h"
#include "xml/whole_file.h"

class QWidget;

// The window's file dialogs: what is asked, how the program names the file
// chosen, and what it checks before anything is replaced.

namespace vexa {

struct SaveFileRequest {
  QString caption;
  QString suggested_name;
  QString filter;    // "cfg Files(*.cfg)"
  QString suffix;    // added by the dialog to a name typed without one
  std::string kind;  // "configure file": named in the messages
  // The program's own naming rule for the name the dialog gave; none keeps it.
  std::function<std::string(std::string)> name_rule;
  // What saving there would change (ConfigSaveTarget, CsvSaveTarget).
  std::function<SaveTarget(const std::string& path)> look;
};

// Shows the save dialog until the engineer chose a name that may be saved to and,
// where a file would be replaced, agreed to replace it; nothing when cancelled.
// The path to save to.
std::optional<QString> ChooseSaveFile(QWidget* parent, Notifier& notifier,
                                      const SaveFileRequest& request);

// What ChooseSaveFile does with the dialog's name: applies the naming rule, refuses
// with a message what may not be replaced, and asks before replacing, naming the
// file that will change (the one a link leads to). The path to save to, or nothing
// when the engineer must choose again.
std::optional<QString> ConfirmSaveFile(Notifier& notifier, const SaveFileRequest& request,
                                       const QString& chosen);

// Shows the open dialog with `pattern` already in its name box; empty when cancelled.
QString ChooseFileToOpen(QWidget* parent, const QString& caption, const QString& filter,
                         const QString& pattern);

}  // namespace vexa
