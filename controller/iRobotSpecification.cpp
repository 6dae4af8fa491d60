#include "iRobotSpecification.h"

#include "LectureID.h"
#include "RS232.h"

#include <atomic>

unsigned char TxBuffer[1024];
int nBytes_TX = 0;
unsigned nBytesWritten = 0;

namespace {

std::atomic<unsigned> commandesNonEnvoyees{0};

void Envoyer(int nBytes) {
    nBytes_TX = nBytes;
    int ecrits = 0;
    if (!WriteCOM(TxBuffer, nBytes, &ecrits)) ++commandesNonEnvoyees;
    nBytesWritten = static_cast<unsigned>(ecrits);
}

// High byte first, in 16-bit two's complement: -1 gives 0xFF 0xFF, 255 gives 0x00 0xFF.
void EcrireMot(unsigned char* destination, long valeur) {
    long octetBas = valeur & 0xFF;
    destination[0] = static_cast<unsigned char>((valeur - octetBas) / 256);
    destination[1] = static_cast<unsigned char>(octetBas);
}

}  // namespace

void InitRobot() {
    TxBuffer[0] = 128;
    TxBuffer[1] = 131;
    Envoyer(2);
}

void DrivePWM(long RightPWM, long LeftPWM) {
    TxBuffer[0] = 146;
    EcrireMot(TxBuffer + 1, RightPWM);
    EcrireMot(TxBuffer + 3, LeftPWM);
    Envoyer(5);
}

void Motors(int SensBrosse, int SensBalais, int MarcheBrosse, int MarcheAspiration, int MarcheBalais) {
    auto octet = [](int v) { return static_cast<int>(static_cast<signed char>(v)); };
    int bits = 16 * octet(SensBrosse) + 8 * octet(SensBalais) + 4 * octet(MarcheBrosse) +
               2 * octet(MarcheAspiration) + octet(MarcheBalais);
    TxBuffer[0] = 138;
    TxBuffer[1] = static_cast<unsigned char>(bits);
    Envoyer(2);
}

unsigned Stream(unsigned NombreDePaquets, unsigned* ID) {
    // The count travels in one byte: a longer list would reach the robot as a short
    // request followed by ids that it would take for commands.
    if (NombreDePaquets > 255) return 0;
    TxBuffer[0] = 148;
    TxBuffer[1] = static_cast<unsigned char>(NombreDePaquets);
    unsigned longueur = NombreDePaquets + 3;
    for (unsigned i = 0; i < NombreDePaquets; ++i) {
        TxBuffer[2 + i] = static_cast<unsigned char>(ID[i]);
        if (ID[i] < 64) longueur += static_cast<unsigned>(tabData[ID[i]].nBytes);
    }
    Envoyer(static_cast<int>(NombreDePaquets) + 2);
    nombreBytes_RX = longueur;
    return longueur;
}

void StreamMarcheArret(unsigned d) {
    TxBuffer[0] = 150;
    TxBuffer[1] = static_cast<unsigned char>(d);
    Envoyer(2);
}

unsigned CommandesNonEnvoyees() {
    return commandesNonEnvoyees.load();
}
