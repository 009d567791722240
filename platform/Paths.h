#pragma once

#include <QString>

// Paths are kept with "/" inside; texts from settings files may carry "\".
namespace Paths {

QString Internal(const QString& path);          // every "\" becomes "/"
bool HasSeparator(const QString& text);         // holds a "\" or a "/"
QString Join(const QString& folder, const QString& name);

// The entry of that name in the folder, found without regard to case; the
// plain joined path when there is none.
QString FindFile(const QString& folder, const QString& name);

// The running program's name as the system compares it: the upper-cased base
// name of how it was started, with ".EXE" added when it has no extension.
QString ExecutableName(const QString& startedAs);
QString ExecutableName();  // of this process

}  // namespace Paths
