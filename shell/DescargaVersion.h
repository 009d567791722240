#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class TZipMaster;

// The download of the latest version: the chosen packages come from the
// maker's FTP server into the folder "DOWNLOAD" of the program folder and are
// unpacked over the installation.

// The packages offered, in their order, each a label and the file name in brackets.
extern const QStringList PaquetesDescarga;
// The maker's download server.
extern const QString ServidorDescargas;

// The choice of packages: the option text and the lines offered (CR LF
// between them) give the chosen lines, CR LF between them, empty when none.
using EleccionPaquetes = std::function<QString(const QString& opciones, const QString& lista)>;
// The user's choice through the selection list (SeleccionarDeLista) unless
// another is installed; an empty one puts that back.
void InstalarEleccionPaquetes(EleccionPaquetes eleccion);

// An administrator's run of the menu command. A failed connection, login or
// transfer raises with the library's text, after the clean-up and before any
// unpacking; an archive the unzip library refuses is told and left out.
void DescargarUltimaVersion(TZipMaster& zip);
