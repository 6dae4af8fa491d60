#include "AccesRobot.h"

#include "ArretDemande.h"
#include "iRobotSpecification.h"
#include "thread.h"

namespace {
bool AttendreLectureRX(int millisecondes)
{
    return hEvent_RX.WaitFor(millisecondes);
}

int AgeDerniereTrameRX()
{
    const int derniere = CompteursReception().derniereTrameMs;
    return derniere < 0 ? -1 : HorlogeMs() - derniere;
}
}  // namespace

AccesRobot AccesRobotReel()
{
    return AccesRobot{LireTableDonnees, AttendreLectureRX, DrivePWM, HorlogeMs, ArretDemande, AgeDerniereTrameRX};
}

AccesRobot accesRobot = AccesRobotReel();
