#pragma once

#include <QString>

class Dataset;
class QObject;
class Query;

// The short name of a temporary table of an owner (the form or data module
// that owns it) and a number: "TEMP", a counter of six digits, "_" and the
// owner's name, at most 20 characters, registered in NOMBTTEM under a long
// name unique to this machine, session, user, owner and number; the same
// long name always gets back the same short name.
QString NombreTablaTemporal(const QObject* propietario, int numero);
// The short name registered for a long name, registering it first with the
// next free counter. A silent abort, after the engine's message, when
// NOMBTTEM cannot be read or keeps refusing the row.
// The owner's name in the short name is the long name's third piece unless given.
QString RegistrarTablaTemporal(const QString& nombreLargo, const QString& propietario = QString());

// The CREATE TABLE of a table for the fields of an open query; each column
// keeps its separator, the last one before the closing parenthesis too.
QString SentenciaTablaConsulta(const QString& tabla, const Dataset& consulta);
// After a query opened with the option "Temporal": its rows copied into a
// temporary table of the general database and the query opened on it.
// False when a statement failed (after its message).
bool CopiarConsultaATablaTemporal(Query& consulta);
