#pragma once
#include <cstdio>
#include <string>

#include "common/AtomicFile.h"
#include "world/RobotSimulation.h"

// The per-pass CSV trace of a run: a header, then one row per pass taken after the
// pass's command was computed. The trace replaces an existing file only when Finish
// succeeds: a run that fails half-way leaves the previous trace as it was. Failures
// surface as std::runtime_error with the path.
class TraceWriter {
public:
    static constexpr const char* kHeader =
        "pass,centerX,centerY,heading,steer,speed,left,front,right,collisions,distance";

    explicit TraceWriter(const std::string& path);
    void Row(long long pass, const RobotSimulation& sim);
    // Puts the whole trace in place of the file; throws when it could not.
    void Finish();

private:
    void Write(const std::string& text);

    std::string m_path;
    AtomicFile m_file;
    std::FILE* m_stream;
};
