#include "link/serial_port.h"

#include <fcntl.h>
#include <grp.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <optional>
#include <system_error>
#include <thread>
#include <utility>

#include "link/device_holders.h"

namespace vexa {

namespace {

using Clock = std::chrono::steady_clock;

constexpr std::size_t kReadSize = 1024;
// A burst ends once this long has passed without a byte, counted from the last one.
constexpr auto kBurstGap = std::chrono::milliseconds(200);
// A whole reply ends after this much silence: about 20 characters at 9600 baud,
// room for a line end the logger sends after it.
constexpr auto kReplyGuard = std::chrono::milliseconds(20);
constexpr auto kWriteTimeOut = std::chrono::milliseconds(1000);

unsigned SupportedBaudRate(unsigned baud_rate) {
  return baud_rate == 1200 || baud_rate == 2400 || baud_rate == 4800 ? baud_rate : 9600;
}

speed_t Speed(unsigned baud_rate) {
  switch (baud_rate) {
    case 1200:
      return B1200;
    case 2400:
      return B2400;
    case 4800:
      return B4800;
    default:
      return B9600;
  }
}

bool ApplyLineSettings(int fd, unsigned baud_rate) {
  termios tio{};
  if (tcgetattr(fd, &tio) != 0) return false;
  cfmakeraw(&tio);
  tio.c_iflag &= ~(IXOFF | IXANY | INPCK);
  tio.c_cflag &= ~(CSTOPB | CRTSCTS);
  tio.c_cflag |= CLOCAL | CREAD;
  // With O_NONBLOCK this makes an empty queue read as EAGAIN and a hang-up as 0 bytes.
  tio.c_cc[VMIN] = 1;
  tio.c_cc[VTIME] = 0;
  return cfsetispeed(&tio, Speed(baud_rate)) == 0 && cfsetospeed(&tio, Speed(baud_rate)) == 0 &&
         tcsetattr(fd, TCSANOW, &tio) == 0;
}

void SetDtr(int fd, bool raised) {
  // A pseudo-terminal has no modem lines; that is not an error.
  int dtr = TIOCM_DTR;
  ioctl(fd, raised ? TIOCMBIS : TIOCMBIC, &dtr);
}

// The group that may use the device, for the engineer to join; "dialout" unless
// the device says otherwise.
std::string DeviceGroup(const std::string& path) {
  struct stat device {};
  if (stat(path.c_str(), &device) != 0 || device.st_gid == 0) return "dialout";
  std::array<char, 1024> buffer;
  group entry{};
  group* found = nullptr;
  getgrgid_r(device.st_gid, &entry, buffer.data(), buffer.size(), &found);
  return found != nullptr ? found->gr_name : "dialout";
}

// Who holds the device, as seen from here; "another program" when no one can be seen.
std::string HeldBy(const std::string& path, const char* how) {
  const std::string holders = DeviceHolders(path);
  return (holders.empty() ? "another program" : holders) + " " + how;
}

// Why each step of an open failed, from the device and errno.
std::string OpenError(const std::string& path, int error) {
  switch (error) {
    case EACCES:
    case EPERM:
      return "permission denied; the user must be in the " + DeviceGroup(path) + " group";
    case ENOENT:
      return "no such device";
    case EBUSY:  // TIOCEXCL keeps out all but root
      return HeldBy(path, "holds it exclusive");
  }
  return std::strerror(error);
}
std::string ExclusiveError(const std::string& path, int /*error*/) {
  return HeldBy(path, "holds it exclusive");
}
std::string LockError(const std::string& path, int error) {
  return error == EWOULDBLOCK ? HeldBy(path, "has locked it") : std::strerror(error);
}
std::string SettingsError(const std::string& /*path*/, int error) {
  return error == ENOTTY ? "not a serial port" : std::strerror(error);
}

struct OpenedDevice {
  int fd = -1;
  std::string refusal;  // why not, when fd is -1
};

// O_NONBLOCK keeps the open from waiting for carrier and lets a read of an empty
// queue return at once.
OpenedDevice OpenDevice(const std::string& path, unsigned baud_rate) {
  const int fd = open(path.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return {-1, OpenError(path, errno)};
  // Closed before the reason is worded, so that this port is not among the holders.
  const auto refuse = [&](std::string (*reason)(const std::string&, int)) {
    const int error = errno;
    close(fd);
    return OpenedDevice{-1, reason(path, error)};
  };
  // TIOCEXCL does not keep out root, so a device another program holds exclusive
  // is refused here rather than shared; the lock keeps out everyone who asks for it.
  int exclusive = 0;
  if (ioctl(fd, TIOCGEXCL, &exclusive) == 0 && exclusive != 0) return refuse(ExclusiveError);
  if (flock(fd, LOCK_EX | LOCK_NB) != 0) return refuse(LockError);
  if (!ApplyLineSettings(fd, baud_rate) || ioctl(fd, TIOCEXCL) != 0) return refuse(SettingsError);
  tcflush(fd, TCIOFLUSH);
  SetDtr(fd, true);
  return {fd, {}};
}

// Only for a device this port opened, which set the exclusive mode itself.
void CloseDevice(int fd) {
  SetDtr(fd, false);
  tcflush(fd, TCIOFLUSH);
  ioctl(fd, TIOCNXCL);  // the flag outlives this descriptor while others hold the device
  close(fd);
}

// True when `fd` became ready for `events` before `deadline`.
bool WaitReady(int fd, short events, Clock::time_point deadline) {
  pollfd entry{fd, events, 0};
  for (;;) {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
    if (left <= 0) return false;
    const int ready = poll(&entry, 1, static_cast<int>(left));
    if (ready >= 0) return ready > 0;
    if (errno != EINTR) return false;
  }
}

enum class Wake { kInput, kQuiet, kStop, kGone };

// Waits for input until `deadline` (none: for ever), or for the stop pipe.
Wake WaitForInput(int fd, int stop_fd, std::optional<Clock::time_point> deadline) {
  std::array<pollfd, 2> entries{{{fd, POLLIN, 0}, {stop_fd, POLLIN, 0}}};
  for (;;) {
    int wait_ms = -1;
    if (deadline) {
      const auto left = std::chrono::ceil<std::chrono::milliseconds>(*deadline - Clock::now());
      wait_ms = static_cast<int>(std::max<std::chrono::milliseconds::rep>(left.count(), 0));
    }
    const int ready = poll(entries.data(), entries.size(), wait_ms);
    if (ready == 0) return Wake::kQuiet;
    if (ready > 0) break;
    if (errno != EINTR) return Wake::kGone;
  }
  if (entries[1].revents != 0) return Wake::kStop;
  if (entries[0].revents & POLLIN) return Wake::kInput;
  return Wake::kGone;  // POLLHUP, POLLERR or POLLNVAL without data
}

// The number of bytes read, at most one buffer; nothing when the device has gone
// away (hung up: 0 bytes; pulled: EIO or ENXIO).
std::optional<std::size_t> ReadPort(int fd, std::array<char, kReadSize>& buffer) {
  for (;;) {
    const ssize_t count = read(fd, buffer.data(), buffer.size());
    if (count > 0) return static_cast<std::size_t>(count);
    if (count < 0 && errno == EAGAIN) return 0;
    if (count == 0 || errno != EINTR) return std::nullopt;
  }
}

// A zero byte is line noise, not an end of text: it is dropped, the rest kept.
void AppendWithoutZeroBytes(std::string& text, std::string_view piece) {
  for (char c : piece) {
    if (c != '\0') text += c;
  }
}

void DrainPipe(int fd) {
  char bytes[16];
  while (read(fd, bytes, sizeof bytes) > 0) {
  }
}

}  // namespace

struct SerialPort::PortState {
  PortState(std::string path, unsigned rate, int stop_read_end, int stop_write_end)
      : device_path(std::move(path)),
        baud_rate(rate),
        stop_read(stop_read_end),
        stop_write(stop_write_end) {}
  ~PortState() {
    close(stop_read);
    close(stop_write);
  }

