#pragma once

#include "platform/sqlite/DatabaseError.h"

// A statement the embedded server or the SQL dialect refused: an engine
// error like any other (the system's handlers match the engine text), with
// the text a server gives for it as the driver's text.
class SqlError : public EDatabaseError {
 public:
  explicit SqlError(const QString& serverText, const char* engineText = EngineText::GeneralSqlError)
      : EDatabaseError(QString::fromLatin1(engineText), serverText) {}
};
