#include "CorrecteurPID.h"

#include <cstdint>

#include "AccesRobot.h"
#include "PaquetsDemandes.h"

int puls;
int lastPuls;
int deltaPuls;
int temps;
int lastTemps;
int deltaTemps;
int frequence;
long error;

namespace {
constexpr int kP = 1;
constexpr int kI = 0;
constexpr int kD = 0;
// Wide enough that hours of accumulated error cannot overflow it.
long errSum;
int lastError;
}  // namespace

int CalculFrequence()
{
    dataSensor table[64];
    accesRobot.lireCapteurs(table);
    puls = static_cast<int>(ValeurPaquet(table, paquetCodeurGauche));
    temps = accesRobot.horloge();
    deltaTemps = temps - lastTemps;
    // Two measurements within the same millisecond tell nothing new: keep the last speed
    // and the last reference, so the next interval covers both.
    if (deltaTemps == 0) return frequence;
    // The counter wraps at 65536; between two measurements a wheel moves far less than
    // half of that, so the shortest signed difference is the travel.
    deltaPuls = static_cast<std::int16_t>(static_cast<std::uint16_t>(puls - lastPuls));
    frequence = deltaPuls * 500 / deltaTemps;
    lastPuls = puls;
    lastTemps = temps;
    return frequence;
}

int CorrecteurPID(int error)
{
    errSum = errSum + error;
    const int errDif = error - lastError;
    lastError = error;
    const int P = error * kP;
    const long I = errSum * kI;
    const int D = errDif * kD;
    return static_cast<int>(P + I + D);
}

void CommandeMoteur(int consigne)
{
    error = static_cast<long>(consigne - frequence * 3.1416 / 124);
    const int u = CorrecteurPID(static_cast<int>(error));
    accesRobot.piloter(0, 17 * u);
}
