#pragma once

#include <QString>
#include <QStringList>

class Dataset;

// The saved formats of the programmable listing, records of FORMLIST keyed
// by Prefijo and Nombre. The dialog keeps the table; these read and write
// its current record and leave it as it was when a write fails.
struct FormatoListado {
  QString titulo;
  QStringList seleccionados;
  QString filtros;
};

// The fields a listing may offer: the source's, less those the user may not see.
QStringList CamposDisponiblesListado(const QStringList& campos);

// Every available field, the given title or "Listado programable de la tabla " and the table.
FormatoListado FormatoStandard(const QStringList& disponibles, const QString& tituloPorDefecto,
                               const QString& tabla);

// The current FORMLIST record, its selection kept to the available fields
// (lines ended by CR LF, CR or LF).
FormatoListado FormatoGuardado(const Dataset& formatos, const QStringList& disponibles);

// Writes into the current record; false, and the edit cancelled, when it
// cannot (another user deleted it meanwhile).
bool GuardarFormato(Dataset& formatos, const FormatoListado& formato);

// Adds a record; false, and nothing added, when the name exists for the Prefijo.
bool GuardarFormatoComo(Dataset& formatos, const QString& prefijo, const QString& nombre,
                        const FormatoListado& formato);

// The filter that keeps FORMLIST to one Prefijo.
QString FiltroFormatos(const QString& prefijo);
