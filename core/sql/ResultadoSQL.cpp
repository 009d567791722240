#include "core/sql/ResultadoSQL.h"

#include "core/helpers/Listas.h"
#include "core/helpers/Textos.h"
#include "platform/data/Dataset.h"
#include "platform/data/Field.h"

#include <exception>

namespace {

const QString kCRLF = QStringLiteral("\r\n");
const QChar kSeparadorINI = QChar(0xB7);  // "·"

bool esMemo(const Field& campo) { return campo.DataType() == ftMemo || campo.DataType() == ftFmtMemo; }

bool esRowguid(const Field& campo) { return campo.FieldName().compare(u"rowguid", Qt::CaseInsensitive) == 0; }

// A memo that cannot be read is left out.
QString valor(const Field& campo, const FormatoResultadoSQL& formato, bool unaColumna) {
  if (formato.rowguidVacio && esRowguid(campo)) return {};
  if (!esMemo(campo)) return campo.AsString();
  try {
    QString texto = campo.AsString();
    if (!unaColumna || formato.formatoINI) texto.replace(kCRLF, formato.delimitadorMemo);
    return texto;
  } catch (const std::exception&) {
    return {};
  }
}

}  // namespace

FormatoResultadoSQL FormatoResultadoSQL::DeOpciones(const QString& opciones, bool motorBDE) {
  FormatoResultadoSQL formato;
  if (opciones.contains(QLatin1String("DelimitadorCRLFMemo"))) {
    QString lineas = opciones;
    lineas.replace(u',', kCRLF);
    const QString delimitador = ValorLista(QStringLiteral("DelimitadorCRLFMemo"), lineas);
    if (!delimitador.isEmpty()) formato.delimitadorMemo = delimitador;
  }
  formato.formatoINI = motorBDE && opciones.contains(QLatin1String("FormatoINI"));
  formato.rowguidVacio = motorBDE;
  formato.conservarUltimoCRLF = opciones.contains(QLatin1String("NoEliminarUltimoCRLF"));
  return formato;
}

QString TextoResultadoSQL(Dataset& consulta, const FormatoResultadoSQL& formato) {
  QString resultado;
  const bool unaColumna = consulta.FieldCount() == 1;
  for (consulta.First(); !consulta.Eof(); consulta.Next()) {
    QStringList columnas;
    for (int i = 0; i < consulta.FieldCount(); ++i) {
      const Field& campo = consulta.Fields(i);
      const QString texto = valor(campo, formato, unaColumna);
      columnas.append(formato.formatoINI ? campo.FieldName() + u'=' + texto : texto);
    }
    resultado += columnas.join(formato.formatoINI ? QString(kSeparadorINI) : QStringLiteral("|")) + kCRLF;
  }
  return formato.conservarUltimoCRLF ? resultado : QuitarCRLFFinal(resultado);
}
