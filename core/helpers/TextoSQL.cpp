#include "core/helpers/TextoSQL.h"

#include "core/helpers/Textos.h"

namespace {

bool EndsField(QChar c) { return c == u' ' || c == u'(' || c == u')' || c == u'\r' || c == u'\n'; }

struct EmptyComparison {
  QLatin1String original;
  QLatin1String mark;  // same length, so positions hold
  QLatin1String widened;
};

const EmptyComparison Comparisons[] = {
    {QLatin1String(" = ''"), QLatin1String(" = $$"), QLatin1String(" = '' OR %1 IS NULL)")},
    {QLatin1String(" <> ''"), QLatin1String(" <> $$"), QLatin1String(" <> '' AND %1 IS NOT NULL)")},
};

}  // namespace

QString NombreTablaSQL(const QString& sql) {
  QString text = sql;
  text.replace(QLatin1String("\r\n"), QLatin1String(" "));
  text = text.trimmed().replace(QLatin1String(" FROM "), QLatin1String("|")).trimmed();
  // Blanks right after the FROM do not hide the table.
  const QString afterFrom = ExtraerElemento(1, text, QStringLiteral("|")).trimmed();
  return ExtraerElemento(0, afterFrom, QStringLiteral(" ")).trimmed().toUpper();
}

QString AmpliarComparacionesVacias(const QString& sql) {
  if (!sql.contains(Comparisons[0].original) && !sql.contains(Comparisons[1].original)) return sql;
  QString copy = sql;
  for (const EmptyComparison& comparison : Comparisons) copy.replace(comparison.original, comparison.mark);
  const qsizetype where = copy.toUpper().indexOf(QLatin1String("WHERE"));
  if (where < 0) return sql;
  for (bool changed = true; changed;) {
    changed = false;
    for (const EmptyComparison& comparison : Comparisons) {
      const qsizetype mark = copy.indexOf(comparison.mark);
      if (mark <= where) continue;
      qsizetype start = mark;
      while (start > 0 && !EndsField(copy[start - 1])) --start;
      const QString field = copy.mid(start, mark - start);
      if (field.isEmpty()) return sql;
      copy.replace(start, mark + comparison.mark.size() - start,
                   u'(' + field + QString(comparison.widened).arg(field));
      changed = true;
    }
  }
  for (const EmptyComparison& comparison : Comparisons) copy.replace(comparison.mark, comparison.original);
  return copy;
}
