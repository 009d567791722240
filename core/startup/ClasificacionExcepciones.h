#pragma once

#include <QString>

// How an uncaught exception's message is shown: as a warning ("Advertencia",
// the program goes on), an error ("Error", the program ends) or not at all
// ("IGNORAR"); index errors also ask for the repair of the tables.
struct ClasificacionExcepcion {
  QString grupo;
  QString texto;
  bool reparar = false;
};

// Sorts an engine or class-library message; every rule that matches
// overwrites the text, so the last one wins. A message no rule knows is a
// warning with its own text.
ClasificacionExcepcion ClasificarExcepcion(const QString& mensaje);
