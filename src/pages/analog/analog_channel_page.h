#pragma once

#include <QWidget>
#include <string>

#include "pages/page_context.h"

// The Analog Channel page: the humidity sensor, the temperature sensors and the analog
// channels, and the humidity sensor's one-point calibration.
class CTarvoKSet2Dlg1 : public QWidget {
  Q_OBJECT

 public:
  CTarvoKSet2Dlg1(vexa::PageContext context, QWidget* parent);

  // The first status reply was read: builds the channel list and selector.
  void FirstStatusReply();
  // Fills the page from a reply to "#2" and records the commands that reproduce it.
  void ReadGroup2Reply(const std::string& reply);
  // A reply to a calibration step (codes 12000 and 12001).
  void CalibrationReply(const std::string& reply);
  void ClearPage();

 private:
  vexa::PageContext context_;
};
