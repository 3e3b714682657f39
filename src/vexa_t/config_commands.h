#pragma once

#include "vexa_t/command_context.h"
#include "vexa_t/report.h"

namespace vexa {

// The commands around a configuration file, as the Batch Setup page saves,
// loads and replays it.
Report BackupCommand(CommandContext& context);
Report DiffCommand(CommandContext& context);
// Also --dry-run, which needs no logger: `context` is null then.
Report ApplyCommand(const Invocation& invocation, PhoneBookStore& phone_book,
                    CommandContext* context);

}  // namespace vexa
