#pragma once

#include <QList>
#include <QString>

// A trigger that writes one row into an access log for every row an
// insert, update or delete touches: the table, the key values joined by
// "|", the user, the date and time, the data ("F=value|", an edit
// "F=new [old]|" for each changed field), the action word and the
// application. User and application come from the connection's
// application name, "application|user"; without "|" the login is the user.
struct AuditTrigger {
  enum class Event { Delete, Insert, Update };
  // How a column's value is written: a date as dd/mm/yyyy, a time as
  // hh:mm:ss, anything else as text; a left-out column (a memo) not at all.
  enum class Written { Date, Time, Text, LeftOut };
  struct Column {
    QString name;
    Written written = Written::Text;
    bool key = false;
    QString keyType;  // the SQL type a key value is declared with
    bool autoNumber = false;  // numbered by the server as the row goes in, from 1 by 1
  };

  QString name;
  QString table;
  Event event = Event::Insert;
  QList<Column> columns;
  QString logTable;
  QString actionWord;
};
