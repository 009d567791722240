#pragma once

#include <QString>

// Creates, from their definitions, the tables a statement names after
// FROM, JOIN, UPDATE, INTO and DELETE FROM, for the current company; the
// result of the last creation, true when the statement names none.
bool CrearTablasDeSentencia(const QString& sql, const QString& baseDatos);
