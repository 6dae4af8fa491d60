// What a simulated second of Trundel costs in trundel-tune: the controller's decision code
// driving the emulated body, frame by frame, with the shipped hand-written table in each
// shipped room. The counter speedup is simulated time over the processor time it took:
// the target is 200 per core.
#include "FichierTableSituations.h"
#include "RoomFile.h"
#include "SimulatedDrive.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

void Drive(benchmark::State& state, const char* roomName)
{
    emulator::RoomDescription room;
    TableSituations table{};
    std::string error;
    if (!emulator::ReadRoomFile(std::string(TRUNDEL_ROOMS "/") + roomName, room, error) ||
        !LireTableSituations(TRUNDEL_TABLES "/trundel-evitement.txt", table, error)) {
        state.SkipWithError(error.c_str());
        return;
    }
    const emulator::Room furnished(room.widthMm, room.depthMm, room.furniture);
    constexpr double seconds = 60;
    double simulated = 0;
    for (auto _ : state) {
        const DriveFigures figures = SimulateDrive(table, furnished, room.start, seconds);
        benchmark::DoNotOptimize(figures.tally.distanceMm);
        simulated += figures.tally.seconds;
    }
    state.counters["simulated_s"] = benchmark::Counter(simulated, benchmark::Counter::kIsRate);
}
BENCHMARK_CAPTURE(Drive, living_room, "living-room.txt")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Drive, corridor, "corridor.txt")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Drive, chair_legs, "chair-legs.txt")->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
