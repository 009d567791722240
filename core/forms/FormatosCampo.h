#pragma once

#include <QString>

#include <array>

class Field;
class QObject;

// The display formats of numbers are the data module's (FormatoNumericoEstandar
// and PlantillasNumericas, whose field-name fragments are
// CamposPlantillasNumericas); a field still showing the provisional format
// takes the one for its name.
inline constexpr char kFormatoProvisional[] = "#,###.##";

// The display format for a field of that name.
QString FormatoNumerico(const QString& campo);
// Gives a field (or a report item) left with the provisional format the
// format for its name; date-time fields get their display handlers.
void FormatoCampo(QObject* componente);
// A date-time field's display handlers, by the name given (a component's or
// a field's): the time of day for names holding "HORA", in "HH:MM:SS" with
// no edit mask; the date for the others, nothing for the zero date or any
// day of 1899 (the engine's empty date).
void ManejadoresFechaHora(Field& campo, const QString& nombre);
