#include "ReceptionTrames.h"

#include "LectureID.h"

void RecevoirOctets(FrameReassembler& reassembler, const unsigned char* bytes, int count,
                    void (*trameAcceptee)(), CompteursTrames& compteurs) {
    const unsigned long ecartesAvant = reassembler.DroppedBytes();
    while (count > 0) {
        const int pris = reassembler.Push(bytes, count);
        bytes += pris;
        count -= pris;
        while (reassembler.NextCandidate(RxBuffer) > 0) {
            if (VerifChecksum() == 0 && EcritureDesIDsDansTableDonnees()) {
                reassembler.Consume();
                ++compteurs.acceptees;
                if (trameAcceptee) trameAcceptee();
            } else {
                reassembler.SkipHeader();
                ++compteurs.refusees;
            }
        }
    }
    compteurs.octetsEcartes += reassembler.DroppedBytes() - ecartesAvant;
}
