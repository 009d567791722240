#include "core/connections/VariablesConexion.h"

int SesionBDE = 0;
QString ServidorSQL;
QString IntercalacionTraduccion;
QString VersionServidorSQL;

void ResetVariablesConexion() {
  SesionBDE = 0;
  ServidorSQL.clear();
  IntercalacionTraduccion.clear();
  VersionServidorSQL.clear();
}
