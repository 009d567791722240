#pragma once

class Dataset;
class TfGENEINIC;

// Lets the user type the user fields that CAMPOUSR defines for the table of
// the dataset's current record, and writes the ones changed into that
// record through a table of its own (the dataset is not edited). Nothing is
// shown for a dataset of a data module, for the order lines of the two order
// forms, or when the record cannot be found by its primary key.
void VisorCamposUsuario(TfGENEINIC& servicios, Dataset& dataset);
