#pragma once

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "support/file_bytes.h"
#include "support/temp_dir.h"

namespace vexa {

struct ProgramRun {
  int exit_status = -1;  // -1 when it did not exit by itself (a signal, the time limit)
  std::string out;
  std::string err;
};

// Runs `program` with `arguments` and nothing but `environment` ("NAME=value"),
// with `input` on its standard input, and waits for it; it is killed after `seconds`.
inline ProgramRun RunProgram(const std::string& program, const std::vector<std::string>& arguments,
                             const std::vector<std::string>& environment, unsigned seconds = 30,
                             const std::string& input = {}) {
  const TempDir folder;
  const std::string out = folder.File("out"), err = folder.File("err"), in_file = folder.File("in");
  WriteBytes(in_file, input);
  std::vector<char*> argv{const_cast<char*>(program.c_str())};
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  std::vector<char*> envp;
  for (const std::string& variable : environment)
    envp.push_back(const_cast<char*>(variable.c_str()));
  envp.push_back(nullptr);

  ProgramRun run;
  const pid_t child = fork();
  if (child < 0) return run;
  if (child == 0) {
    const int in = open(in_file.c_str(), O_RDONLY);
    const int out_fd = open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const int err_fd = open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (in < 0 || out_fd < 0 || err_fd < 0) _exit(127);
    dup2(in, STDIN_FILENO);
    dup2(out_fd, STDOUT_FILENO);
    dup2(err_fd, STDERR_FILENO);
    alarm(seconds);  // survives exec: the program gets SIGALRM at the limit
    execve(program.c_str(), argv.data(), envp.data());
    _exit(127);
  }
  int status = 0;
  if (waitpid(child, &status, 0) == child && WIFEXITED(status))
    run.exit_status = WEXITSTATUS(status);
  run.out = ReadBytes(out);
  run.err = ReadBytes(err);
  return run;
}

}  // namespace vexa
