#include "iRobotSpecification.h"

#include "LectureID.h"
#include "OpenInterface.h"
#include "RS232.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>

unsigned char TxBuffer[1024];
int nBytes_TX = 0;
unsigned nBytesWritten = 0;

namespace {

std::atomic<unsigned> commandesNonEnvoyees{0};
// A lost line fails every command in a row: one message when the failures begin, not
// one per command, and a new one if they begin again after a command got through.
bool enEchec = false;

bool Envoyer(int nBytes)
{
    nBytes_TX = nBytes;
    int ecrits = 0;
    const bool envoye = WriteCOM(TxBuffer, nBytes, &ecrits) != 0;
    const int raison = errno;
    nBytesWritten = static_cast<unsigned>(ecrits);
    if (envoye) {
        enEchec = false;
        return true;
    }
    ++commandesNonEnvoyees;
    if (!enEchec) {
        std::fprintf(stderr, "\nCommande %u non envoyée au robot : %s\n", TxBuffer[0],
                     ecrits > 0 ? "écrite en partie" : std::strerror(raison));
        enEchec = true;
    }
    return false;
}

// High byte first, in 16-bit two's complement: -1 gives 0xFF 0xFF, 255 gives 0x00 0xFF.
void EcrireMot(unsigned char* destination, long valeur)
{
    long octetBas = valeur & 0xFF;
    destination[0] = static_cast<unsigned char>((valeur - octetBas) / 256);
    destination[1] = static_cast<unsigned char>(octetBas);
}

}  // namespace

void InitRobot()
{
    TxBuffer[0] = oi::opcode::Start;
    TxBuffer[1] = oi::opcode::Safe;
    Envoyer(2);
}

bool RetourModePassif()
{
    TxBuffer[0] = oi::opcode::Start;
    return Envoyer(1);
}

bool DrivePWM(long RightPWM, long LeftPWM)
{
    TxBuffer[0] = oi::opcode::DrivePwm;
    EcrireMot(TxBuffer + 1, RightPWM);
    EcrireMot(TxBuffer + 3, LeftPWM);
    return Envoyer(5);
}

void Motors(int SensBrosse, int SensBalais, int MarcheBrosse, int MarcheAspiration, int MarcheBalais)
{
    auto octet = [](int v) { return static_cast<int>(static_cast<signed char>(v)); };
    int bits = 16 * octet(SensBrosse) + 8 * octet(SensBalais) + 4 * octet(MarcheBrosse) + 2 * octet(MarcheAspiration) +
               octet(MarcheBalais);
    TxBuffer[0] = oi::opcode::Motors;
    TxBuffer[1] = static_cast<unsigned char>(bits);
    Envoyer(2);
}

unsigned Stream(unsigned NombreDePaquets, const unsigned* ID)
{
    // The count travels in one byte: a longer list would reach the robot as a short
    // request followed by ids that it would take for commands.
    if (NombreDePaquets > 255) return 0;
    TxBuffer[0] = oi::opcode::Stream;
    TxBuffer[1] = static_cast<unsigned char>(NombreDePaquets);
    unsigned longueur = NombreDePaquets + 3;
    for (unsigned i = 0; i < NombreDePaquets; ++i) {
        TxBuffer[2 + i] = static_cast<unsigned char>(ID[i]);
        if (ID[i] < 64) longueur += static_cast<unsigned>(tabData[ID[i]].nBytes);
    }
    // A frame's count byte would wrap: the robot refuses such a request.
    if (longueur - 3 > static_cast<unsigned>(oi::kLongestPayload)) return 0;
    FixerDispositionTrame(ID, NombreDePaquets);
    Envoyer(static_cast<int>(NombreDePaquets) + 2);
    nombreBytes_RX = longueur;
    return longueur;
}

bool StreamMarcheArret(unsigned d)
{
    TxBuffer[0] = oi::opcode::PauseResumeStream;
    TxBuffer[1] = static_cast<unsigned char>(d);
    return Envoyer(2);
}

unsigned CommandesNonEnvoyees()
{
    return commandesNonEnvoyees.load();
}
