#pragma once

// Builds FuenteAplicacion, ColorFormularioMDI and ColorFormularioNormal from
// the application look (AspectoAplicacion).
void ConstruirAspecto();
