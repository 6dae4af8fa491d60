#include "ReceptionTrames.h"

#include "LectureID.h"

#include <cstring>

void RecevoirOctets(FrameReassembler& reassembler, const unsigned char* bytes, int count, void (*trameAcceptee)(),
                    CompteursTrames& compteurs)
{
    const unsigned long ecartesAvant = reassembler.DroppedBytes();
    const unsigned long refuseesAvant = reassembler.RefusedCandidates();
    auto prendre = [&](const unsigned char* trame, int longueur) {
        std::memcpy(RxBuffer, trame, static_cast<size_t>(longueur));
        if (VerifChecksum() != 0 || !EcritureDesIDsDansTableDonnees()) return false;
        ++compteurs.acceptees;
        if (trameAcceptee) trameAcceptee();
        return true;
    };
    do {
        const int pris = reassembler.Push(bytes, count);
        bytes += pris;
        count -= pris;
        reassembler.Drain(prendre, DebutDeTrameAttendue);
    } while (count > 0);
    compteurs.octetsEcartes += reassembler.DroppedBytes() - ecartesAvant;
    compteurs.refusees += reassembler.RefusedCandidates() - refuseesAvant;
}
