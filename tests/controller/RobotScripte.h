#pragma once
#include <cstring>
#include <utility>
#include <vector>

#include "AccesRobot.h"
#include "LectureID.h"

// A robot played from a script through the behaviour's access to the link: each read pass
// delivers the next pair of encoder counts, the clock advances by one stream period per
// pass, and every Drive PWM command is recorded. No port, no thread. Each read pass
// stands for an accepted frame.
class RobotScripte {
public:
    static constexpr int periodeMs = 15;

    RobotScripte()
    {
        courant = this;
        accesRobot = AccesRobot{Lire, Attendre, Piloter, Horloge, Arret, Age};
    }
    ~RobotScripte()
    {
        accesRobot = AccesRobotReel();
        courant = nullptr;
    }

    void FixerPaquet(int id, unsigned valeur)
    {
        table_[id].nBytes = 2;
        table_[id].data[0] = static_cast<unsigned char>(valeur >> 8);
        table_[id].data[1] = static_cast<unsigned char>(valeur & 0xFF);
    }
    void FixerOctet(int id, unsigned char valeur)
    {
        table_[id].nBytes = 1;
        table_[id].data[0] = valeur;
    }
    // Counts (right, left) of the following read passes; after the last one the counts
    // stay where they are, as with a stalled robot.
    void Codeurs(std::vector<std::pair<unsigned, unsigned>> lectures) { lectures_ = std::move(lectures); }
    // Read passes after which a key is pending (-1: never).
    void ToucheApres(int passes) { toucheApres_ = passes; }
    // Read passes after which nothing more arrives, not even an empty pass (0: from the start).
    void SilencieuxApres(int passes) { silencieuxApres_ = passes; }

    const std::vector<std::pair<long, long>>& Commandes() const { return commandes_; }
    int Passes() const { return passes_; }
    int Maintenant() const { return horloge_; }
    void Avancer(int ms) { horloge_ += ms; }

private:
    static inline RobotScripte* courant = nullptr;

    static void Lire(dataSensor copie[64]) { std::memcpy(copie, courant->table_, sizeof courant->table_); }
    static bool Attendre(int ms)
    {
        RobotScripte& r = *courant;
        if (r.silencieuxApres_ >= 0 && r.passes_ >= r.silencieuxApres_) {
            r.horloge_ += ms;
            return false;
        }
        r.horloge_ += periodeMs;
        r.derniereLecture_ = r.horloge_;
        if (r.passes_ < static_cast<int>(r.lectures_.size())) {
            r.FixerPaquet(44, r.lectures_[r.passes_].first);
            r.FixerPaquet(43, r.lectures_[r.passes_].second);
        }
        r.passes_++;
        return true;
    }
    static bool Piloter(long droite, long gauche)
    {
        courant->commandes_.emplace_back(droite, gauche);
        return true;
    }
    static int Age() { return courant->derniereLecture_ < 0 ? -1 : courant->horloge_ - courant->derniereLecture_; }
    static int Horloge() { return courant->horloge_; }
    static bool Arret() { return courant->toucheApres_ >= 0 && courant->passes_ >= courant->toucheApres_; }

    dataSensor table_[64] = {};
    std::vector<std::pair<unsigned, unsigned>> lectures_;
    std::vector<std::pair<long, long>> commandes_;
    int passes_ = 0;
    int horloge_ = 1000;
    int derniereLecture_ = -1;
    int toucheApres_ = -1;
    int silencieuxApres_ = -1;
};
