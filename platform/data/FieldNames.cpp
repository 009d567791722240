#include "platform/data/FieldNames.h"

std::size_t FieldNameHash::operator()(const QString& name) const noexcept {
  // FNV-1a over the code points folded as the comparison folds them.
  std::size_t hash = 14695981039346656037ULL;
  const qsizetype size = name.size();
  const QChar* units = name.constData();
  for (qsizetype i = 0; i < size; ++i) {
    char32_t point = units[i].unicode();
    if (point >= u'A' && point <= u'Z') {
      point += u'a' - u'A';
    } else if (point >= 0x80) {
      if (units[i].isHighSurrogate() && i + 1 < size && units[i + 1].isLowSurrogate()) {
        point = QChar::surrogateToUcs4(units[i], units[i + 1]);
        ++i;
      }
      point = QChar::toCaseFolded(point);
    }
    hash = (hash ^ point) * 1099511628211ULL;
  }
  return hash;
}
