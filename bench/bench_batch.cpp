// A batch of 50 setup commands against the simulated logger on a real
// pseudo-terminal, with no reply delay and the window's 100 ms command timer,
// compared with its floor: the wire time of every byte at 9600 baud (ten bits
// a byte), the port's burst framing (a reply is handed over 200 ms after its
// last byte) and the 10 ms pause after each result.
#include <benchmark/benchmark.h>

#include <numeric>

#include "../tests/support/batch_rig.h"

namespace vexa::testing {
namespace {

using namespace std::chrono_literals;
using Ms = std::chrono::duration<double, std::milli>;

constexpr int kCommands = 50;
constexpr double kBitsPerByte = 10;
constexpr double kBaud = 9600;
constexpr Ms kBurstFraming = 200ms;
constexpr Ms kPause = BatchWorker::kPauseAfterResult;

double WireMs(std::size_t bytes) {
  return bytes * kBitsPerByte / kBaud * 1000;
}

void BM_BatchOf50(benchmark::State& state) {
  for (auto _ : state) {
    BatchRig rig({});
    if (!rig.connected()) return state.SkipWithError("no pseudo-terminal");
    for (int n = 0; n < kCommands; ++n) {
      rig.buffer.RecordCommand(19000 + n, "246802#AP1:+491701" + std::to_string(100000 + n) + "!#");
    }
    rig.setup.Refresh(true);

    const auto start = TaskLoop::Clock::now();
    if (!rig.setup.Start(false) || !rig.RunBatch(120s)) return state.SkipWithError("no end");
    const Ms total = TaskLoop::Clock::now() - start;
    state.SetIterationTime(total.count() / 1000);
    if (rig.setup.run().Summary() != "50 of 50 commands succeeded" ||
        rig.bursts.size() != kCommands || rig.port.writes.size() != kCommands) {
      return state.SkipWithError(rig.setup.run().Summary().c_str());
    }

    // Where each command's time goes, from the write to the next write.
    Ms floor{0}, logger{0}, tick{0}, hand_over{0};
    for (int n = 0; n < kCommands; ++n) {
      const auto& write = rig.port.writes[n];
      const auto& burst = rig.bursts[n];
      floor += Ms(WireMs(write.bytes.size() + burst.size)) + kBurstFraming + kPause;
      logger += burst.at - write.at - kBurstFraming;
      tick += rig.results[n].at - burst.at;
      const auto next = n + 1 < kCommands ? rig.port.writes[n + 1].at : TaskLoop::Clock::now();
      hand_over += next - rig.results[n].at - kPause;
    }
    state.counters["total_ms"] = total.count();
    state.counters["floor_ms"] = floor.count();
    state.counters["above_floor_per_command_ms"] = (total - floor).count() / kCommands;
    state.counters["logger_past_framing_ms"] = logger.count() / kCommands;
    state.counters["tick_wait_ms"] = tick.count() / kCommands;
    state.counters["hand_over_ms"] = hand_over.count() / kCommands;
    state.counters["wire_ms"] = (floor - kCommands * (kBurstFraming + kPause)).count() / kCommands;
  }
}
BENCHMARK(BM_BatchOf50)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vexa::testing
