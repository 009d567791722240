#pragma once

#include <QString>

// Checks of typed input. A refused text is reported with a warning naming
// the field's caption; without a caption the check is silent.
bool ValidarEntero(const QString& texto, const QString& titulo);
bool ValidarFecha(const QString& texto, const QString& titulo);  // a date after 1/1/1890
bool ValidarHora(const QString& texto, const QString& titulo);
