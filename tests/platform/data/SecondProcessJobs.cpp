#include "tests/fixtures/SecondProcess.h"

#include "platform/data/Field.h"
#include "platform/data/Session.h"
#include "platform/data/Table.h"
#include "platform/sqlite/Connection.h"
#include "platform/sqlite/DatabaseError.h"

#include <QElapsedTimer>

// Jobs of the data layer's second instance.
namespace {

QString setting(const char* name) { return qEnvironmentVariable(name); }

// Job "post": appends a customer (ZEM_KEY) to CLIENTES of the folder
// ZEM_FOLDER with the busy timeout ZEM_BUSY; reports "locked <ms> <message>"
// and tries again on the line "retry", or reports "posted".
void postJob() {
  ConnectionSettings::SetBusyTimeout(setting("ZEM_BUSY").toInt());
  Table table;
  table.SetDatabaseName(setting("ZEM_FOLDER"));
  table.SetTableName(QStringLiteral("CLIENTES"));
  table.Open();
  table.Append();
  table.FieldByName(QStringLiteral("Codigo")).SetAsInteger(setting("ZEM_KEY").toInt());
  table.FieldByName(QStringLiteral("Nombre")).SetAsString(QStringLiteral("Segundo proceso"));
  for (;;) {
    QElapsedTimer timer;
    timer.start();
    try {
      table.Post();
      SecondProcess::Report(QStringLiteral("posted"));
      return;
    } catch (const EDatabaseError& error) {
      SecondProcess::Report(QStringLiteral("locked %1 %2").arg(timer.elapsed()).arg(error.EngineMessage()));
      if (SecondProcess::NextLine() != u"retry") return;
    }
  }
}

// Job "edit": edits customer ZEM_KEY of CLIENTES in the folder ZEM_FOLDER,
// naming it ZEM_NAME; reports "editing" and posts on the line "post"
// (reporting "posted"), or reports "locked <message>" when Edit fails.
void editJob() {
  Table table;
  table.SetDatabaseName(setting("ZEM_FOLDER"));
  table.SetTableName(QStringLiteral("CLIENTES"));
  table.Open();
  table.Locate(QStringLiteral("Codigo"), Variant::Integer(setting("ZEM_KEY").toInt()));
  try {
    table.Edit();
  } catch (const EDatabaseError& error) {
    SecondProcess::Report(QStringLiteral("locked ") + error.Message());
    return;
  }
  table.FieldByName(QStringLiteral("Nombre")).SetAsString(setting("ZEM_NAME"));
  SecondProcess::Report(QStringLiteral("editing"));
  if (SecondProcess::NextLine() != u"post") return;
  table.Post();
  SecondProcess::Report(QStringLiteral("posted"));
}

// Job "session": takes a session number in the network folder ZEM_FOLDER,
// reports "session <n>" and holds it until its input ends.
void sessionJob() {
  Session session;
  session.SetNetFileDir(setting("ZEM_FOLDER"));
  SecondProcess::Report(QStringLiteral("session %1").arg(session.SessionNumber()));
  SecondProcess::NextLine();
}

// Job "execute": runs the statements ZEM_SQL on the database file ZEM_FILE
// and reports "executed".
void executeJob() {
  OpenConnection(setting("ZEM_FILE"))->Execute(setting("ZEM_SQL"));
  SecondProcess::Report(QStringLiteral("executed"));
}

[[maybe_unused]] const bool registered =
    SecondProcess::RegisterJob(QStringLiteral("post"), postJob) &&
    SecondProcess::RegisterJob(QStringLiteral("edit"), editJob) &&
    SecondProcess::RegisterJob(QStringLiteral("session"), sessionJob) &&
    SecondProcess::RegisterJob(QStringLiteral("execute"), executeJob);

}  // namespace
