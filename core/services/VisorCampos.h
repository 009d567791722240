#pragma once

class Dataset;

// Shows every field of the dataset's current record, read-only, in the
// name/value grid: a field hidden from the user keeps its row, empty; a
// date-time field whose name holds "Hora" shows its time; a memo shows its
// lines joined by blanks and opens whole from "ContenidosMemo".
void VisorCampos(Dataset& dataset);
