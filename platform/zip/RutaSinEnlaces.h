#pragma once

#include "platform/zip/Descriptor.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <functional>

// A path below a folder, reached piece by piece from the folder's descriptor
// without following a link: what is done there cannot land outside it.
namespace ColocacionZip {

// Whether a relative path stays strictly inside the folder it is read from:
// pieces separated by "/", none empty, "." or "..", and no "\" or NUL.
bool RutaInterior(const QString& relativa);

// The folder holding the path's last piece, reached from base; invalid, with
// errno set, when a piece on the way is missing (ENOENT), a link or no folder.
Descriptor AbrirPadre(int base, const QString& relativa);

// The path's last piece, as the file system names it.
QByteArray Hoja(const QString& relativa);

// Whether no piece on the way to the path's last one is a link (or anything
// but a folder); pieces not made yet are no links. The last piece is never
// followed: it is renamed or removed as itself.
bool SinEnlaces(int base, const QString& relativa);

// Whether the path's last piece exists below base, a link as itself.
bool ExisteEn(int base, const QString& relativa);

// Removes all the folder open as carpeta holds but the names kept at its top,
// through its descriptor (a link as itself); trasBorrar runs after each name
// removed.
void Vaciar(int carpeta, const QList<QByteArray>& conservadas, const std::function<void()>& trasBorrar);

}  // namespace ColocacionZip
