#pragma once
#include <opencv2/core.hpp>

#include "world/BeamClearance.h"
#include "world/BeamVectors.h"
#include "world/FuzzyInference.h"
#include "world/InferenceTable.h"
#include "world/OffsetTurns.h"
#include "world/RandomState.h"

// The side of the square world that every front end runs, in pixels: the desktop
// program, the runner, the tuner and the table files' ramp all assume this one.
inline constexpr int kWorldSize = 256;

// The whole simulated world: images, robot, sensors, controller and run counters.
// Images keep row 0 = y 0 (bottom of the picture); whoever shows them flips vertically.
class RobotSimulation {
public:
    // Allocates the three images (contents undefined until GenerateArena/DrawRobot)
    // and seeds rng from the tick counter.
    RobotSimulation(int width, int height);
    ~RobotSimulation();
    RobotSimulation(const RobotSimulation&) = delete;
    RobotSimulation& operator=(const RobotSimulation&) = delete;

    // Arena and collision map; needs SetGeometry first.
    void GenerateArena(double polygonRadius, int obstacleCount);

    // Robot model.
    void SetGeometry(double wheelBase, double bodyWidth, double wheelLength);
    void SetPose(double x, double y, double heading, double steer);
    void Step();
    void DrawRobot(bool highlighted);

    // Range sensors. colour is (blue, green, red).
    double CastRay(double direction, double originX, double originY, const cv::Vec3b& colour, bool draw);
    // Without painting, beams stop as soon as they can no longer be their sector's
    // shortest and the highlight beams are not cast: the same distances, sooner.
    void Sense(bool draw);
    // Every beam marched to its end, as a painted frame needs: the reference the early
    // stop is tested and measured against.
    void SenseEveryBeamToItsEnd(bool draw);

    // Fuzzy steering.
    void SetController(const double* tableAngles, const double* tableSpeeds, double beamsPerSector, bool rampFromRadius,
                       double lowerBound, double upperBound);
    static double FarMembership(double distance, double lower, double upper);
    // Infers from sectorDistance, keeps the reasoning in `inference`, sets speed and steer.
    void ComputeCommand();

    // The collision test of one pass: true when the centre's freeMap pixel is blocked;
    // a centre outside the image counts as blocked and nothing outside is read.
    bool IsCenterBlocked() const;
    // Updates inCollision and collisions for one pass. Returns true when the robot was
    // already in collision when the pass began (the passes that shake), false otherwise.
    bool UpdateCollision();

    // True when (x, y) lies on a pixel of the images; NaN lies nowhere.
    bool IsInsideImage(double x, double y) const;

    // Fields, in their declared order.
    cv::Mat canvas;   // CV_8UC3 frame: robot, beams; ANDed with arena for display
    cv::Mat arena;    // CV_8UC3 obstacle picture; blue byte 255 = free floor
    cv::Mat freeMap;  // CV_8UC1 collision map: 255 free, 0 blocked
    int width;
    int height;
    // Handle of the window carrying the run loop's timer. The desktop program owns its
    // timer and stops it itself, so the world never sets or uses it.
    void* timerWindow = nullptr;
    int inCollision = 0;
    bool paused = false;
    bool showBeams = false;
    double centerX = 0, centerY = 0;
    int collisions = 0;
    double distance = 0;
    double frontX = 0, frontY = 0;
    double steer = 0;
    double speed = 0;
    double rearX = 0, rearY = 0;
    double heading = 0;
    double forwardSpeed = 0;
    double wheelBase = 0;
    double bodyWidth = 0;
    double wheelLength = 0;
    double radius = 0;
    double nearDistance = 0, farDistance = 0;
    double angles[InferenceTable::kSituations] = {};
    double speeds[InferenceTable::kSituations] = {};
    double sectorDistance[3] = {};
    // Each sector's shortest beam in the last Sense, counted in casting order (on equal
    // distances the first). Sense without painting casts it first; it changes no result.
    int shortestBeam[3] = {};
    // How Sense without painting marches its beams; the same distances whatever it is.
    BeamVectors beamVectors = DefaultBeamVectors();
    // What lets Sense without painting dismiss a beam unmarched; built with the arena.
    // Whoever changes the arena's pixels otherwise must build it again or clear it.
    BeamClearance beamClearance;
    // Its beams' directions, kept for the beam count last sensed with.
    OffsetTurns offsetTurns;
    // Beam positions the sensors have reached since the world was made, each beam's
    // counted apart: the work a march does, for the benchmarks.
    long long beamPositionsReached = 0;
    double raysPerSector = 0;
    RandomState rng;
    // The reasoning behind the current command, as ComputeCommand last inferred it.
    FuzzyInference inference;
};
