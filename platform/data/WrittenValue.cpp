#include "platform/data/WrittenValue.h"

#include <QByteArray>

#include <cmath>

namespace WrittenValue {

Affinity AffinityOf(const QString& declaredType) {
  const QString type = declaredType.toUpper();
  if (type.trimmed() == u"ANY") return Affinity::Unknown;
  if (type.contains(u"INT")) return Affinity::Integer;
  if (type.contains(u"CHAR") || type.contains(u"CLOB") || type.contains(u"TEXT")) return Affinity::Text;
  if (type.contains(u"BLOB") || type.trimmed().isEmpty()) return Affinity::Blob;
  if (type.contains(u"REAL") || type.contains(u"FLOA") || type.contains(u"DOUB")) return Affinity::Real;
  return Affinity::Numeric;
}

namespace {

// A text the engine cannot take for a number, which a numeric affinity
// therefore keeps as text: one character that no number is written with.
bool surelyNotANumber(const QString& text) {
  for (const QChar c : text) {
    const char16_t u = c.unicode();
    const bool numeral = (u >= u'0' && u <= u'9') || u == u'+' || u == u'-' || u == u'.' || u == u'e' ||
                         u == u'E' || u == u' ' || (u >= u'\t' && u <= u'\r');
    if (!numeral) return true;
  }
  return false;
}

// The largest magnitude below which every whole number is exact as a double.
constexpr double kExactWhole = 9007199254740992.0;  // 2^53

std::optional<QVariant> fromWhole(qint64 value, Affinity affinity) {
  if (affinity == Affinity::Integer || affinity == Affinity::Numeric || affinity == Affinity::Blob)
    return QVariant(value);
  return std::nullopt;
}

std::optional<QVariant> fromDouble(double value, Affinity affinity) {
  if (!std::isfinite(value)) return std::nullopt;
  switch (affinity) {
    case Affinity::Integer:
    case Affinity::Numeric:
      // A whole number becomes an integer where it fits one.
      if (std::trunc(value) != value) return QVariant(value);
      if (std::fabs(value) < kExactWhole) return QVariant(static_cast<qint64>(value));
      return std::nullopt;
    case Affinity::Real:
      // A whole number is kept as an integer and read back as a double: a
      // negative zero comes back as zero.
      return QVariant(value == 0 ? 0.0 : value);
    default:
      return std::nullopt;
  }
}

std::optional<QVariant> fromText(const QString& text, Affinity affinity) {
  // An empty text and one that UTF-8 cannot carry as it is are read back
  // otherwise than written.
  if (text.isEmpty() || !QStringView(text).isValidUtf16()) return std::nullopt;
  switch (affinity) {
    case Affinity::Text:
    case Affinity::Blob:
      return QVariant(text);
    case Affinity::Integer:
    case Affinity::Numeric:
    case Affinity::Real:
      if (surelyNotANumber(text)) return QVariant(text);
      return std::nullopt;
    default:
      return std::nullopt;
  }
}

}  // namespace

std::optional<QVariant> AsRead(const QVariant& bound, Affinity affinity, bool required) {
  if (affinity == Affinity::Unknown) return std::nullopt;
  // A NULL the column refuses may be replaced by its default.
  if (bound.isNull()) return required ? std::nullopt : std::optional<QVariant>(QVariant());
  switch (bound.typeId()) {
    case QMetaType::Int:
    case QMetaType::LongLong:
      return fromWhole(bound.toLongLong(), affinity);
    case QMetaType::Double:
      return fromDouble(bound.toDouble(), affinity);
    case QMetaType::QString:
      return fromText(*static_cast<const QString*>(bound.constData()), affinity);
    case QMetaType::QByteArray:
      if (bound.toByteArray().isEmpty()) return std::nullopt;
      return QVariant(bound.toByteArray());
    default:
      return std::nullopt;
  }
}

}  // namespace WrittenValue
