#pragma once

#include "link/command_buffer.h"
#include "link/command_exchange.h"
#include "link/port.h"
#include "notifier/notifier.h"
#include "phonebook/phone_book_store.h"

namespace vexa {

// The program-wide objects the main window owns and hands to every page.
struct PageContext {
  CommandExchange& exchange;
  PhoneBookStore& phone_book;
  CommandBuffer& command_buffer;
  Port& port;
  Notifier& notifier;
};

}  // namespace vexa
