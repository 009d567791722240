#pragma once

#include <QString>

inline constexpr auto kArchivoAyuda = "ZEMWIN.CHM";

// The context number of a help topic (a form's caption) in the help map; 0
// when the map does not have it or it is not a number.
int ContextoAyuda(const QString& tema);

// Opens the help file of the program folder in the desktop's viewer, keeping
// its full path in the services object's PathAyuda. A missing
// file is warned of and the viewer still called (it tells its own error);
// false, with a warning, when no viewer could be started. The viewer opens the
// file itself: it takes no context number.
bool MostrarAyuda(int contexto);
