// A batch of 50 setup commands against the simulated logger, through a relay
// that paces every byte at 9600 baud 8N1, with the window's 100 ms command
// timer, compared with its wire floor: the wire time of every byte and the
// 10 ms pause after each result. The simulated logger's own answer delay is
// measured at the relay and shown apart.
#include <benchmark/benchmark.h>

#include <numeric>

#include "relay.h"
#include "support/batch_rig.h"

namespace vexa::testing {
namespace {

using namespace std::chrono_literals;
using Ms = std::chrono::duration<double, std::milli>;

constexpr int kCommands = 50;
constexpr double kBitsPerByte = 10;
constexpr unsigned kBaud = 9600;
constexpr Ms kPause = BatchWorker::kPauseAfterResult;

double WireMs(std::size_t bytes) {
  return bytes * kBitsPerByte / kBaud * 1000;
}

void BM_BatchOf50(benchmark::State& state) {
  for (auto _ : state) {
    BatchRig rig({});
    if (!rig.simulator) return state.SkipWithError("no pseudo-terminal");
    rig.serial_port.ClosePort();  // the relay goes in between
    bench::Relay relay(rig.simulator->slave_path(), kBaud);
    if (rig.serial_port.InitPort(relay.program_path(), kBaud) != 1 ||
        rig.serial_port.OpenPort() != 1) {
      return state.SkipWithError("no relay");
    }
    for (int n = 0; n < kCommands; ++n) {
      rig.buffer.RecordCommand(19000 + n, "246802#AP1:+491701" + std::to_string(100000 + n) + "!#");
    }
    rig.setup.Refresh(true);
    // Each command's answer delay is in once the next command goes out.
    Ms logger{0};
    rig.port.before_write = [&](int number) {
      if (number > 0) logger += relay.answer_delay();
    };

    const auto start = TaskLoop::Clock::now();
    if (!rig.setup.Start(false) || !rig.RunBatch(120s)) return state.SkipWithError("no end");
    const Ms total = TaskLoop::Clock::now() - start;
    logger += relay.answer_delay();
    state.SetIterationTime(total.count() / 1000);
    if (rig.setup.run().Summary() != "50 of 50 commands succeeded" ||
        rig.bursts.size() != kCommands || rig.port.writes.size() != kCommands) {
      return state.SkipWithError(rig.setup.run().Summary().c_str());
    }

    // Where each command's time goes, from the write to the next write.
    Ms wire{0}, hand_over{0}, next_write{0};
    for (int n = 0; n < kCommands; ++n) {
      const auto& write = rig.port.writes[n];
      const auto& burst = rig.bursts[n];
      wire += Ms(WireMs(write.bytes.size() + burst.size));
      hand_over += burst.at - write.at;
      const auto next = n + 1 < kCommands ? rig.port.writes[n + 1].at : TaskLoop::Clock::now();
      next_write += next - rig.results[n].at;
    }
    const Ms floor = wire + kCommands * kPause;
    state.counters["total_ms"] = total.count();
    state.counters["wire_floor_ms"] = floor.count();
    state.counters["per_command_ms"] = total.count() / kCommands;
    state.counters["above_wire_floor_per_command_ms"] = (total - floor).count() / kCommands;
    state.counters["logger_per_command_ms"] = logger.count() / kCommands;
    state.counters["above_floor_and_logger_per_command_ms"] =
        (total - floor - logger).count() / kCommands;
    state.counters["write_to_hand_over_ms"] = hand_over.count() / kCommands;
    state.counters["result_to_next_write_ms"] = next_write.count() / kCommands;
  }
}
BENCHMARK(BM_BatchOf50)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vexa::testing
