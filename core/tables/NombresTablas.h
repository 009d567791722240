#pragma once

#include <QString>
#include <QStringView>

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

// Why a table cannot be given that name, empty when it can: a name the
// engine takes as no one name (empty, blank, with control characters or
// longer than it holds), one holding a character of `separadores` (those
// that divide the names where it is written), or one holding characters the
// table definitions cannot hold (their code page, Windows-1252, which
// Paradox's table files share).
QString MotivoNombreTablaNoValido(const QString& nombre, QStringView separadores = {});
// The refusal of a table's name, saying why and naming it.
QString MensajeNombreTablaNoValido(const QString& nombre, const QString& motivo);
