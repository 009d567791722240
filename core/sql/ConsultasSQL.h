#pragma once

#include <QString>

class Query;

// Opens a query whose SQL is set (a SELECT, or with the option "Open") or
// executes it (anything else, or with "ExecSQL"); a missing table is created
// from its definition and the statement run again. False when it did not
// run, after a warning unless the options hold "Silencio". With "Temporal"
// an opened query is copied into a temporary table and opened on it.
bool AbrirOEjecutarConsulta(Query& consulta, const QString& opciones = QString());
// The same for a query on an ADO connection string; one without a database
// runs on the company's ADO connection.
bool AbrirOEjecutarConsultaADO(Query& consulta, const QString& opciones = QString());
