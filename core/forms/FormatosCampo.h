#pragma once

#include <QString>

#include <array>

class QObject;

// The display formats of numbers the data module's creation sets from the
// general parameters: the standard one and those of numeric templates 1 to 5
// (index 0 unused), whose field-name fragments are CamposPlantillasNumericas.
extern QString FormatoNumericoEstandar;
extern std::array<QString, 6> PlantillasNumericas;
inline constexpr char kFormatoProvisional[] = "#,###.##";

// The display format for a field of that name.
QString FormatoNumerico(const QString& campo);
// Gives a field (or a report item) left with the provisional format the
// format for its name; date-time fields get their display handlers.
void FormatoCampo(QObject* componente);
