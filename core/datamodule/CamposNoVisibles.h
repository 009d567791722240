#pragma once

#include <QString>

// Whether the current user may not see the field: an item of
// CamposNoVisiblesUsuario (comma-separated, trimmed) occurs in its name, in
// any case, unless an item "-<name>" exempts exactly that field.
bool CampoNoVisible(const QString& campo);
