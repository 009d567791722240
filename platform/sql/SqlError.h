#pragma once

#include "platform/Exceptions.h"

// A statement the embedded server or the SQL dialect refused, with the text
// a server gives for it.
class SqlError : public Exception {
 public:
  using Exception::Exception;
};
