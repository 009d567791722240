#pragma once

// Waits the milliseconds on the program's clock while the window messages
// keep being handled, so other event handlers may run meanwhile. Zero or less
// returns at once.
void Esperar(int milisegundos);
