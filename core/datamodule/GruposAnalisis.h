#pragma once

#include <QString>

// Analysis groups: free classifications of any record of any table (GRANTAB:
// table, record key text, group), the groups defined in GRANALIS with their
// category, and the categories each profile works with (PARAGENE's
// PerfilesCategoriasGA, lines <profile>=<categories joined by ",">).

// The ranges last chosen, lines <category>|<from>|<to>, for the listing header.
extern QString RangosGruposAnalisis;

// The record's groups of a category, or of every category ("Todas", joined by
// "," in code order); a category gives its first group. Empty when none, when
// the tables cannot be read or the statement fails.
QString GruposAnalisisRegistro(const QString& tabla, const QString& categoria, const QString& clave);

// The categories of the profiles (codes joined by ","), one a line, sorted;
// a profile whose categories repeat another's whole list adds nothing.
QString CategoriasPerfilesGA(const QString& perfiles);

// Lets the user give a from and a to value per category of the profiles,
// starting from the current ranges; shown again while a line has its to
// value before its from value. The lines with a value, joined by CR LF; they
// are also kept in RangosGruposAnalisis.
QString SeleccionRangosGA(const QString& perfiles, const QString& rangos);
