#pragma once
#include <QtGlobal>

// Held while the application object connects to its display. Qt aborts when no display
// can be reached (no DISPLAY over ssh or in a package build, an X server gone); under
// this guard the user gets one French line instead and the program ends with code 1.
// Qt's other messages of that moment are held back and passed on once the connection
// is made, so a working start says exactly what it said before.
class DisplayConnectionGuard {
public:
    DisplayConnectionGuard();
    ~DisplayConnectionGuard();
    DisplayConnectionGuard(const DisplayConnectionGuard&) = delete;
    DisplayConnectionGuard& operator=(const DisplayConnectionGuard&) = delete;
};
