// What one 15 ms frame of the emulated body costs, in the bare room and in each shipped
// one: a step, then the six light bumps read through their cones. Simulation faster than
// real time is bounded by it: a frame in 75 us is 200 times real time.
#include "RobotBody.h"
#include "RoomFile.h"

#include <benchmark/benchmark.h>

#include <random>
#include <string>

namespace {

void Frames(benchmark::State& state, const emulator::Room& room, const emulator::Pose& start)
{
    emulator::RobotBody body(room, start);
    std::mt19937 random(3);
    std::uniform_int_distribution<int> duty(-255, 255);
    long frame = 0;
    for (auto _ : state) {
        if (frame++ % 40 == 0) body.SetDuties(duty(random), duty(random));
        body.Step(0.015);
        benchmark::DoNotOptimize(body.LightSignals());
    }
    state.counters["contacts"] = body.Tally().contacts;
}

void BareRoom(benchmark::State& state)
{
    Frames(state, emulator::Room(3000, 3000), emulator::Pose{1500, 1500, 90});
}
BENCHMARK(BareRoom);

void ShippedRoom(benchmark::State& state, const char* name)
{
    emulator::RoomDescription room;
    std::string error;
    if (!emulator::ReadRoomFile(std::string(TRUNDEL_ROOMS "/") + name, room, error)) {
        state.SkipWithError(error.c_str());
        return;
    }
    Frames(state, emulator::Room(room.widthMm, room.depthMm, room.furniture), room.start);
}
BENCHMARK_CAPTURE(ShippedRoom, living_room, "living-room.txt");
BENCHMARK_CAPTURE(ShippedRoom, corridor, "corridor.txt");
BENCHMARK_CAPTURE(ShippedRoom, chair_legs, "chair-legs.txt");

}  // namespace
