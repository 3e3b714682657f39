#pragma once

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <chrono>
#include <stdexcept>
#include <string>
#include <string_view>

namespace vexa {

// A kernel pseudo-terminal pair. The test drives the master side; the port under test
// opens the slave side by its path, as it would open a serial device.
class PtyPair {
 public:
  PtyPair() {
    char name[128] = {};
    if (openpty(&master_, &slave_, name, nullptr, nullptr) != 0)
      throw std::runtime_error("openpty failed");
    slave_path_ = name;
    fcntl(master_, F_SETFL, O_NONBLOCK);
  }
  ~PtyPair() {
    CloseMaster();
    close(slave_);
  }
  PtyPair(const PtyPair&) = delete;
  PtyPair& operator=(const PtyPair&) = delete;

  const std::string& slave_path() const { return slave_path_; }
  int master() const { return master_; }
  // The slave descriptor openpty gave, opened before the port under test.
  int slave() const { return slave_; }

  // What the logger sends.
  void Send(std::string_view bytes) const {
    while (!bytes.empty()) {
      const ssize_t count = write(master_, bytes.data(), bytes.size());
      if (count > 0) {
        bytes.remove_prefix(static_cast<std::size_t>(count));
      } else {
        pollfd entry{master_, POLLOUT, 0};
        poll(&entry, 1, 100);
      }
    }
  }

  // What the logger received: up to `size` bytes, waiting at most `timeout`.
  std::string Receive(std::size_t size, std::chrono::milliseconds timeout) const {
    std::string received;
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (received.size() < size && std::chrono::steady_clock::now() < deadline) {
      pollfd entry{master_, POLLIN, 0};
      if (poll(&entry, 1, 10) <= 0) continue;
      char bytes[256];
      const ssize_t count = read(master_, bytes, sizeof bytes);
      if (count > 0) received.append(bytes, static_cast<std::size_t>(count));
    }
    return received;
  }

  // Bytes that reached the slave side and wait there unread. The slave descriptor that
  // openpty returned stays open for this: it came before the port's exclusive open.
  int SlaveQueued() const {
    int count = 0;
    ioctl(slave_, FIONREAD, &count);
    return count;
  }

  // What pulling the cable looks like from the slave side: a hang-up.
  void CloseMaster() {
    if (master_ >= 0) close(master_);
    master_ = -1;
  }

 private:
  int master_ = -1;
  int slave_ = -1;
  std::string slave_path_;
};

}  // namespace vexa
