#include "shell/ConflictosBloqueo.h"

#include "core/forms/GanchosFormulario.h"
#include "core/messages/MensajeSistema.h"
#include "platform/Exceptions.h"

#include <QStringList>

namespace {

const QString kFin = QStringLiteral("\r\n");

const QString kBloqueados = QStringLiteral(
    "SELECT '    Usuario de Red:', nt_username, 'SPID', spid, 'bloqueado por SPID', blocked "
    "FROM master.dbo.sysprocesses WHERE blocked <> 0 ORDER BY nt_username, spid, blocked");

QString bloqueantes(const QString& columnas) {
  return QStringLiteral("SELECT ") + columnas +
         QStringLiteral(" FROM master.dbo.sysprocesses T1 WHERE T1.blocked = 0 AND T1.spid IN "
                        "(SELECT T2.blocked FROM master.dbo.sysprocesses T2 WHERE T2.blocked <> 0)");
}

// A failing statement's text, shown already by the data layer, ends the command.
QString consultar(const EjecucionServidor& ejecutar, const QString& sql) {
  const QString resultado = ejecutar(sql);
  if (resultado.startsWith(QLatin1String("Error."))) throw Abort();
  return resultado;
}

QString filas(QString resultado) { return resultado.replace(u'|', u' '); }

}  // namespace

QString TextoConflictosBloqueo(const QString& bloqueados, const QString& bloqueantes) {
  if (bloqueados.isEmpty()) return {};
  QString texto = QStringLiteral("Los siguientes usuarios y procesos están siendo bloqueados:") + kFin + kFin +
                  filas(bloqueados) + kFin + kFin;
  if (!bloqueantes.isEmpty())
    texto += QStringLiteral("Los siguientes usuarios y procesos son bloqueantes:") + kFin + kFin + filas(bloqueantes);
  return texto;
}

void InformacionConflictosBloqueo(const EjecucionServidor& ejecutar) {
  const QString bloqueados = consultar(ejecutar, kBloqueados);
  const QString texto = bloqueados.isEmpty()
                            ? QString()
                            : TextoConflictosBloqueo(bloqueados, consultar(ejecutar, bloqueantes(QStringLiteral(
                                                                     "'    Usuario de Red:', T1.nt_username, 'SPID', T1.spid"))));
  if (texto.isEmpty()) {
    MensajeInformacion(QStringLiteral("No hay conflictos de bloqueo actualmente."));
    return;
  }
  if (Ganchos().MostrarDetalle) Ganchos().MostrarDetalle(texto, QStringLiteral("Información de conflictos de bloqueo"), QString());
  QString respuesta;
  MensajeConfirmacion(
      QStringLiteral("¿Desea eliminar los procesos bloqueantes y de esta forma liberar a los que están bloqueados?"), respuesta);
  if (respuesta != QLatin1String("SI")) return;
  const QStringList procesos =
      consultar(ejecutar, bloqueantes(QStringLiteral("T1.spid"))).split(kFin, Qt::SkipEmptyParts);
  for (const QString& spid : procesos) consultar(ejecutar, QStringLiteral("KILL ") + spid.trimmed());
}