  const std::string device_path;
  const unsigned baud_rate;
  PortLock lock;                     // held while the device is open
  int fd = -1;                       // the open device; -1 until opened and after closing
  std::uint64_t writes = 0;          // guarded by the port's mutex; counts the purges
  ReplyComplete next_reply;          // guarded by the port's mutex; for the next write
  ReplyComplete reply;               // guarded by the port's mutex; for the latest write
  std::atomic<bool> running{false};  // open, and the receive thread must keep running
  std::thread thread;
  // A self-pipe: readable once the receive thread must stop, so that it never sleeps
  // through a disconnect.
  const int stop_read;
  const int stop_write;
};

SerialPort::SerialPort(Receiver receiver, LostHandler lost, std::filesystem::path lock_dir)
    : receiver_(std::move(receiver)), lost_(std::move(lost)), lock_dir_(std::move(lock_dir)) {}

SerialPort::~SerialPort() {
  ClosePort();
}

int SerialPort::InitPort(std::string device_path, unsigned baud_rate) {
  ClosePort();
  std::array<int, 2> stop{};
  if (pipe2(stop.data(), O_CLOEXEC | O_NONBLOCK) != 0) return -1;
  auto state = std::make_unique<PortState>(std::move(device_path), SupportedBaudRate(baud_rate),
                                           stop[0], stop[1]);
  std::lock_guard lock(mutex_);
  state_ = std::move(state);
  return 1;
}

int SerialPort::OpenPort() {
  std::lock_guard lock(mutex_);
  refusal_.clear();
  if (!state_) {
    refusal_ = "no port is set up";
    return 0;
  }
  if (state_->fd >= 0) {
    refusal_ = state_->device_path + ": already open";
    return 0;
  }
  std::string refusal = state_->lock.Take(lock_dir_, state_->device_path);
  OpenedDevice device;
  if (refusal.empty()) {
    device = OpenDevice(state_->device_path, state_->baud_rate);
    refusal = device.refusal;
  }
  if (device.fd < 0) {
    state_->lock.Release();
    refusal_ = state_->device_path + ": " + refusal;
    return 0;
  }
  state_->fd = device.fd;
  state_->running = true;
  try {
    state_->thread = std::thread(&SerialPort::WatchThread, this, std::ref(*state_));
  } catch (const std::system_error& error) {
    state_->running = false;
    CloseDevice(device.fd);
    state_->fd = -1;
    state_->lock.Release();
    refusal_ = state_->device_path + ": no receive thread (" + error.what() + ")";
    return 0;
  }
  return 1;
}

std::string SerialPort::refusal() const {
  std::lock_guard lock(mutex_);
  return refusal_;
}

int SerialPort::ClosePort() {
  {
    std::lock_guard lock(mutex_);
    if (!state_) return 0;
  }
  // Also after the device went away: its thread has ended but is still to be joined,
  // and the descriptor is still to be closed.
  StopPort();
  std::lock_guard lock(mutex_);
  state_.reset();
  return 1;
}

int SerialPort::StopPort() {
  PortState* port = nullptr;
  {
    std::lock_guard lock(mutex_);
    if (!state_) return 1;
    port = state_.get();
    port->running = false;
    // Should the pipe be full, it is readable already.
    const char stop = 1;
    [[maybe_unused]] const ssize_t woken = write(port->stop_write, &stop, 1);
  }
  // Unlocked: the thread may be delivering a burst to a receiver that writes.
  if (port->thread.joinable()) port->thread.join();
  std::lock_guard lock(mutex_);
  if (port->fd >= 0) {
    CloseDevice(port->fd);
    port->fd = -1;
  }
  port->lock.Release();
  DrainPipe(port->stop_read);
  return 1;
}

bool SerialPort::WritePort(std::string_view bytes) {
  std::lock_guard lock(mutex_);
  if (!state_ || !state_->running) return false;
  const int fd = state_->fd;
  // Whatever arrived before the command cannot be its reply.
  tcflush(fd, TCIOFLUSH);
  ++state_->writes;
  state_->reply = std::move(state_->next_reply);
  state_->next_reply = nullptr;
  const auto deadline = Clock::now() + kWriteTimeOut;
  while (!bytes.empty()) {
    const ssize_t count = write(fd, bytes.data(), bytes.size());
    if (count > 0) {
      bytes.remove_prefix(static_cast<std::size_t>(count));
    } else if (count < 0 && errno != EAGAIN && errno != EINTR) {
      return false;
    } else if (!WaitReady(fd, POLLOUT, deadline)) {  // the output queue stays full
      return false;
    }
  }
  return true;
}

void SerialPort::ExpectReply(ReplyComplete complete) {
  std::lock_guard lock(mutex_);
  if (state_) state_->next_reply = std::move(complete);
}

bool SerialPort::IsPortOpen() const {
  std::lock_guard lock(mutex_);
  return state_ && state_->running;
}

unsigned SerialPort::baud_rate() const {
  std::lock_guard lock(mutex_);
  return state_ ? state_->baud_rate : 0;
}

void SerialPort::WatchThread(PortState& port) {
  std::array<char, kReadSize> buffer;
  std::string text;
  std::uint64_t writes_seen = 0;
  ReplyComplete whole;  // the rule for the reply to the write seen last
  // Set while a burst is being received: it ends once no byte came for a whole gap.
  std::optional<Clock::time_point> burst_end;
  // Set once a burst reached kMaxBurstSize: the rest of the flood, which can be no
  // reply either, is read and dropped until the line pauses, so that a line faster
  // than the window cannot pile up copies for it.
  bool flooding = false;
  bool gone = false;
  while (port.running) {
    const Wake wake = WaitForInput(port.fd, port.stop_read, burst_end);
    if (wake == Wake::kStop || wake == Wake::kGone) {
      gone = wake == Wake::kGone;
      break;
    }
    std::optional<std::size_t> count = 0;
    {
      // A write purges unread input, so bytes read before it are dropped too.
      std::lock_guard lock(mutex_);
      if (port.writes != writes_seen) {
        text.clear();
        whole = port.reply;
      }
      writes_seen = port.writes;
      if (wake == Wake::kInput) count = ReadPort(port.fd, buffer);
    }
    if (wake == Wake::kQuiet) {
      if (!text.empty()) receiver_(std::move(text));
      text.clear();
      burst_end.reset();
      flooding = false;
      continue;
    }
    if (!count) {
      gone = true;
      break;
    }
    if (*count == 0) continue;  // nothing after all
    if (!flooding) AppendWithoutZeroBytes(text, std::string_view(buffer.data(), *count));
    if (text.size() >= kMaxBurstSize) {
      receiver_(std::move(text));
      text.clear();
      flooding = true;
    }
    burst_end = Clock::now() + (!flooding && whole && whole(text) ? kReplyGuard : kBurstGap);
  }
  // What arrived before a stop or a hang-up is still handed over.
  if (!text.empty()) receiver_(std::move(text));
  // A stop by StopPort has cleared running already and is no loss.
  if (gone && port.running.exchange(false) && lost_) lost_();
}

}  // namespace vexa
