#pragma once

#include <QStringList>

// A database's table names as the masters list them: without owner prefix
// or the server's catalogue views, sorted without regard to case.
QStringList TablasParaElegir(const QStringList& nombres);
