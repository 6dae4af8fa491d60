#include "world/SimulationRun.h"

void PrepareRun(RobotSimulation& sim, const InferenceTable& table)
{
    constexpr double kHeadingUp = 1.5707963267948966;
    SetUsualRobot(sim, table);
    sim.GenerateArena(10.0, 12);
    sim.SetPose(sim.width / 2, sim.height / 2, kHeadingUp, 0.0);
    sim.distance = 0.0;
    sim.collisions = 0;
}

void SetUsualRobot(RobotSimulation& sim, const InferenceTable& table)
{
    // Neither the arena nor the pose depends on the controller: setting it before them
    // changes nothing of a run.
    sim.SetGeometry(15.0, 10.0, 5.0);
    sim.SetController(table.angles, table.speeds, 60.0, true, 15.0, 20.0);
}

bool RunPass(RobotSimulation& sim, const PassDrawing& drawing)
{
    sim.Step();
    const bool wasColliding = sim.UpdateCollision();
    if (drawing.robot) sim.DrawRobot(wasColliding && drawing.collidingHighlighted);
    sim.Sense(drawing.beams);
    sim.ComputeCommand();
    return wasColliding;
}

cv::Mat ComposeFrame(const RobotSimulation& sim)
{
    cv::Mat frame;
    cv::bitwise_and(sim.canvas, sim.arena, frame);
    return frame;
}
