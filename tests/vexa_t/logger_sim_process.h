#pragma once

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace vexa {

// logger-sim running in the background for one test: the pseudo-terminal it
// serves, and the next logger plugged in on demand.
class LoggerSimProcess {
 public:
  explicit LoggerSimProcess(const std::vector<std::string>& options = {}) {
    int out[2], err[2];
    if (pipe(out) != 0 || pipe(err) != 0) throw std::runtime_error("no pipe");
    std::vector<std::string> arguments{LOGGER_SIM_PROGRAM};
    arguments.insert(arguments.end(), options.begin(), options.end());
    pid_ = fork();
    if (pid_ < 0) throw std::runtime_error("no fork");
    if (pid_ == 0) {
      dup2(out[1], STDOUT_FILENO);
      dup2(err[1], STDERR_FILENO);
      std::vector<char*> argv;
      for (std::string& argument : arguments) argv.push_back(argument.data());
      argv.push_back(nullptr);
      execv(argv.front(), argv.data());
      _exit(127);
    }
    close(out[1]);
    close(err[1]);
    out_ = out[0];
    err_ = err[0];
    path_ = ReadUntil(out_, "\n");
    if (!path_.empty()) path_.pop_back();
  }
  ~LoggerSimProcess() {
    kill(pid_, SIGTERM);
    waitpid(pid_, nullptr, 0);
    close(out_);
    close(err_);
  }
  LoggerSimProcess(const LoggerSimProcess&) = delete;
  LoggerSimProcess& operator=(const LoggerSimProcess&) = delete;

  const std::string& path() const { return path_; }

  // The cable's logger goes and the next one, as it left the factory, comes.
  void PlugInNextLogger() {
    kill(pid_, SIGUSR1);
    ReadUntil(err_, "plugged in\n");
  }

 private:
  // Reads until `end` came, for at most ten seconds.
  static std::string ReadUntil(int fd, const std::string& end) {
    std::string text;
    while (!text.ends_with(end)) {
      pollfd ready{fd, POLLIN, 0};
      char byte = 0;
      if (poll(&ready, 1, 10'000) <= 0 || read(fd, &byte, 1) != 1) break;
      text += byte;
    }
    return text;
  }

  pid_t pid_ = -1;
  int out_ = -1;
  int err_ = -1;
  std::string path_;
};

}  // namespace vexa
