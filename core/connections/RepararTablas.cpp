#include "core/connections/RepararTablas.h"

#include "core/connections/Conexiones.h"
#include "core/connections/NombresBaseDatos.h"
#include "core/startup/Configuracion.h"
#include "platform/IniFile.h"
#include "platform/Paths.h"
#include "platform/StringList.h"
#include "platform/data/Table.h"

void RepararTablas(TfGENEINIC& servicios, const Table* tabla, const QString& error, QObject*) {
  if (!EsParadox() || !tabla) return;
  const QString mayusculas = error.toUpper();
  if (!mayusculas.contains(QLatin1String("INDEX")) && !mayusculas.contains(QLatin1String("CORRUPT"))) return;

  const QString seccion = QStringLiteral("Reconstrucción Automática de Tablas");
  const QString clave = QStringLiteral("Tablas");
  IniFile ini(ArchivoINI);
  StringList tablas;
  tablas.SetSorted(true);
  tablas.SetIgnoreDuplicates(true);
  for (const QString& entrada : ini.ReadString(seccion, clave, QString()).split(u','))
    if (!entrada.isEmpty()) tablas.Add(entrada);
  tablas.Add(Paths::Join(NombreBaseDatosEmpresa(servicios, EmpresaActual), tabla->TableName()));
  ini.WriteString(seccion, clave, tablas.Lines().join(u',') + u',');
}
