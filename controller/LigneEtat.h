#pragma once

// On a terminal, one line rewritten in place: what the robot reports (mode, battery),
// what the controller makes of it (the three groups, the winning situation, the command)
// and how the link fares. Elsewhere (a pipe, a file) nothing, so logs stay clean.
class LigneEtat {
public:
    LigneEtat();
    // After each inference; rewrites the line at most ten times a second.
    void Actualiser();

private:
    bool terminal_;
    int derniereMs_ = -1;
    unsigned long acceptees_ = 0;
};
