#pragma once

// True once a key is pending or a stop signal has come: the run is to end.
bool ArretDemande();
