#pragma once

#include <QWidget>
#include <string>

#include "pages/page_context.h"

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
  vexa::PageContext context_;
};
