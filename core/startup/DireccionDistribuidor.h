#pragma once

// The distributor's web address that "Por Defecto" selects.
inline constexpr auto kURLDistribuidorPorDefecto = "http://www.zem.es/distribuidores";

// URLAccesoMenuWebDistribuidor empty or "Por Defecto" becomes the default
// address, "Ninguna" becomes empty, any other value stays.
void NormalizarURLAccesoMenuWebDistribuidor();
