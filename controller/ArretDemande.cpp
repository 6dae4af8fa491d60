#include "ArretDemande.h"

#include "Clavier.h"
#include "SignauxArret.h"

bool ArretDemande() { return ArretSignale() || ToucheAppuyee(); }
