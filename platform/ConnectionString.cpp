#include "platform/ConnectionString.h"

namespace ConnectionString {

QString Quoted(const QString& value) {
  const bool quotes = value.contains(u'"') || value.contains(u'\'');
  if (!quotes && !value.contains(u';') && value == value.trimmed()) return value;
  const QChar quote = value.contains(u'"') && !value.contains(u'\'') ? u'\'' : u'"';
  QString inner = value;
  inner.replace(quote, QString(2, quote));
  return quote + inner + quote;
}

QList<QPair<QString, QString>> Pairs(const QString& text) {
  QList<QPair<QString, QString>> pairs;
  qsizetype at = 0;
  while (at < text.size()) {
    const qsizetype equals = text.indexOf(u'=', at);
    const qsizetype semicolon = text.indexOf(u';', at);
    if (equals < 0 || (semicolon >= 0 && semicolon < equals)) {  // a part without a value
      if (semicolon < 0) break;
      at = semicolon + 1;
      continue;
    }
    const QString name = text.mid(at, equals - at).trimmed();
    qsizetype start = equals + 1;
    while (start < text.size() && text[start] == u' ') ++start;
    QString value;
    if (start < text.size() && (text[start] == u'"' || text[start] == u'\'')) {
      const QChar quote = text[start];
      qsizetype i = start + 1;
      for (; i < text.size(); ++i) {
        if (text[i] != quote) {
          value += text[i];
        } else if (i + 1 < text.size() && text[i + 1] == quote) {
          value += quote;
          ++i;
        } else {
          break;
        }
      }
      at = text.indexOf(u';', i);
    } else {
      at = text.indexOf(u';', start);
      value = text.mid(start, at < 0 ? -1 : at - start).trimmed();
    }
    pairs.append({name, value});
    if (at < 0) break;
    ++at;
  }
  return pairs;
}

}  // namespace ConnectionString
