#pragma once

#include <QString>

class Table;

// The name the current engine gives a table: on SQL Server with the owner
// "dbo." (not for a temporary table kept as a file); elsewhere unchanged.
QString NombreTablaFisica(const QString& tabla);
// The statement that drops a table by its name, one name: a "." in it is
// part of the name, never an owner's or a database's.
QString SentenciaEliminarTabla(const QString& tabla);
// On SQL Server the piece after the only "."; anything else unchanged.
QString QuitarPrefijoTabla(const QString& nombre);
// The engine's name of one of the table's indexes ("<Primary>": "Clave1" on
// Paradox, "<table>_Clave1" on SQL Server).
QString NombreIndicePrimario(const Table& tabla, const QString& indice);
// The engine a temporary table lives on: Paradox when temporary tables are
// not kept in the database.
QString MotorTabla(bool temporal);
