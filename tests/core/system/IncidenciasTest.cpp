#include "core/datamodule/Genemodu.h"
#include "core/startup/Configuracion.h"
#include "core/system/Incidencias.h"

#include <gtest/gtest.h>

TEST(CapturarIncidencia, HandsTheIncidentToTheTraceHookUnlessTheLevelIsNinguno) {
  QStringList vistos;
  InstalarObservadorTraza([&](const QString& texto, const QString& detalle, const QVariant& extra) {
    vistos << texto + u'|' + detalle + u'|' + extra.toString();
  });
  for (const char* nivel : {"Minimo", "Maximo", "", "Ninguno"}) {
    NivelCapturaIncidencias = QLatin1String(nivel);
    CapturarIncidencia(QStringLiteral("Traspaso de Datos desde Paradox/Interbase.\r\n") + QLatin1String(nivel));
  }
  CapturarIncidencia(QStringLiteral("no"), QStringLiteral("detalle"), 7);
  NivelCapturaIncidencias = QStringLiteral("Minimo");
  CapturarIncidencia(QStringLiteral("texto"), QStringLiteral("detalle"), 7);
  EXPECT_EQ(vistos, QStringList({"Traspaso de Datos desde Paradox/Interbase.\r\nMinimo||",
                                 "Traspaso de Datos desde Paradox/Interbase.\r\nMaximo||",
                                 "Traspaso de Datos desde Paradox/Interbase.\r\n||", "texto|detalle|7"}));
}
