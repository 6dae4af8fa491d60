#pragma once

// True once a key, a stop signal or a suspension is pending, or standard output can no
// longer be written: the manoeuvre under way is to end with the wheels stopped.
bool ArretDemande();
