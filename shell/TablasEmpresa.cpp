#include "shell/TablasEmpresa.h"

#include "core/tables/NombresTablas.h"

QStringList TablasParaElegir(const QStringList& nombres) {
  QStringList tablas;
  for (const QString& nombre : nombres)
    if (!nombre.contains(QStringLiteral("INFORMATION_SCHEMA"), Qt::CaseInsensitive))
      tablas.append(QuitarPrefijoTabla(nombre));
  tablas.sort(Qt::CaseInsensitive);
  return tablas;
}
