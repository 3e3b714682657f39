#pragma once

namespace vexa {

// What both programs set up first, once, for the whole process:
// - A write past a file-size limit (ulimit -f) fails with EFBIG, so the program
//   reports it as any failed save, instead of being ended by SIGXFSZ.
// - SIGTERM, SIGINT and SIGHUP no longer end the process at once: they make
//   StopSignalDescriptor readable, so that the program can close its port (which
//   removes its lock file) and then call EndByStopSignal. A second one of them
//   ends the process at once, for a program that does not stop.
// False when the stop signals could not be caught; they then end the process as before.
bool SetUpProcess();

// Readable once a stop signal has arrived; -1 before SetUpProcess.
int StopSignalDescriptor();

// The stop signal that arrived, taken from the descriptor; 0 when none did.
int TakeStopSignal();

// Ends the process as `signal` would have, for its parent to see.
[[noreturn]] void EndByStopSignal(int signal);

}  // namespace vexa
