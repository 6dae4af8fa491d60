#pragma once

// Ctrl-C, Ctrl-\, SIGTERM, a lost terminal (SIGHUP) and a closed output pipe (SIGPIPE) ask
// for the same orderly stop as a key, so the robot is never left driving. Ctrl-Z asks for
// a suspension, which the main loop carries out once the wheels are stopped.
void InstallerSignauxArret();
bool ArretSignale();
bool SuspensionDemandee();
// Stops the process until SIGCONT; call with the wheels stopped and the terminal restored.
void SuspendreJusquAReprise();
