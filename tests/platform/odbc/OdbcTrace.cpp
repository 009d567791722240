#include "tests/platform/odbc/OdbcTrace.h"

#include <QFile>
#include <QRegularExpression>

namespace OdbcTrace {

namespace {

QStringList entries(const QString& traceFile) {
  QFile file(traceFile);
  if (!file.open(QIODevice::ReadOnly)) return {};
  QStringList records = QString::fromUtf8(file.readAll()).split(u"[ODBC]"_qs);
  records.removeIf([](const QString& record) { return !record.contains(u"Entry:"_qs); });
  return records;
}

QStringList captured(const QStringList& records, const QRegularExpression& pattern) {
  QStringList found;
  for (const QString& record : records)
    if (const QRegularExpressionMatch match = pattern.match(record); match.hasMatch()) found << match.captured(1);
  return found;
}

}  // namespace

QStringList Calls(const QString& traceFile, const QString& function) {
  QStringList calls = entries(traceFile);
  calls.removeIf([&](const QString& record) { return !record.contains(u"["_qs + function + u".c]"_qs); });
  return calls;
}

QStringList BoundSqlTypes(const QString& traceFile) {
  static const QRegularExpression sqlType(u"SQL Type = -?\\d+ (\\w+)"_qs);
  return captured(Calls(traceFile, u"SQLBindParameter"_qs), sqlType);
}

QStringList StatementTexts(const QString& traceFile) {
  static const QRegularExpression text(u"\\[(?:SQLExecDirect|SQLPrepare)\\.c\\].*\\n\\s*SQL = \\[(.*)\\]\\[length = "_qs,
                                       QRegularExpression::DotMatchesEverythingOption |
                                           QRegularExpression::InvertedGreedinessOption);
  return captured(entries(traceFile), text);
}

}  // namespace OdbcTrace
