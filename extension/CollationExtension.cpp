// The system's collations for any SQLite program, so its data files can be
// read and mended without it:  sqlite3 -cmd '.load ./libzemcollation' FILE
#include "platform/sql/Collation.h"

#include <sqlite3ext.h>
SQLITE_EXTENSION_INIT1

extern "C" __attribute__((visibility("default"))) int sqlite3_zemcollation_init(sqlite3* connection, char** error,
                                                                                 const sqlite3_api_routines* api) {
  SQLITE_EXTENSION_INIT2(api);
  if (Collation::RegisterWhenNeeded(connection)) return SQLITE_OK;
  *error = sqlite3_mprintf("%s", "zemcollation: no se pueden registrar las intercalaciones");
  return SQLITE_ERROR;
}
