#pragma once

#include <QString>

// The database engine's version as the system information shows it:
// "EngineVersion=", "InterfaceLevel=", "VersionDate=" (dd/mm/yy) and
// "VersionTime=" (hh:nn:ss) lines; each number is its first digit, "." and
// its next three.
QString VersionBDE();
