#pragma once

#include <array>
#include <string_view>

namespace vexa {

// Table A: data logging interval (SA), by code 0 to 5.
inline constexpr std::array<std::string_view, 6> kLoggingIntervalTexts = {
    "No Upload", "05 Minute", "15 Minute", "30 Minute", "60 Minute", "01 Minute"};

// Table B: GPRS upload interval (SD), by two-digit code 00 to 11.
inline constexpr std::array<std::string_view, 12> kGprsUploadIntervalTexts = {
    "No Upload", "30 Second", "01 Minute", "02 Minute", "05 Minute", "15 Minute",
    "30 Minute", "01 Hour",   "02 Hour",   "06 Hour",   "12 Hour",   "24 Hour"};

// Table C: GPRS upload mode (SD, second argument), by code 0 and 1.
inline constexpr std::array<std::string_view, 2> kGprsUploadModeTexts = {
    ", Live Data , Record Count: ", ", Packet Data,  Record Count: "};

// Table D: SMS upload interval (CP, after the centre number), by code 0 to 9.
inline constexpr std::array<std::string_view, 10> kSmsUploadIntervalTexts = {
    ": No Upload", ": 01 Minute", ": 05 Minute", ": 15 Minute", ": 30 Minute",
    ": 01 Hour",   ": 02 Hour",   ": 06 Hour",   ": 12 Hour",   ": 24 Hour"};

// Table E: GSM band (PL), by code 0 to 6.
inline constexpr std::array<std::string_view, 7> kGsmBandTexts = {
    "850", "900", "1800", "1900", "850/1900", "900/1800", "900/1900"};

// Table F: protocol (IU), by code 0 and 1.
inline constexpr std::array<std::string_view, 2> kProtocolTexts = {"TCP", "UDP"};

// Name of the sensor that an AD command recorded under this code sets, or ""
// for codes without one (12002 humidity, 12003/12004 and 12207-12212 temperature).
std::string_view SensorName(int command_code);

}  // namespace vexa
