#include "platform/sql/ClientApplication.h"

#include "platform/sql/SqlError.h"
#include "platform/sql/SqlValues.h"

#include <QMutex>

#include <sqlite3.h>

namespace {

struct Client {
  QMutex mutex;
  QString programName;
  QString login;
};

Client& client() {
  static Client* instance = new Client;  // triggers may fire while the program ends
  return *instance;
}

QString read(QString Client::*value) {
  QMutexLocker lock(&client().mutex);
  return client().*value;
}

void write(QString Client::*value, const QString& text) {
  QMutexLocker lock(&client().mutex);
  client().*value = text;
}

void AppName(sqlite3_context* context, int, sqlite3_value**) { ResultText(context, read(&Client::programName)); }
void SystemUser(sqlite3_context* context, int, sqlite3_value**) { ResultText(context, read(&Client::login)); }

}  // namespace

namespace ClientApplication {

void SetProgramName(const QString& programName) { write(&Client::programName, programName); }
void SetLogin(const QString& login) { write(&Client::login, login); }
QString ProgramName() { return read(&Client::programName); }

void RegisterFunctions(sqlite3* connection) {
  struct Function {
    const char* name;
    void (*function)(sqlite3_context*, int, sqlite3_value**);
  };
  for (const Function& row : {Function{"app_name", AppName}, Function{"zem_system_user", SystemUser}})
    if (sqlite3_create_function_v2(connection, row.name, 0, SQLITE_UTF8, nullptr, row.function, nullptr, nullptr,
                                   nullptr) != SQLITE_OK)
      throw SqlError(QString::fromUtf8(sqlite3_errmsg(connection)));
}

}  // namespace ClientApplication
