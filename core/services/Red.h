#pragma once

#include <QString>

// The universal name of a path. Folders here are local (network shares are
// mounted into the file tree), so a path is its own universal name.
QString NombreUniversal(const QString& ruta);

// The hardware address of the first network adapter that has one (loopback
// left out) as six upper-case hexadecimal pairs joined by "-"; an adapter
// whose address is all zeros passes the turn to the next. With
// "SinSeparadores" in the options the "-" are left out, and no address at all
// gives "000000000000" instead of the empty text.
QString DireccionMAC(const QString& opciones);
