#pragma once

#include <string>

#include "sim/logger_time.h"

namespace vexa::sim {

// Deterministic readings: every channel swings once a day around its own
// level, so the status and the stored records look alive yet repeat exactly.

// The humidity sensor's raw reading (the status's "A02:"), in tenths of a percent.
int RawHumidityTenths(LoggerTime at);

// The humidity as shown ("A00:"): the raw reading scaled by the humidity
// record's upper limit, which the calibration sets (100 leaves it raw).
int HumidityTenths(LoggerTime at, double upper_limit);
int ScaledHumidityTenths(int raw_tenths, double upper_limit);

// Temperature sensor of analog channel 7 to 14, in tenths of a degree.
int TemperatureTenths(int channel, LoggerTime at);

// 452 gives "45.2" with one decimal, "45.20" with two.
std::string FormatTenths(int tenths, int decimals);

}  // namespace vexa::sim
