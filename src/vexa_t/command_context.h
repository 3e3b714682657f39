#pragma once

#include "notifier/notifier.h"
#include "phonebook/phone_book_store.h"
#include "vexa_t/arguments.h"
#include "vexa_t/logger_session.h"
#include "vexa_t/progress_line.h"

namespace vexa {

// What a command that talks to a logger works with: the session open on the
// port, its logger selected, and what the shared code told the engineer.
struct CommandContext {
  const Invocation& invocation;
  LoggerSession& session;
  PhoneBookStore& phone_book;
  const RecordingNotifier& messages;
  ProgressLine& progress;
};

}  // namespace vexa
