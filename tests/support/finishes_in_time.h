#pragma once

#include <sys/wait.h>
#include <unistd.h>

#include <functional>

namespace vexa {

// Runs `body` in a child process that an alarm ends after `seconds`: true when the
// body returned true in time. For calls that, when faulty, would wait for ever on a
// pipe; the body reports through its result, since the child's expectations are lost.
inline bool FinishesInTime(const std::function<bool()>& body, unsigned seconds = 10) {
  const pid_t child = fork();
  if (child < 0) return false;
  if (child == 0) {
    alarm(seconds);
    _exit(body() ? 0 : 1);
  }
  int status = 0;
  return waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace vexa
