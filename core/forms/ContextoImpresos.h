#pragma once

#include <QString>

// "Contexto" while the printed-form definitions are open from a module's
// key handler, which asks no company; empty otherwise.
extern QString ContextoImpresos;
