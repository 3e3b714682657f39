#pragma once

#include <QWidget>
#include <map>
#include <string>

#include "pages/page_context.h"

class QComboBox;
class QLineEdit;
class QTableWidget;

// The Relay Output page: switches the relays, sets their time lapses and the alarm
// sources that drive them.
class CTarvoKSet4Dlg : public QWidget {
  Q_OBJECT

 public:
  CTarvoKSet4Dlg(vexa::PageContext context, QWidget* parent);

  // The first status reply was read: builds a column per relay.
  void FirstStatusReply();
  // The time lapses of a reply to "#1".
  void ReadGroup1Reply(const std::string& reply);
  // The alarm sources of a reply to "#3".
  void ReadGroup3Reply(const std::string& reply);
  // The relay states of a status reply after the first.
  void LaterStatusReply(const std::string& reply);
  void ClearPage();

 private:
  QWidget* BuildMatrix();
  QWidget* BuildRelayControls();
  void ShowSelectedRelay();
  // The relay number chosen in the selector, or 0 with none chosen.
  int SelectedRelay() const;
  // The checks before a relay command; the relay it is for, or 0 when refused.
  int ReadyRelay();
  void TurnOnOff();
  void SetTimeLapse();
  void SetAssociatedAlarms();
  void ShowInMatrix(int row, int relay, const std::string& text);
  QString MatrixText(int row, int relay) const;

  vexa::PageContext context_;
  QTableWidget* matrix_ = nullptr;
  QComboBox* relay_selector_ = nullptr;
  QComboBox* on_off_ = nullptr;
  QLineEdit* time_lapse_ = nullptr;
  QTableWidget* associations_ = nullptr;
  // The last association value the logger reported for each relay.
  std::map<int, std::string> association_values_;
};
