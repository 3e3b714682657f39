#pragma once

#include <istream>

#include "notifier/notifier.h"
#include "phonebook/phone_book_store.h"
#include "vexa_t/arguments.h"
#include "vexa_t/report.h"

namespace vexa {

// phonebook list | add ID PHONE | remove ID, through the store and checks the
// phone book page uses. The passwords of add come from `input`, one line
// each, enquiry password first.
Report PhoneBookCommand(const Invocation& invocation, PhoneBookStore& store,
                        const RecordingNotifier& messages, std::istream& input);

// The Port list, with each device's holders.
Report PortsCommand();

}  // namespace vexa
