#pragma once

#include <QString>
#include <QVariant>

// Hands an incident to the data module's trace hook unless the capture level
// NivelCapturaIncidencias is "Ninguno".
void CapturarIncidencia(const QString& texto, const QString& detalle = QString(), const QVariant& extra = QVariant());
