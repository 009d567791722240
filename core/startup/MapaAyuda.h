#pragma once

inline constexpr auto kArchivoMapaAyuda = "ZEMWIN.MAP";

// Loads "ZEMWIN.MAP" of the program folder into MapaAyuda as lines
// topic=context number (the second and third blank-separated words of each
// line); a missing or unreadable map leaves the list empty.
void CargarMapaAyuda();
