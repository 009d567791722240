#include "printing/ImpresoraPredeterminada.h"

void CambiarImpresoraPredeterminada(const QString&) {}
