// vexa-t apply of a configuration file with 50 settings against the simulated
// logger, through a relay that paces every byte at 9600 baud 8N1, compared
// with the floor of the batch benchmark: the wire time of every byte and the
// 10 ms pause after each result. The program's start, its phone book and
// file loading are inside the total, as a script sees them.
#include <benchmark/benchmark.h>

#include <ctime>

#include "batch/batch_worker.h"
#include "batch/config_file.h"
#include "relay.h"
#include "sim/simulator_session.h"
#include "support/file_bytes.h"
#include "support/run_program.h"
#include "support/temp_dir.h"

namespace vexa {
namespace {

using Ms = std::chrono::duration<double, std::milli>;

constexpr int kCommands = 50;
constexpr unsigned kBaud = 9600;

// 50 alarm phone settings under codes of their own, every one "Ready".
std::string FileOf50() {
  std::vector<BatchRow> rows;
  for (int n = 0; n < kCommands; ++n) {
    rows.push_back({.number = std::to_string(n + 1),
                    .status = "",
                    .command = "246802#AP1:+491701" + std::to_string(100000 + n) + "!#",
                    .code = 19000 + n,
                    .object = "Alarm Phone1",
                    .parameters = "",
                    .checked = true});
  }
  return ConfigFileText(rows, std::time(nullptr));
}

void Apply(benchmark::State& state, bool verify) {
  for (auto _ : state) {
    const TempDir folder;
    WriteBytes(folder.File("addressbook.xml"), ReadBytes(DEMO_PHONE_BOOK));
    WriteBytes(folder.File("fifty.cfg"), FileOf50());
    auto simulator = sim::SimulatorSession::Start({});
    if (!simulator) return state.SkipWithError("no pseudo-terminal");
    bench::Relay relay(simulator->slave_path(), kBaud);
    std::vector<std::string> arguments = {
        "--book", folder.File("addressbook.xml"), "--port", relay.program_path(), "--id", "41",
        "apply",  folder.File("fifty.cfg")};
    if (!verify) arguments.push_back("--no-verify");

    const auto start = bench::Relay::Clock::now();
    const ProgramRun run = RunProgram(VEXA_T_PROGRAM, arguments, {}, 120);
    const Ms total = bench::Relay::Clock::now() - start;
    state.SetIterationTime(total.count() / 1000);
    if (run.exit_status != 0) return state.SkipWithError(run.err.c_str());

    const Ms wire(relay.bytes() * 10.0 / kBaud * 1000);
    const Ms floor = wire + kCommands * Ms(BatchWorker::kPauseAfterResult);
    state.counters["total_ms"] = total.count();
    state.counters["wire_floor_ms"] = floor.count();
    state.counters["per_command_ms"] = total.count() / kCommands;
    state.counters["above_wire_floor_per_command_ms"] = (total - floor).count() / kCommands;
  }
}

void BM_VexaTApplyOf50(benchmark::State& state) {
  Apply(state, false);
}
void BM_VexaTApplyOf50WithVerify(benchmark::State& state) {
  Apply(state, true);
}
BENCHMARK(BM_VexaTApplyOf50)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_VexaTApplyOf50WithVerify)
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vexa
