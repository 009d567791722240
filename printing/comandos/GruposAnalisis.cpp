#include "printing/comandos/GruposAnalisis.h"

#include "core/datamodule/GruposAnalisis.h"

#include "printing/comandos/DestinoComandos.h"
#include "printing/comandos/ValoresImpreso.h"

ConsultaGruposAnalisis& GruposAnalisisRegistro() {
  static ConsultaGruposAnalisis consulta = [](const QString& tabla, const QString& categoria, const QString& clave) {
    return GruposAnalisisRegistro(tabla, categoria, clave);
  };
  return consulta;
}

QString ValorGrupoAnalisis(DestinoComandos& destino, const QString& palabra) {
  for (const QString& definicion : destino.Ejecucion().geometria.ajustes.gruposAnalisis) {
    if (definicion.section(u';', 0, 0) != palabra) continue;
    const QString argumentos = definicion.section(u';', 1);
    const std::optional<QVariant> clave = destino.CampoFila(argumentos.section(u',', 2, 2));
    if (!GruposAnalisisRegistro()) return {};
    return GruposAnalisisRegistro()(argumentos.section(u',', 0, 0), argumentos.section(u',', 1, 1),
                                    clave ? TextoCampo(*clave) : QString());
  }
  return {};
}
