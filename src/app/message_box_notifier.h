#pragma once

#include "notifier/notifier.h"

class QWidget;

// Shows messages as modal message boxes over `parent`, or without one over
// the active window.
class MessageBoxNotifier : public vexa::Notifier {
 public:
  explicit MessageBoxNotifier(QWidget* parent) : parent_(parent) {}
  void Show(const std::string& text, const std::string& caption, vexa::MessageIcon icon) override;
  bool AskOkCancel(const std::string& text, const std::string& caption,
                   vexa::MessageIcon icon) override;

 private:
  QWidget* Parent() const;

  QWidget* parent_;
};
