#pragma once

#include <QString>

// Creates, from their definitions, the tables a statement names after
// FROM, JOIN, UPDATE, INTO and DELETE FROM, for the current company; true
// when one of them was created, or when the statement names none. Whether
// all of them are there afterwards goes to todasPresentes: another running
// program may have made the one the statement found missing.
bool CrearTablasDeSentencia(const QString& sql, const QString& baseDatos, bool* todasPresentes = nullptr);
