#pragma once

#include <QString>

// A user's SMTP settings as seven name=value lines joined by CR LF (the mass
// mailing ones, names ending "(Masivo)", when the options hold "Masivo"):
// the user's own when any of them is set, else the company's default lines.
QString ConfigSMTP(const QString& usuario, const QString& opciones, const QString& configuracionEmpresa = QString());
