#pragma once

#include "platform/sql/BackupFiles.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

// RESTORE straight into the database's own file: the database's connection
// takes the file for itself (out of WAL mode, its exclusive lock kept) and
// the backup's pages are written over the file's with no journal between,
// then the file goes back to WAL mode for everyone. A link to the backup
// beside the database, on disk before the first page is written, says what
// the file is being restored from: a restore cut short (the process killed,
// the machine stopped) is finished from it by the next session that comes
// onto the database.

// Restores the backup through the database's connection, outside any
// transaction: Whole once restored, or Damaged or Malformed with the
// database as it was; none where the file cannot be taken (another
// connection holds it) or the backup cannot be linked beside it, to be
// restored through the database's WAL. A backup rewritten in place by
// another program while its pages are written gives Damaged with the
// restore cut short, which only a whole backup can finish.
std::optional<BackupCheck> RestoreInPlace(const QString& backup, class Connection& database);

// Copies a backup of Whole form into the database as BackupSource::CopyInto
// does, through the database's connection taken out of WAL mode, under a
// rollback journal: a WAL keeps the database's page size. None where the
// file cannot be taken (another connection holds it).
std::optional<BackupCheck> CopyOutOfWal(class BackupSource& backup, Connection& database);

// Finishes a restore of the database that was cut short, if any, and
// removes what one killed before it was sure to take place left; false
// where one was cut short and cannot be finished now (its backup no longer
// whole, or the file held). Only where no restore of it is under way.
bool FinishInterruptedRestore(const QString& database);

// Whether a restore of the database was cut short: then its file is no
// database until the restore is finished or another one is done.
bool RestoreCutShort(const QString& database);
// Once another restore is done over it, through the WAL.
void ForgetRestoreCutShort(const QString& database);

// The files a restore in place leaves beside the database while under way.
QStringList RestoreSideFiles(const QString& database);

// Called with 1, 2, ... at each step of a restore in place that writes.
std::function<void(int)>& InPlaceRestoreStepHook();
