#include "AccesRobot.h"

#include "ArretDemande.h"
#include "iRobotSpecification.h"
#include "thread.h"

namespace {
bool AttendreLectureRX(int millisecondes) { return hEvent_RX.WaitFor(millisecondes); }
}  // namespace

AccesRobot AccesRobotReel() {
    return AccesRobot{LireTableDonnees, AttendreLectureRX, DrivePWM, HorlogeMs, ArretDemande};
}

AccesRobot accesRobot = AccesRobotReel();
