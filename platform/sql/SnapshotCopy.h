#pragma once

#include <QString>

#include <optional>
#include <system_error>

class Connection;

// Writes into the target file, in one pass of large blocks read straight
// from the database file, what the connection reads of its database now,
// marked as a backup with its page checksum taken as it is written. The
// copy is of the file only where the file holds that whole state (every
// change kept in the WAL for it already copied back into the file, which
// then cannot change until the copy ends); none where it does not, the
// system's error where it fails. The connection must not be inside a
// transaction.
std::optional<std::error_code> CopySnapshotAsBackup(Connection& source, const QString& target);
