#pragma once

#include <string>

#include "link/command_state.h"

namespace vexa {

// Device page indices, in tab order.
inline constexpr int kDeviceSetupPage = 0;
inline constexpr int kAnalogChannelPage = 1;
inline constexpr int kDigitalChannelPage = 2;
inline constexpr int kRelayOutputPage = 3;
inline constexpr int kAnalogAlarmPage = 4;
inline constexpr int kInputAlarmPage = 5;
inline constexpr int kDataRecordPage = 6;
inline constexpr int kBatchSetupPage = 7;

// A command that has just ended, with the result its status text shows.
struct FinishedCommand {
  int code = kNoPendingCode;  // the code it was pending under at its end
  int result = kResultSuccess;
  std::string status_text;  // "Command Success", "Command Time Out", ...
  std::string reply;        // the text routed to its handler; empty when none came
};

// What the command exchange tells the main window and, through it, the pages.
// Reply texts are valid during the call only.
class ExchangeListener {
 public:
  virtual ~ExchangeListener() = default;

  virtual void Group1Reply(const std::string& /*reply*/) {}  // Device Setup, Relay Output
  virtual void Group2Reply(const std::string& /*reply*/) {}  // Analog and Digital Channel
  virtual void Group3Reply(const std::string& /*reply*/) {}  // Relay Output
  virtual void InfoText(const std::string& /*text*/) {}      // Device Setup's Info box
  virtual void FirstStatusReply(const std::string& /*reply*/) {
  }  // Analog, Digital, Relay, Data Record
  virtual void LaterStatusReply(const std::string& /*reply*/) {}      // Relay Output, Data Record
  virtual void CurrentReadingsReply(const std::string& /*reply*/) {}  // Data Record
  virtual void StoredRecordsReply(const std::string& /*reply*/) {}    // Data Record
  virtual void CalibrationReply(const std::string& /*reply*/) {}      // Analog Channel
  virtual void AlarmTextReply(const std::string& /*reply*/) {}        // both alarm pages
  virtual void ClearPages() {}
  virtual void SelectDevicePage(int /*index*/) {}

  // The phone book file was changed by a reply.
  virtual void PhoneBookChanged() {}
  // The logger took a new station ID: refill the device selector and select it.
  virtual void DeviceIdChanged(const std::string& /*new_id*/) {}

  // Batch page: rebuild its list from the command buffer, all rows checked.
  virtual void BatchRefresh(bool /*set_band_flag*/) {}
  // Batch page: the command of the current batch row finished with this status text.
  virtual void BatchResult(const std::string& /*status_text*/) {}

  // A received text for the data log box, already shortened.
  virtual void DataLogEntry(const std::string& /*text*/) {}
  // Progress bar, Stop button, status text or command lamp changed.
  virtual void ProgressChanged() {}
  // The command in flight ended; told last, so the next one may go out at once.
  virtual void CommandFinished(const FinishedCommand& /*finished*/) {}
};

}  // namespace vexa
