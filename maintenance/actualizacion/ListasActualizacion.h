#pragma once

#include "platform/format/DateTime.h"

#include <QString>
#include <QStringList>

#include <optional>

// What the database update reads from the merged structure scripts: the
// tables a run offers, the column mapping between versions and the
// databases of the installation. A from-date of 0 stands for "every table".

// The version whose "MAP" lines are always taken.
inline constexpr auto kVersionActual = "2024b";

// The tables dated on or after the from-date, "ORIGEN" left out.
QStringList LlenarListaTablas(const QString& definiciones, TDateTime desdeFecha);
// The mapping text: "T=old,new" for this version's "MAP" lines,
// "(*version)T=old,new" for another version's dated after the from-date.
QString LlenarListaMapeado(const QString& definiciones, TDateTime desdeFecha);

// Whether an entry carried over from another version concerns one of the
// tables, as ")" + table.
bool MapeadoDeOtrasVersiones(const QString& mapeado, const QStringList& tablas);

// The new column the first mapping entry of the table gives to an old
// column; nothing when none names it.
std::optional<QString> ColumnaMapeada(const QString& mapeado, const QString& tabla, const QString& columna);

// The statement that lists the company databases (prefix and code), in the
// order of their codes, run on the general database.
QString SentenciaBasesDatosEmpresas();
// The general database, then one per company.
QStringList LlenarListaBasesDatos();

// IDIOMA and TXIDIOMA live in every database; another table in the general
// database when it is a general table, in the companies' otherwise.
bool TablaDeBaseDatos(const QString& tabla, bool baseGeneral);
