#include "SimulationRun.h"

void PrepareRun(RobotSimulation& sim, const InferenceTable& table)
{
    constexpr double kHeadingUp = 1.5707963267948966;
    sim.SetGeometry(15.0, 10.0, 5.0);
    sim.GenerateArena(10.0, 12);
    sim.SetPose(sim.width / 2, sim.height / 2, kHeadingUp, 0.0);
    sim.SetController(table.angles, table.speeds, 60.0, true, 15.0, 20.0);
    sim.distance = 0.0;
    sim.collisions = 0;
}

void RunPass(RobotSimulation& sim, bool drawRobot, bool beams)
{
    sim.Step();
    sim.UpdateCollision();
    // Without a window there is no tick clock to blink by: the robot keeps its colours.
    if (drawRobot) sim.DrawRobot(false);
    sim.Sense(beams);
    sim.ComputeCommand();
}
