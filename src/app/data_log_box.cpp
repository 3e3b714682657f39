#include "app/data_log_box.h"

#include <QFontDatabase>
#include <QTextCursor>

DataLogBox::DataLogBox(QWidget* parent) : QPlainTextEdit(parent) {
  setReadOnly(true);
  // Dropped entries would otherwise stay in the undo history for good.
  setUndoRedoEnabled(false);
  // Replies have no blanks to break at: fill each line to the edge instead.
  setWordWrapMode(QTextOption::WrapAnywhere);
}

void DataLogBox::showEvent(QShowEvent* event) {
  // The fixed font is loaded when the log is first looked at, not at start-up.
  if (!fixed_font_) {
    setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    fixed_font_ = true;
  }
  QPlainTextEdit::showEvent(event);
}

void DataLogBox::ShowHeader(std::time_t now) {
  Clear();
  const std::string header = vexa::DataLogHeader(now);
  bound_.Prepend(header.size(), InsertAtTop(header));
}

void DataLogBox::Prepend(const std::string& reply, std::time_t now) {
  const std::string entry = vexa::DataLogEntry(reply, now);
  const std::size_t remove = bound_.Prepend(entry.size(), InsertAtTop(entry));
  if (remove == 0) return;
  QTextCursor cursor(document());
  cursor.movePosition(QTextCursor::End);
  cursor.setPosition(cursor.position() - static_cast<int>(remove), QTextCursor::KeepAnchor);
  cursor.removeSelectedText();
}

void DataLogBox::Clear() {
  clear();
  bound_.Clear();
}

std::size_t DataLogBox::InsertAtTop(const std::string& text) {
  QString shown = QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
  shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  const int before = document()->characterCount();
  QTextCursor cursor(document());
  cursor.insertText(shown);
  return static_cast<std::size_t>(document()->characterCount() - before);
}
