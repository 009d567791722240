#pragma once

#include <QString>
#include <QStringList>

// The SQL text that creates a table from its definition lines: one column
// per field line, the primary key from the fields flagged "*", one CREATE
// INDEX per index line other than "<Primary>".

// "DECIMAL(28,12)" for a field named "Cambio" or holding "Factor",
// "DECIMAL(28,8)" otherwise.
QString TipoDecimalSQL(const QString& campo);
// On SQL Server a name with "ñ" gets "_" in their place, any other loses its
// "-"; unchanged on other engines.
QString NombreColumnaSQL(const QString& nombre);

// The CREATE TABLE of the field lines (piece 1 "C") on "Microsoft SQL
// Server" (with "dbo.", left out for a temporary table) or "SQL Generica";
// empty when no line is a field.
QString SentenciaCrearTablaSQL(const QString& tabla, const QStringList& lineas, const QString& motor, bool temporal);
// One CREATE INDEX for each index line that is not the primary key.
QStringList SentenciasIndicesSQL(const QString& tabla, const QStringList& lineas);

// The statements the database update runs for one table's lines (the table
// is piece 0 of the first line): "Tabla" the CREATE TABLE, "Indices" the
// CREATE INDEX statements (joined by "; " when the parts hold "Tablas");
// empty parts mean both. Names that are not identifiers are made ones.
QString SentenciasCrearTabla(const QStringList& lineas, const QString& partes = QString());
