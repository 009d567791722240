#include "printing/CondicionesListado.h"

#include "core/helpers/LiteralesSQL.h"
#include "core/helpers/Numeros.h"
#include "platform/Exceptions.h"
#include "platform/Variant.h"
#include "platform/format/Format.h"
#include "platform/sql/NombresSQL.h"
#include "platform/sql/SqlError.h"
#include "platform/sql/SqlTokenizer.h"

const char* const kFiltroNoPermitido = "el filtro sale de su condición";

namespace {

bool EsFecha(const QString& tipo) { return tipo == u"ftDate" || tipo == u"ftDateTime"; }

QString FechaComoTexto(const QString& valor, const QString& formatoFecha) {
  return FormatDateTime(formatoFecha, StrToDate(valor));
}

// A memo may hold any condition, but only inside the group it is put in.
bool CondicionCerrada(const QString& memo) {
  std::vector<SqlToken> tokens;
  try {
    tokens = TokenizeSql(memo);
  } catch (const SqlError&) {
    return false;
  }
  int abiertos = 0;
  for (const SqlToken& token : tokens) {
    if (token.Is(SqlTokenKind::Comment) || token.Is(SqlTokenKind::Semicolon)) return false;
    if (token.Is(SqlTokenKind::Open)) ++abiertos;
    if (token.Is(SqlTokenKind::Close) && --abiertos < 0) return false;
  }
  return abiertos == 0;
}

}  // namespace

QString CondicionFiltro(const CampoFiltrable& campo, const QString& operador, QString& valor,
                        const QString& formatoFecha) {
  QString literal;
  if (EsFecha(campo.tipo)) {
    literal = FechaComoTexto(valor, formatoFecha);
  } else if (campo.tipo == u"ftFloat") {
    if (valor.contains(u'.') && !valor.contains(u',')) valor[valor.indexOf(u'.')] = u',';
    literal = ValorSQL(Variant::Double(TextoAFlotante(valor)));
  } else {
    literal = valor;
  }
  return u'(' + NombreSQL(campo.nombre) + u' ' + operador + u' ' + LiteralSQL(literal) + u')';
}

QStringList AgregarCondicion(QStringList lineas, const QString& condicion) {
  if (!lineas.isEmpty()) lineas.last() += QStringLiteral(" AND");
  lineas.append(condicion);
  return lineas;
}

QString CondicionRangos(const std::vector<RangoCampo>& rangos, const QString& formatoFecha) {
  QString condicion;
  const auto agregar = [&](const RangoCampo& rango, const QString& valor, QLatin1String operador) {
    if (valor.isEmpty()) return;
    const QString literal = EsFecha(rango.campo.tipo) ? FechaComoTexto(valor, formatoFecha) : valor;
    condicion += QStringLiteral(" AND (") + NombreSQL(rango.campo.nombre) + operador + LiteralSQL(literal) + u')';
  };
  for (const RangoCampo& rango : rangos) {
    agregar(rango, rango.desde, QLatin1String(" >= "));
    agregar(rango, rango.hasta, QLatin1String(" <= "));
  }
  if (condicion.isEmpty()) return condicion;
  return u'(' + condicion.mid(5) + u')';
}

QString CondicionListado(const QString& memo, const QString& rangos) {
  if (memo.isEmpty()) return rangos;
  if (!CondicionCerrada(memo)) throw Exception(QString::fromUtf8(kFiltroNoPermitido));
  const QString condicion = u'(' + memo + u')';
  return rangos.isEmpty() ? condicion : condicion + QStringLiteral(" AND ") + rangos;
}
