#include "platform/engine/CachedStatement.h"

#include "platform/engine/EngineConnection.h"

CachedStatement::CachedStatement(EngineConnection& connection, const QString& sql)
    : connection_(connection), sql_(sql), statement_(connection.TakeKept(sql, stamp_)) {}

CachedStatement::~CachedStatement() { connection_.GiveKept(sql_, std::move(statement_), stamp_); }
