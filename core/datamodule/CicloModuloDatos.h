#pragma once

#include <functional>

// The program's data module, which the tools that rebuild the databases
// under it free and create again.
void CrearModuloDatos();
void LiberarModuloDatos();
// Frees the data module, runs the work and creates the module again,
// whatever the work's outcome.
void ApartarModuloDatos(const std::function<void()>& trabajo);
