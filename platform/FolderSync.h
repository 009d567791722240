#pragma once

#include <QString>

// Puts on disk the folder that holds the file: its names as they stand (a
// file renamed into it, made or removed there); false where it cannot be.
bool SyncFolderOf(const QString& file);
