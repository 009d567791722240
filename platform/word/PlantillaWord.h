#pragma once

#include <QString>

#include <functional>
#include <optional>

// Word documents (.docx) filled by placeholders: "$" + field name + "$" in
// the body, headers and footers stands for the field's value. A placeholder
// split over runs is found and takes its first run's format; a CR LF in a
// value opens a new paragraph like the one it is in; a placeholder naming no
// field stays as it is.
namespace PlantillaWord {

inline constexpr qint64 kMayorTamano = 64LL * 1024 * 1024;

// The value of a field; none when there is no such field.
using ValorCampo = std::function<std::optional<QString>(const QString& campo)>;

// Writes the filled copy of the template to the target (replaced only once
// whole); the reason it could not, empty on success.
QString Rellenar(const QString& plantilla, const QString& destino, const ValorCampo& valor);
// The document part filled (one XML file of the package); the reason it
// could not, empty on success.
QString RellenarXml(const QByteArray& xml, QByteArray& resultado, const ValorCampo& valor);

}  // namespace PlantillaWord
