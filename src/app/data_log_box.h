#pragma once

#include <QPlainTextEdit>
#include <ctime>
#include <string>

#include "link/data_log_text.h"

// The data log box: replies newest first under a dated header line. A reply
// goes in at the top and the oldest drop off the bottom, so the box never
// rebuilds its whole text and keeps at most kDataLogLimit bytes of it.
class DataLogBox : public QPlainTextEdit {
  Q_OBJECT

 public:
  explicit DataLogBox(QWidget* parent = nullptr);

  // Starts afresh with the header line of this date.
  void ShowHeader(std::time_t now);
  void Prepend(const std::string& reply, std::time_t now);
  // Buffer Clear: the box is empty, with no header.
  void Clear();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  // Puts Latin-1 text at the top; returns the characters it added.
  std::size_t InsertAtTop(const std::string& text);

  vexa::DataLogBound bound_;
  bool fixed_font_ = false;
};
