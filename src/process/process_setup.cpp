#include "process/process_setup.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>

namespace vexa {
namespace {

constexpr int kStopSignals[] = {SIGTERM, SIGINT, SIGHUP};

// The one piece of process-wide state: a signal handler can reach nothing else.
// Written once by SetUpProcess, before any handler that uses it is installed.
int stop_pipe[2] = {-1, -1};

void OnStopSignal(int signal) {
  const int saved = errno;
  const unsigned char number = static_cast<unsigned char>(signal);
  [[maybe_unused]] const ssize_t written = write(stop_pipe[1], &number, 1);
  errno = saved;
}

}  // namespace

bool SetUpProcess() {
  struct sigaction ignore {};
  ignore.sa_handler = SIG_IGN;
  sigemptyset(&ignore.sa_mask);
  sigaction(SIGXFSZ, &ignore, nullptr);

  if (stop_pipe[0] >= 0) return true;
  if (pipe2(stop_pipe, O_CLOEXEC | O_NONBLOCK) != 0) {
    stop_pipe[0] = stop_pipe[1] = -1;
    return false;
  }
  struct sigaction stop {};
  stop.sa_handler = OnStopSignal;
  sigemptyset(&stop.sa_mask);
  // One request to stop; the next signal of the kind ends the process.
  stop.sa_flags = SA_RESETHAND | SA_RESTART;
  bool caught = true;
  for (const int signal : kStopSignals) caught = sigaction(signal, &stop, nullptr) == 0 && caught;
  return caught;
}

int StopSignalDescriptor() {
  return stop_pipe[0];
}

int TakeStopSignal() {
  unsigned char number = 0;
  if (stop_pipe[0] < 0 || read(stop_pipe[0], &number, 1) != 1) return 0;
  return number;
}

void EndByStopSignal(int signal) {
  struct sigaction fallback {};
  fallback.sa_handler = SIG_DFL;
  sigemptyset(&fallback.sa_mask);
  sigaction(signal, &fallback, nullptr);
  sigset_t only{};
  sigemptyset(&only);
  sigaddset(&only, signal);
  pthread_sigmask(SIG_UNBLOCK, &only, nullptr);
  raise(signal);
  _exit(128 + signal);  // should the signal not end it after all
}

}  // namespace vexa
