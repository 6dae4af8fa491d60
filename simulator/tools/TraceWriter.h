#pragma once
#include <fstream>
#include <string>

#include "RobotSimulation.h"

// The per-pass CSV trace of a run: a header, then one row per pass taken after the
// pass's command was computed. Failures surface as std::runtime_error with the path.
class TraceWriter {
public:
    static constexpr const char* kHeader =
        "pass,centerX,centerY,heading,steer,speed,left,front,right,collisions,distance";

    explicit TraceWriter(const std::string& path);
    void Row(long long pass, const RobotSimulation& sim);
    // Flushes and closes; throws when anything written did not reach the file.
    void Finish();

private:
    void Check();

    std::string path_;
    std::ofstream file_;
};
