#pragma once

#include <QWidget>
#include <string>
#include <vector>

#include "pages/page_context.h"

class QTableWidget;

// The Digital Channel page: the operation mode of each digital input and the power alarm.
class CTarvoKSet3Dlg : public QWidget {
  Q_OBJECT

 public:
  CTarvoKSet3Dlg(vexa::PageContext context, QWidget* parent);

  // The first status reply was read: builds one row per input.
  void FirstStatusReply();
  // Fills the modes from a reply to "#2" and records the command that reproduces them.
  void ReadGroup2Reply(const std::string& reply);
  void ClearPage();

 private:
  void SetOperationModes();
  std::vector<std::string> ShownModes() const;

  vexa::PageContext context_;
  QTableWidget* list_ = nullptr;
};
