#pragma once

#include <QString>

// The operating-system text: the lines "PlataformaBase=", "Plataforma=",
// "Version=" (major.minor.build) and "Nivel=", joined by CR LF. This system
// knows no Windows version here, so both platform names are "Desconocida" and
// the version numbers are the kernel's.
QString InformacionSistemaOperativo();

// The operating-system text for a kernel release such as "6.1.0-18-amd64".
QString InformacionSistemaOperativo(const QString& versionNucleo);
