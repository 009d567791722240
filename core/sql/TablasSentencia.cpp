#include "core/sql/TablasSentencia.h"

#include "core/connections/CreacionTablas.h"
#include "core/datamodule/Genemodu.h"
#include "core/helpers/Textos.h"
#include "core/sql/BaseDatosSQL.h"
#include "core/startup/Configuracion.h"
#include "platform/data/Table.h"

bool CrearTablasDeSentencia(const QString& sql, const QString& baseDatos, bool* todasPresentes) {
  QString texto = sql;
  texto.replace(QLatin1String("\r\n"), QLatin1String(" "));
  const QString separador = CaracterNoUsado(texto);
  for (const char* palabra : {"DELETE FROM ", "FROM ", "JOIN ", "UPDATE ", " INTO "})
    texto.replace(QLatin1String(palabra), separador);

  // The statement runs again when any of its tables was created: the others
  // existed already, or another name stood for the same table.
  bool nombrada = false;
  bool creada = false;
  bool todas = true;
  for (int pieza = 1;; ++pieza) {
    const QString nombre = ExtraerElemento(0, ExtraerElemento(pieza, texto, separador), QStringLiteral(" "));
    if (nombre.isEmpty()) break;
    Table tabla(ModuloDatos);
    tabla.SetTableName(nombre);
    tabla.SetDatabaseName(u'?' + BaseDatosBDE(baseDatos));
    nombrada = true;
    const bool hecha = CrearTablaInexistente(tabla, QString(), EmpresaActual);
    creada = creada || hecha;
    todas = todas && (hecha || ExisteTabla(tabla));
  }
  if (todasPresentes) *todasPresentes = todas;
  return !nombrada || creada;
}
