#include "CommandeRobot.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <optional>

#include "AccesRobot.h"
#include "PaquetsDemandes.h"
#include "VariablesFloues.h"

long RigthPWM;
long LeftPWM;
long InitPulsRight;
long InitPulsLeft;
long NbPulsRight;
long NbPulsLeft;
float thetaUn;
float thetaDeux;
float thetaTrois;
float KRight;
float KLeft;

namespace {
constexpr long tourCompteur = 65536;
// Short waits keep a key or a stop signal noticed quickly while the robot is silent.
constexpr int attenteMaxMs = 50;

// Turn calibration, measured on the robot: an encoder count moves a wheel by
// courseParImpulsion travel units, and a travel difference of one unit between the
// wheels turns the robot by degresParEcartDeCourse degrees (about 0.11 degree of turn
// per count of difference). Two factors rather than their product: each product is
// rounded to a float on its own, and the turn estimate depends on that rounding.
constexpr double courseParImpulsion = 0.726;
constexpr double degresParEcartDeCourse = 0.1522;

// Speed coefficient ramps, in travel units of one wheel ahead of the other: full speed up
// to ecartPleineVitesse, none from ecartArret on, falling in between by one unit of
// coefficient per penteCoefficient travel units. The ramp starts at coefficientDepart,
// not 1, so that it meets full speed (0.9997) at its inner bound.
constexpr int ecartPleineVitesse = 20;
constexpr int ecartArret = 170;
constexpr int penteCoefficient = 150;
constexpr double coefficientDepart = 1.133;

struct Codeurs {
    long droit;
    long gauche;
    bool operator==(const Codeurs&) const = default;
};

Codeurs LireCodeurs()
{
    dataSensor table[64];
    accesRobot.lireCapteurs(table);
    return Codeurs{static_cast<long>(ValeurPaquet(table, paquetCodeurDroit)),
                   static_cast<long>(ValeurPaquet(table, paquetCodeurGauche))};
}

// Tracks when the encoders last moved, so a stalled wheel or a silent robot cannot
// keep the turn going for ever. The clock starts with the turn, before any reading.
class SurveillanceProgres {
public:
    SurveillanceProgres() : dernierMouvement_(accesRobot.horloge()) {}

    void Noter(Codeurs lus)
    {
        if (!derniers_ || !(lus == *derniers_)) {
            derniers_ = lus;
            dernierMouvement_ = accesRobot.horloge();
        }
    }
    bool Bloque() const { return accesRobot.horloge() - dernierMouvement_ >= delaiSansProgresMs; }

private:
    std::optional<Codeurs> derniers_;
    int dernierMouvement_;
};

// Waits for the reception thread's next read pass. Returns why the turn must end instead
// (a stop request or a stall), or nothing once the pass has come.
std::optional<FinCommande> AttendreLecture(const SurveillanceProgres& progres)
{
    for (;;) {
        if (accesRobot.arretDemande()) return FinCommande::ArretDemande;
        if (accesRobot.ageDerniereTrame() >= silenceArretRouesMs) return FinCommande::SansTrame;
        if (progres.Bloque()) return FinCommande::SansProgres;
        if (accesRobot.attendreLecture(attenteMaxMs)) return std::nullopt;
    }
}

// The counters roll over in the direction each wheel is driven. A negative vitesse
// reverses both wheels: taken from the sign of angle alone, a right wheel running
// backwards would read as a whole counter turn forwards and end the turn at once.
void CorrigerRetournement(long& nbPulsRight, long& nbPulsLeft)
{
    const bool droiteEnAvant = RigthPWM != 0 ? RigthPWM > 0 : angle > 0;
    if (droiteEnAvant) {
        if (nbPulsRight < InitPulsRight) nbPulsRight += tourCompteur;
        if (nbPulsLeft > InitPulsLeft) nbPulsLeft -= tourCompteur;
    } else {
        if (nbPulsRight > InitPulsRight) nbPulsRight -= tourCompteur;
        if (nbPulsLeft < InitPulsLeft) nbPulsLeft += tourCompteur;
    }
}

FinCommande Arreter(FinCommande fin)
{
    const bool arrete = accesRobot.piloter(0, 0);
    if (fin == FinCommande::SansProgres) {
        std::printf("\nRotation abandonnée : les roues n'ont pas bougé depuis %d s, %s\n", delaiSansProgresMs / 1000,
                    arrete ? "moteurs arrêtés" : "l'arrêt des moteurs n'a pas pu être envoyé");
    }
    return fin;
}
}  // namespace

FinCommande CommandeRobot()
{
    thetaUn = 0;
    thetaDeux = 0;
    thetaTrois = 0;
    if (angle == 0) {
        RigthPWM = vitesse;
        LeftPWM = vitesse;
        accesRobot.piloter(RigthPWM, LeftPWM);
        return FinCommande::Envoyee;
    }
    RigthPWM = angle > 0 ? vitesse : -vitesse;
    LeftPWM = -RigthPWM;

    // The robot may still be driving straight from the previous command while the turn
    // waits for its first reading: a stop here must still stop the wheels.
    SurveillanceProgres progres;
    if (const auto fin = AttendreLecture(progres)) return Arreter(*fin);
    const Codeurs depart = LireCodeurs();
    progres.Noter(depart);
    InitPulsRight = depart.droit;
    InitPulsLeft = depart.gauche;
    accesRobot.piloter(RigthPWM, LeftPWM);

    while (std::abs(angle) > std::fabs(thetaUn)) {
        if (const auto fin = AttendreLecture(progres)) return Arreter(*fin);
        const Codeurs lus = LireCodeurs();
        progres.Noter(lus);
        NbPulsRight = lus.droit;
        NbPulsLeft = lus.gauche;
        CorrigerRetournement(NbPulsRight, NbPulsLeft);
        thetaDeux = static_cast<float>((NbPulsRight - InitPulsRight) * courseParImpulsion);
        thetaTrois = static_cast<float>((NbPulsLeft - InitPulsLeft) * courseParImpulsion);
        const float ecart = std::fabs(thetaDeux) - std::fabs(thetaTrois);
        coefVitesseRight(ecart);
        coefVitesseLeft(ecart);
        thetaUn = static_cast<float>((thetaDeux - thetaTrois) * degresParEcartDeCourse);
    }
    return Arreter(FinCommande::Envoyee);
}

float coefVitesseRight(float deltaTeta)
{
    if (deltaTeta <= ecartPleineVitesse) {
        KRight = 1;
    } else if (deltaTeta < ecartArret) {
        KRight = coefficientDepart - deltaTeta / penteCoefficient;
    } else {
        KRight = 0;
    }
    return KRight;
}

float coefVitesseLeft(float deltaTeta)
{
    if (deltaTeta <= -ecartArret) {
        KLeft = 0;
    } else if (deltaTeta < -ecartPleineVitesse) {
        KLeft = deltaTeta / penteCoefficient + coefficientDepart;
    } else {
        // Mirror of the right wheel: full speed until the left wheel is more than ecartPleineVitesse ahead.
        KLeft = 1;
    }
    return KLeft;
}
