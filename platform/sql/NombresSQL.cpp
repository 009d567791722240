#include "platform/sql/NombresSQL.h"

#include "platform/sql/ReservedWords.h"

#include <QStringList>

#include <algorithm>

bool NombreSQLCorriente(const QString& nombre) {
  const auto corriente = [](QChar c) { return c.isLetter() || c.isDigit() || c == u'_'; };
  return !nombre.isEmpty() && (nombre.front().isLetter() || nombre.front() == u'_') &&
         std::all_of(nombre.begin(), nombre.end(), corriente);
}

namespace {

// Interbase reads a name unquoted only where every letter of it is ASCII.
bool todoAscii(const QString& nombre) {
  return std::all_of(nombre.begin(), nombre.end(), [](QChar c) { return c.unicode() < 0x80; });
}

}  // namespace

QString NombreSQL(const QString& nombre, FormaNombreSQL forma) {
  const bool corriente = NombreSQLCorriente(nombre) && (forma != FormaNombreSQL::Comillas || todoAscii(nombre));
  if (forma != FormaNombreSQL::SiempreCorchetes && corriente && !IsReservedWord(nombre)) return nombre;
  const QChar abre = forma == FormaNombreSQL::Comillas ? u'"' : u'[';
  const QChar cierra = forma == FormaNombreSQL::Comillas ? u'"' : u']';
  QString doblado = nombre;
  return abre + doblado.replace(cierra, QString(2, cierra)) + cierra;
}

QString NombreSQLTabla(const QString& tabla, FormaNombreSQL forma) {
  const qsizetype punto = tabla.lastIndexOf(u'.');
  if (punto > 0) {
    const QStringList duenos = tabla.left(punto).split(u'.');
    if (std::all_of(duenos.begin(), duenos.end(), [](const QString& d) { return !d.isEmpty() && NombreSQL(d) == d; }))
      return tabla.left(punto + 1) + NombreSQL(tabla.mid(punto + 1), forma);
  }
  return NombreSQL(tabla, forma);
}

bool NombreObjetoSQLValido(const QString& nombre, QStringView separadores) {
  if (nombre.trimmed().isEmpty() || nombre.size() > kLongitudMaximaNombreSQL) return false;
  return std::none_of(nombre.begin(), nombre.end(),
                      [&](QChar c) { return c.category() == QChar::Other_Control || separadores.contains(c); });
}
