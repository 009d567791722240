#pragma once

#include "platform/StringList.h"

#include <QString>

class TfGENEINIC;

// The database of a company: on Paradox its data folder (the general
// database's folder for company 0, its subfolder n otherwise), on any other
// engine AliasBaseDatosEmpresa followed by n (alone for company 0).
QString NombreBaseDatosEmpresa(TfGENEINIC& servicios, int empresa);
// The database name of the general database's connection for a general
// table, of the company connection for any other.
QString NombreBaseDatosTabla(TfGENEINIC& servicios, const QString& tabla);
// The parameter lines of a company connection to that database.
StringList ParametrosConexionEmpresa(const QString& nombreBaseDatos);
// The ADO connection string of a logical database name ("Database",
// "DatabaseGeneral", "DatabaseAlt", "?<db>" or a database's own name); an
// empty server means ServidorSQL.
QString CadenaConexionADO(TfGENEINIC& servicios, const QString& nombreLogico, const QString& servidor);
// The engine reported a missing table.
bool ErrorTablaInexistente(const QString& texto);
