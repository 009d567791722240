#include "maintenance/SentenciasConversion.h"

#include "core/helpers/LiteralesSQL.h"
#include "core/startup/Configuracion.h"

namespace {

constexpr int kNText = 99;
constexpr int kNVarChar = 231;
constexpr int kNChar = 239;

bool EsUnicode(int tipo) { return tipo == kNText || tipo == kNVarChar || tipo == kNChar; }

QString Literal(const QString& texto, bool unicode) { return (unicode ? QStringLiteral("N") : QString()) + LiteralSQL(texto); }

// LIKE's wildcards between brackets, so the pattern finds the text itself.
QString Contiene(const QString& texto) {
  QString patron;
  for (const QChar c : texto) {
    if (c == u'%' || c == u'_' || c == u'[')
      patron += u'[' + c + u']';
    else
      patron += c;
  }
  return u'%' + patron + u'%';
}

QString TipoConversion(int tipo, bool version2000) {
  if (EsUnicode(tipo)) return version2000 ? QStringLiteral("NVARCHAR(4000)") : QStringLiteral("NVARCHAR(MAX)");
  return version2000 ? QStringLiteral("VARCHAR(8000)") : QStringLiteral("VARCHAR(MAX)");
}

}  // namespace

QString ClausulaIntercalacion(const QString& intercalacion) {
  QString sensible = intercalacion;
  qsizetype i = sensible.indexOf(QLatin1String("_CI"));
  if (i >= 0) sensible.replace(i, 3, QStringLiteral("_CS"));
  i = sensible.indexOf(QLatin1String("_AI"));
  if (i >= 0) sensible.replace(i, 3, QStringLiteral("_AS"));
  return QStringLiteral("COLLATE ") + sensible;
}

QString SentenciaBasesDatos(const QString& modo) {
  QString sql = QStringLiteral("USE master SELECT name FROM sysdatabases ");
  if (modo == u"Aplicacion")
    sql += QStringLiteral("  WHERE name LIKE ") + LiteralSQL(AliasBaseDatosEmpresa + u'%') +
           QStringLiteral("     OR name = ") + LiteralSQL(AliasBaseDatosGeneral);
  return sql;
}

QString SentenciaColumnasTexto(const QString& baseDatos, const QString& tabla) {
  return QStringLiteral("USE ") + NombreSQL(baseDatos) + QStringLiteral("; ") + QStringLiteral("SELECT O.Name, C.Name, C.xtype ") +
         QStringLiteral("  FROM SYSCOLUMNS C JOIN SYSOBJECTS O ") + QStringLiteral("       ON C.id = O.id ") +
         QStringLiteral("  WHERE O.name = ") + LiteralSQL(tabla) +
         QStringLiteral("    AND C.xtype IN (167, 35, 99, 175, 231, 239)") + QStringLiteral("  ORDER BY C.colid");
}

QString SentenciaSustitucion(const QString& baseDatos, const ColumnaTexto& columna, const ParEquivalencia& par,
                             const ServidorConversion& servidor) {
  const bool unicode = EsUnicode(columna.tipo);
  const QString clausula = ClausulaIntercalacion(servidor.intercalacion);
  const QString c = NombreSQL(columna.nombre);
  QString sql = QStringLiteral("USE ") + NombreSQL(baseDatos) + QStringLiteral(" UPDATE ") + NombreSQL(columna.tabla) +
                QStringLiteral("  SET ") + c + QStringLiteral(" = ") + QStringLiteral("       REPLACE(CAST (") + c +
                QStringLiteral(" AS ") + TipoConversion(columna.tipo, servidor.version2000) + QStringLiteral("), ") +
                Literal(par.anterior, unicode) + u' ' + clausula + QStringLiteral(", ") + Literal(par.nuevo, unicode) +
                QStringLiteral(") ") + QStringLiteral("  WHERE ") + c + QStringLiteral(" LIKE ") +
                Literal(Contiene(par.anterior), unicode) + u' ' + clausula;
  if (servidor.version2000) sql += QStringLiteral(" AND DATALENGTH(") + c + QStringLiteral(") <= 8000");
  return sql;
}
