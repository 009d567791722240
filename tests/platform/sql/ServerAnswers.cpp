#include "tests/platform/sql/ServerAnswers.h"

#include "platform/sql/SqlError.h"

QString Shown(const Rows& rows) {
  QStringList shown;
  for (const QStringList& row : rows) shown << row.join(QStringLiteral(" | "));
  return shown.join(u'\n');
}

ServerAnswers::ServerAnswers(std::span<const char* const> tables) : client_(folder_.Path()) {
  for (const char* statement : tables) client_.Run(QString::fromUtf8(statement));
}

QString ServerAnswers::Seen(const QString& statement) {
  try {
    return Shown(client_.Texts(statement));
  } catch (const EDatabaseError& error) {
    return QStringLiteral("error: ") + error.DriverMessage();
  }
}

void ServerAnswers::ExpectAnswers(const Answer* answers, size_t count) {
  for (size_t i = 0; i < count; ++i) {
    const Answer& answer = answers[i];
    const QString expected =
        answer.error ? QStringLiteral("error: ") + QString::fromUtf8(answer.error) : Shown(answer.expected);
    EXPECT_EQ(Seen(QString::fromUtf8(answer.statement)).toStdString(), expected.toStdString()) << answer.statement;
  }
}
