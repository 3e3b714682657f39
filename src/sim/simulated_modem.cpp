#include "sim/simulated_modem.h"

#include <charconv>
#include <optional>
#include <utility>

#include "sim/sms_parts.h"

namespace vexa::sim {

namespace {

constexpr std::string_view kSendPrefix = "AT+BJSD=";
constexpr std::string_view kMessageSent = "message send";
constexpr std::string_view kTestAnswer = "BJ-GSM TEST OK CSQ:21";
constexpr std::string_view kVersionAnswer = "BJ-GSM Modem V1.02";
constexpr std::string_view kError = "ERROR";

struct SendRequest {
  std::string_view phone;
  std::string_view command;
};

// "<n>,<phone of n characters>,<command>"
std::optional<SendRequest> ParseSend(std::string_view arguments) {
  std::size_t length = 0;
  const auto [end, error] =
      std::from_chars(arguments.data(), arguments.data() + arguments.size(), length);
  const auto comma = static_cast<std::size_t>(end - arguments.data());
  if (error != std::errc() || comma == 0 || comma >= arguments.size() || arguments[comma] != ',') {
    return std::nullopt;
  }
  const std::string_view rest = arguments.substr(comma + 1);
  if (length == 0 || rest.size() <= length || rest[length] != ',') return std::nullopt;
  return SendRequest{rest.substr(0, length), rest.substr(length + 1)};
}

}  // namespace

SimulatedModem::SimulatedModem(const std::vector<LoggerIdentity>& loggers,
                               std::chrono::milliseconds part_delay, const LoggerClock& clock,
                               const RecordHistory& history)
    : part_delay_(part_delay) {
  for (const auto& identity : loggers) loggers_.emplace_back(identity, clock, history);
}

Schedule SimulatedModem::Respond(std::string_view line) {
  std::string_view text = line;
  while (text.ends_with('\r') || text.ends_with('\n')) text.remove_suffix(1);
  if (text.empty()) return {};
  if (text == "AT+BJTE") return {{{}, std::string(kTestAnswer)}};
  if (text == "AT+BJDS") return {{{}, std::string(kVersionAnswer)}};
  const auto request =
      text.starts_with(kSendPrefix) ? ParseSend(text.substr(kSendPrefix.size())) : std::nullopt;
  if (!request) return {{{}, std::string(kError)}};

  Schedule schedule{{{}, std::string(line)}, {part_delay_, std::string(kMessageSent)}};
  SimulatedLogger* logger = LoggerByPhone(request->phone);
  if (logger == nullptr) return schedule;  // the SMS goes out, nobody answers
  const std::string reply = logger->Handle(request->command);
  if (reply.empty()) return schedule;
  auto parts = SplitIntoSms(reply, logger->station_id());
  if (faults_.drop_last_part && parts.size() > 1) parts.pop_back();
  // SMS carry no sequence number, so the network may deliver them in any order.
  if (faults_.swap_parts && parts.size() >= 4) std::swap(parts[1], parts[2]);
  const std::size_t first_part = schedule.size();
  for (auto& part : parts) schedule.push_back({part_delay_, std::move(part)});
  schedule[first_part].delay += faults_.late;
  return schedule;
}

void SimulatedModem::set_faults(const Faults& faults) {
  faults_ = faults;
  for (auto& logger : loggers_) logger.set_faults(faults);
}

void SimulatedModem::set_raw_humidity(std::optional<int> tenths) {
  for (auto& logger : loggers_) logger.set_raw_humidity(tenths);
}

SimulatedLogger* SimulatedModem::LoggerByPhone(std::string_view phone) {
  for (auto& logger : loggers_) {
    if (logger.phone() == phone) return &logger;
  }
  return nullptr;
}

}  // namespace vexa::sim
