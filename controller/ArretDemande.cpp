#include "ArretDemande.h"

#include <cstdio>

#include "Clavier.h"
#include "SignauxArret.h"

bool ArretDemande() { return ArretSignale() || SuspensionDemandee() || ToucheAppuyee() || std::ferror(stdout); }
