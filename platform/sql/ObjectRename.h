#pragma once

#include <QString>

class Connection;

// sp_rename on a database: a table ('T', 'NEW'), a column ('T.C', 'NEW',
// 'COLUMN'), or an index or the primary key constraint ('T.I', 'NEW').
// Raises SqlError with the server's text when there is no such object.
void RenameObject(Connection& connection, const QString& object, const QString& newName, const QString& type);
