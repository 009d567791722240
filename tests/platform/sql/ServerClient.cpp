#include "tests/platform/sql/ServerClient.h"

#include "platform/sql/MappingCache.h"
#include "platform/sql/SqlBatch.h"
#include "platform/sql/SqlError.h"
#include "platform/sql/SqlMapper.h"
#include "platform/sql/SqlTokenizer.h"
#include "platform/sqlite/Statement.h"

ServerClient::ServerClient(const QString& folder, const QString& login, const QString& password,
                           const QString& dateFormat)
    : server_(folder), dateFormat_(dateFormat) {
  server_.Connect(login, password);
  session_ = server_.OpenSession({login, u"master"_qs, u"usuario"_qs, u"equipo"_qs, u"ZEMWIN.EXE"_qs});
  commands_ = std::make_unique<ServerCommands>(server_);
}

::Connection& ServerClient::Connection() {
  if (!connection_ || connectedTo_.compare(session_->Database(), Qt::CaseInsensitive) != 0) {
    cache_.reset();
    connection_ = OpenConnection(server_.DatabaseFile(session_->Database()));
    cache_ = std::make_shared<MappingCache>(*connection_);
    connectedTo_ = session_->Database();
  }
  return *connection_;
}

SqlRows ServerClient::Run(const QString& batch) {
  SqlRows rows;
  for (const QString& statement : CompileSqlBatch(batch).statements) {
    const CommandOutcome outcome = commands_->Run(statement, *session_);
    // A database the session left is no longer held, as on a server.
    if (connection_ && connectedTo_.compare(session_->Database(), Qt::CaseInsensitive) != 0) {
      cache_.reset();
      connection_.reset();
    }
    if (outcome.handled) {
      rows = outcome.rows;
      continue;
    }
    ::Connection& connection = Connection();
    SqlContext context = SqlContext::ForConnection(connection, dateFormat_);
    context.cache = cache_;
    const QByteArray mapped = SqlMapper(std::move(context)).Map(outcome.statement).toUtf8();
    // As the data layer runs it: every statement of the mapped text.
    for (qsizetype offset = 0; offset < mapped.size();) {
      Statement step(connection, mapped, offset);
      rows = SqlRows();
      for (int i = 0; i < step.ColumnCount(); ++i) rows.columns << step.ColumnName(i);
      while (step.Step()) {
        QVariantList row;
        for (int i = 0; i < step.ColumnCount(); ++i) row << step.Column(i);
        rows.rows << row;
      }
    }
  }
  return rows;
}

QStringList RowTexts(const QVariantList& row) {
  QStringList texts;
  for (const QVariant& value : row) {
    if (value.isNull()) texts << u"NULL"_qs;
    else if (value.typeId() == QMetaType::Double) texts << QString::number(value.toDouble(), 'g', 15);
    else texts << value.toString();
  }
  return texts;
}

QString ServerClient::Error(const QString& batch) {
  try {
    Run(batch);
  } catch (const EDatabaseError& error) {
    return error.DriverMessage();
  }
  return {};
}

QList<QStringList> ServerClient::Texts(const QString& batch) {
  QList<QStringList> texts;
  for (const QVariantList& row : Run(batch).rows) texts << RowTexts(row);
  return texts;
}
