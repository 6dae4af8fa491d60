#pragma once

// Ctrl-C, SIGTERM and a lost terminal (SIGHUP) ask for the same orderly stop as a key,
// so the robot is never left driving.
void InstallerSignauxArret();
bool ArretSignale();
