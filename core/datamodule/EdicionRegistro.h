#pragma once

class Dataset;

// Puts the current record in edit unless it is already being edited or
// inserted; false when it cannot be (another user holds it).
bool EditarRegistro(Dataset& dataset);
