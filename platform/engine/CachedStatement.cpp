#include "platform/engine/CachedStatement.h"

#include "platform/engine/EngineConnection.h"

CachedStatement::CachedStatement(EngineConnection& connection, const QString& sql)
    : connection_(connection), statement_(connection.TakeKept(sql, lease_)) {}

CachedStatement::~CachedStatement() { connection_.GiveKept(lease_, std::move(statement_)); }
