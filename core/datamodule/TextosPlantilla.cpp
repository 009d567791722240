#include "core/datamodule/TextosPlantilla.h"

#include "core/helpers/LiteralesSQL.h"
#include "core/helpers/Valores.h"
#include "core/services/RutinasBusqueda.h"
#include "core/services/VisorAgregarDatos.h"
#include "core/sql/EjecucionSQL.h"
#include "platform/StringList.h"

namespace {

const QString kCRLF = QStringLiteral("\r\n");

QString columnaTexto(const QString& columna, const QString& codigo) {
  return EjecutarSQL(u"SELECT "_qs + columna + u" FROM TEXTO WHERE Codigo = "_qs + LiteralSQL(codigo),
                     QStringLiteral("Database"));
}

}  // namespace

QString TextoPlantilla(const QString& codigo) {
  QString elegido = codigo;
  QString texto = codigo.isEmpty() ? QString() : columnaTexto(QStringLiteral("Texto"), codigo);
  if (texto.isEmpty()) {
    elegido = VarianteATexto(BuscarDatoPorDefecto(QStringLiteral("TEXTO"), 0, QString(), codigo));
    if (elegido.isEmpty()) return {};
    texto = columnaTexto(QStringLiteral("Texto"), elegido);
  }
  if (columnaTexto(QStringLiteral("Tipo"), elegido) == u"Plantilla") return RellenarPlantilla(elegido);
  return texto;
}

QString RellenarPlantilla(const QString& codigo) {
  StringList lineas;
  lineas.SetText(columnaTexto(QStringLiteral("Texto"), codigo));
  QString definiciones;
  for (const QString& linea : lineas.Lines()) definiciones += linea.section(u':', 0, 0) + u",ftString,100;"_qs;
  const QString opciones = u"Titulo="_qs + columnaTexto(QStringLiteral("Descripcion"), codigo) + kCRLF +
                           u"DefinicionCampos="_qs + definiciones + kCRLF + u"Opciones=RespetarNombresCampos"_qs +
                           kCRLF;
  StringList respuestas;
  respuestas.SetText(VisorAgregarDatos(opciones, QString()));
  QString resultado;
  for (QString linea : respuestas.Lines()) {
    const qsizetype igual = linea.indexOf(u'=');
    if (linea == u"=")
      linea.clear();
    else if (igual >= 0)
      linea.replace(igual, 1, QStringLiteral(": "));
    resultado += linea + kCRLF;
  }
  return resultado;
}
