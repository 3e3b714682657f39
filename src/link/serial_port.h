#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>

#include "link/port.h"
#include "link/port_lock.h"

namespace vexa {

// The serial line to a logger or a GSM modem: 8N1 raw, held exclusively, written by
// its caller and read by a receive thread that hands over one text per burst of bytes.
// A burst ends after a pause of 200 ms, or after a short guard once the exchange's
// rule says it holds a whole reply, or when it reaches kMaxBurstSize.
// A device that another program holds (by flock, TIOCEXCL or a UUCP lock file) is
// refused; while open, the port keeps a UUCP lock file of its own in `lock_dir`.
//
// InitPort, OpenPort, StopPort and ClosePort belong to one thread (the window's);
// WritePort, ExpectReply, IsPortOpen and baud_rate may also be called from another (the
// batch worker).
class SerialPort : public Port {
 public:
  // Gets a copy of one burst on the receive thread. It must hand the text on without
  // waiting for the window's thread, and must not stop or close the port.
  using Receiver = std::function<void(std::string burst)>;
  // Called once, on the receive thread, when the device went away while open.
  using LostHandler = std::function<void()>;

  explicit SerialPort(Receiver receiver, LostHandler lost = {},
                      std::filesystem::path lock_dir = kUucpLockDir);
  ~SerialPort() override;
  SerialPort(const SerialPort&) = delete;
  SerialPort& operator=(const SerialPort&) = delete;

  // Sets up the port record for the device, replacing an earlier one. 1200, 2400 and
  // 4800 baud are kept, any other rate becomes 9600. 1, or -1 when it cannot be set up.
  int InitPort(std::string device_path, unsigned baud_rate);
  // Opens the device and starts the receive thread: 1, or 0 on failure.
  int OpenPort();
  // Why the last OpenPort failed, for the data log or an error line: the device
  // and which process holds it, which lock file is in the way, or what else the
  // system said. Empty after an open that succeeded.
  std::string refusal() const;
  // Stops and releases the port: 1, or 0 when no port exists.
  int ClosePort();
  // Ends the receive thread, drops DTR, discards queued bytes and closes the device.
  int StopPort();
  bool WritePort(std::string_view bytes) override;
  void ExpectReply(ReplyComplete complete) override;
  bool IsPortOpen() const override;
  // The rate InitPort settled on; 0 when no port exists.
  unsigned baud_rate() const;

 private:
  struct PortState;

  void WatchThread(PortState& port);

  const Receiver receiver_;
  const LostHandler lost_;
  const std::filesystem::path lock_dir_;
  // Guards state_ and the device descriptor: a write on another thread never meets
  // a half-closed port.
  mutable std::mutex mutex_;
  std::unique_ptr<PortState> state_;  // null while no port exists
  std::string refusal_;
};

}  // namespace vexa
