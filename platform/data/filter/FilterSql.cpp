#include "platform/data/filter/FilterSql.h"

#include "platform/data/FieldComparison.h"

namespace {

// The engine parses an expression no deeper than a thousand levels and
// binds a bounded number of values, and its parser's stack overflows past
// some two dozen nested ANDs and ORs: longer or deeper filters are left to
// the dataset.
constexpr int kMostNodes = 200;
constexpr int kDeepest = 16;

QLatin1String symbolOf(FilterComparison comparison) {
  switch (comparison) {
    case FilterComparison::Equal:
      return QLatin1String("=");
    case FilterComparison::NotEqual:
      return QLatin1String("<>");
    case FilterComparison::Less:
      return QLatin1String("<");
    case FilterComparison::Greater:
      return QLatin1String(">");
    case FilterComparison::LessOrEqual:
      return QLatin1String("<=");
    case FilterComparison::GreaterOrEqual:
      return QLatin1String(">=");
  }
  return QLatin1String("=");
}

}  // namespace

// As the field reads it: a double, whole numbers rounded alike.
QString FilterSqlWriter::number(const Field& field) const {
  if (FieldComparison::KindOf(field) != FieldComparison::Kind::Number) return QString();
  const QString column = columnOf_(field);
  return column.isEmpty() ? QString() : QStringLiteral("CAST(%1 AS REAL)").arg(column);
}

bool FilterSqlWriter::counted() { return ++nodes_ <= kMostNodes; }

bool FilterSqlWriter::entered() {
  if (!counted() || depth_ >= kDeepest) return false;
  ++depth_;
  return true;
}

// A NULL on either side gives NULL, taken as no. Where nothing negates it,
// ANDs and ORs of comparisons come out true exactly where the same with
// no for NULL do, and the engine's WHERE takes NULL as no: the no is
// spelled out under NOT only.
void FilterSqlWriter::writeComparison(const QString& comparison) {
  written_.text += negations_ > 0 ? QStringLiteral("IFNULL(%1, 0)").arg(comparison) : comparison;
}

bool FilterSqlWriter::Compare(const Field& field, FilterComparison comparison, double constant) {
  const QString value = number(field);
  if (value.isEmpty() || !counted()) return false;
  writeComparison(QStringLiteral("%1 %2 ?").arg(value, symbolOf(comparison)));
  written_.arguments.append(constant);
  return true;
}

bool FilterSqlWriter::Compare(const Field& left, FilterComparison comparison, const Field& right) {
  const QString a = number(left);
  const QString b = number(right);
  if (a.isEmpty() || b.isEmpty() || !counted()) return false;
  writeComparison(QStringLiteral("%1 %2 %3").arg(a, symbolOf(comparison), b));
  return true;
}

bool FilterSqlWriter::Not(const FilterCondition& operand) {
  if (!entered()) return false;
  written_.text += QStringLiteral("NOT (");
  ++negations_;
  const bool written = operand.WriteSql(*this);
  --negations_;
  --depth_;
  written_.text += u')';
  return written;
}

bool FilterSqlWriter::Junction(const std::vector<std::unique_ptr<FilterCondition>>& operands, bool all) {
  if (!entered()) return false;
  written_.text += u'(';
  bool written = true;
  for (std::size_t i = 0; written && i < operands.size(); ++i) {
    if (i > 0) written_.text += all ? QStringLiteral(" AND ") : QStringLiteral(" OR ");
    written = operands[i]->WriteSql(*this);
  }
  --depth_;
  written_.text += u')';
  return written;
}
