#include "platform/data/filter/FilterSql.h"

#include "platform/data/FieldComparison.h"
#include "platform/sql/Collation.h"

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

// Under the collation the program compares text with; where case counts,
// texts are equal only when they are the same.
QString collated(FieldComparison::TextCase textCase) {
  return textCase == FieldComparison::TextCase::Insensitive
             ? QStringLiteral(" COLLATE \"%1\"").arg(Collation::kDefaultName)
             : QStringLiteral(" COLLATE BINARY");
}

// Where case counts, an order also looks at the case of texts the
// collation takes as equal, which no collation of the engine does.
bool writable(FilterComparison comparison, FieldComparison::TextCase textCase) {
  return textCase == FieldComparison::TextCase::Insensitive || comparison == FilterComparison::Equal ||
         comparison == FilterComparison::NotEqual;
}

}  // namespace

// As the field reads it: a double, whole numbers rounded alike.
QString FilterSqlWriter::number(const Field& field) const {
  if (FieldComparison::KindOf(field) != FieldComparison::Kind::Number) return QString();
  const QString column = columnOf_(field);
  return column.isEmpty() ? QString() : QStringLiteral("CAST(%1 AS REAL)").arg(column);
}

// As stored, where it is text: its field reads it as it is.
QString FilterSqlWriter::text(const Field& field) {
  if (FieldComparison::KindOf(field) != FieldComparison::Kind::Text) return QString();
  const QString column = columnOf_(field);
  if (!column.isEmpty() && !written_.textColumns.contains(column)) written_.textColumns.append(column);
  return column;
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

bool FilterSqlWriter::Compare(const Field& left, FilterComparison comparison, const Field& right, TextCase textCase) {
  if (FieldComparison::KindOf(left) == FieldComparison::Kind::Text &&
      FieldComparison::KindOf(right) == FieldComparison::Kind::Text) {
    if (!writable(comparison, textCase)) return false;
    const QString a = text(left);
    const QString b = text(right);
    if (a.isEmpty() || b.isEmpty() || !counted()) return false;
    writeComparison(a + u' ' + symbolOf(comparison) + u' ' + b + collated(textCase));
    return true;
  }
  const QString a = number(left);
  const QString b = number(right);
  if (a.isEmpty() || b.isEmpty() || !counted()) return false;
  writeComparison(QStringLiteral("%1 %2 %3").arg(a, symbolOf(comparison), b));
  return true;
}

// A lone surrogate would reach the engine as another character.
bool FilterSqlWriter::CompareText(const Field& field, FilterComparison comparison, const QString& constant,
                                  TextCase textCase) {
  if (!writable(comparison, textCase) || !constant.isValidUtf16()) return false;
  const QString value = text(field);
  if (value.isEmpty() || !counted()) return false;
  writeComparison(value + u' ' + symbolOf(comparison) + QLatin1String(" ?") + collated(textCase));
  written_.arguments.append(constant);
  return true;
}

// The text's first characters, as many as the prefix has, compared with it:
// none where the text is shorter.
bool FilterSqlWriter::StartsWith(const Field& field, bool equal, const QString& prefix, TextCase textCase) {
  if (!prefix.isValidUtf16()) return false;
  const QString value = text(field);
  if (value.isEmpty() || !counted()) return false;
  const qsizetype characters = prefix.toUcs4().size();
  const QString length = QString::number(characters);
  writeComparison((equal ? QString() : QStringLiteral("NOT ")) + QLatin1String("(length(") + value +
                  QLatin1String(") >= ") + length + QLatin1String(" AND substr(") + value + QLatin1String(", 1, ") +
                  length + QLatin1String(") = ?") + collated(textCase) + u')');
  written_.arguments.append(prefix);
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
