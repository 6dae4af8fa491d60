// How well the reception copes with a faulty line, and what it costs.
//
// ReceptionAgainstFaultyRobot runs the reception thread against the emulated robot with
// every fault injected (frames split across writes, noise with false headers, a wrong
// checksum in every fifth frame) and reports:
//   intact_accepted_pct  intact frames that reached the log, in order (target 100)
//   corrupt_logged       log lines that match no intact frame (target 0)
//   rx_cpu_pct           processor time of the reception thread per wall time (a few %)
// ReassembleStream measures the frame reassembly alone on a recorded faulty stream.
#include "EmulatedRobot.h"
#include "LectureID.h"
#include "OpenInterface.h"
#include "PaquetsDemandes.h"
#include "RS232.h"
#include "ReceptionTrames.h"
#include "iRobotSpecification.h"
#include "thread.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <random>
#include <thread>
#include <unistd.h>
#include <utility>
#include <vector>

namespace {

using Counts = std::pair<unsigned, unsigned>;

std::vector<Counts> IntactEncoders(const emulator::EmulatedRobot& robot)
{
    std::vector<Counts> counts;
    for (const auto& frame : robot.SentFrames())
        if (frame.intact)
            counts.emplace_back(frame.bytes[3] * 256u + frame.bytes[4], frame.bytes[6] * 256u + frame.bytes[7]);
    return counts;
}

std::vector<Counts> LoggedEncoders()
{
    std::vector<Counts> counts;
    std::ifstream log("Parcours_CodeBlocks.txt");
    int time = 0;
    unsigned left = 0;
    unsigned right = 0;
    while (log >> time >> left >> right) counts.emplace_back(left, right);
    return counts;
}

void ReceptionAgainstFaultyRobot(benchmark::State& state)
{
    char scratch[] = "/tmp/trundel-bench-XXXXXX";
    if (::mkdtemp(scratch) == nullptr || ::chdir(scratch) != 0) {
        state.SkipWithError("no scratch directory");
        return;
    }
    const int seconds = static_cast<int>(state.range(0));
    for (auto _ : state) {
        emulator::RobotOptions options;
        options.faults.splitFrames = true;
        options.faults.noise = true;
        options.faults.corruptEvery = 5;
        options.seed = 11;
        emulator::EmulatedRobot robot(options);
        if (!robot.Start() || !OpenCOMDevice(robot.DevicePath().c_str())) {
            state.SkipWithError("no emulated robot");
            return;
        }
        InitTableauID();
        CreateThreadsRX();
        InitRobot();
        Stream(static_cast<unsigned>(paquetsDemandes.size()), paquetsDemandes.data());
        // A slow spin keeps both encoder counts changing, so that every frame is distinct.
        DrivePWM(60, -60);
        std::this_thread::sleep_for(std::chrono::seconds(seconds));
        StreamMarcheArret(0);
        DrivePWM(0, 0);
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        ArreterThreadRX();
        const CompteursTrames counters = CompteursReception();
        CloseCOM();
        FreeThreadsRX();
        robot.Stop();

        const std::vector<Counts> intact = IntactEncoders(robot);
        const std::vector<Counts> logged = LoggedEncoders();
        std::size_t matched = 0;
        std::size_t strays = 0;
        for (const Counts& line : logged) {
            if (matched < intact.size() && line == intact[matched])
                ++matched;
            else
                ++strays;
        }
        state.counters["frames_sent"] = static_cast<double>(robot.SentFrames().size());
        state.counters["intact_sent"] = static_cast<double>(intact.size());
        state.counters["intact_accepted_pct"] = intact.empty() ? 0.0 : 100.0 * matched / intact.size();
        state.counters["corrupt_logged"] = static_cast<double>(strays);
        state.counters["refused"] = static_cast<double>(counters.refusees);
        state.counters["rx_cpu_pct"] = counters.processeurUs / (seconds * 1e6 + 2e5) * 100.0;
    }
    std::remove("Parcours_CodeBlocks.txt");
    (void)::chdir("/");
    (void)::rmdir(scratch);
}
BENCHMARK(ReceptionAgainstFaultyRobot)->Arg(5)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

// A faulty stream as it might arrive: noise, false headers, a corrupt frame in five.
std::vector<unsigned char> FaultyStream(int frames)
{
    std::mt19937 random(5);
    std::vector<unsigned char> stream;
    for (int k = 0; k < frames; ++k) {
        if (k % 3 == 0) stream.insert(stream.end(), {19, static_cast<unsigned char>(random()), 7});
        std::vector<unsigned char> frame{19, 0};
        for (unsigned id : paquetsDemandes) {
            frame.push_back(static_cast<unsigned char>(id));
            for (int i = 0; i < oi::PacketSize(static_cast<int>(id)); ++i)
                frame.push_back(static_cast<unsigned char>(random()));
        }
        frame[1] = static_cast<unsigned char>(frame.size() - 2);
        unsigned sum = 0;
        for (unsigned char b : frame) sum += b;
        frame.push_back(static_cast<unsigned char>(256 - sum % 256 + (k % 5 == 4 ? 1 : 0)));
        stream.insert(stream.end(), frame.begin(), frame.end());
    }
    return stream;
}

void ReassembleStream(benchmark::State& state)
{
    InitTableauID();
    FixerDispositionTrame(paquetsDemandes.data(), static_cast<unsigned>(paquetsDemandes.size()));
    const std::vector<unsigned char> stream = FaultyStream(1000);
    // Each accepted frame prints "\r": send those to /dev/null, not the report.
    std::fflush(stdout);
    const int console = ::dup(STDOUT_FILENO);
    const int nowhere = ::open("/dev/null", O_WRONLY);
    ::dup2(nowhere, STDOUT_FILENO);
    for (auto _ : state) {
        FrameReassembler reassembler;
        CompteursTrames counts;
        for (std::size_t at = 0; at < stream.size(); at += 128)
            RecevoirOctets(reassembler, stream.data() + at,
                           static_cast<int>(std::min<std::size_t>(128, stream.size() - at)), nullptr, counts);
        benchmark::DoNotOptimize(counts);
        state.counters["accepted"] = static_cast<double>(counts.acceptees);
    }
    std::fflush(stdout);
    ::dup2(console, STDOUT_FILENO);
    ::close(console);
    ::close(nowhere);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * stream.size()));
}
BENCHMARK(ReassembleStream);

}  // namespace

BENCHMARK_MAIN();
