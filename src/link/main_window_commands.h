#pragma once

#include <string>

#include "link/command_exchange.h"
#include "notifier/notifier.h"
#include "phonebook/phone_book_store.h"

namespace vexa {

// The main window's own commands: the read buttons, device selection, Init,
// Clear and the modem commands. The window calls these from its handlers.
class MainWindowCommands {
 public:
  MainWindowCommands(CommandExchange& exchange, PhoneBookStore& phone_book, Notifier& notifier,
                     ExchangeListener& listener);

  void SelectDevice(const std::string& id);
  // "#1", "#2", "#3" and "Status": false when refused, true when the command was
  // handed to the exchange (whose result tells how it went).
  bool ReadGroup(int group);
  bool ReadStatus();
  void ReadVersion();
  void Init(bool ctrl_held);
  void Clear();
  // "Batch" on the RS232 route, "M test" on the GSM route.
  void BatchOrModemTest();
  void ModemVersion();

 private:
  bool CheckModemReady();

  CommandExchange& exchange_;
  PhoneBookStore& phone_book_;
  Notifier& notifier_;
  ExchangeListener& listener_;
};

}  // namespace vexa
