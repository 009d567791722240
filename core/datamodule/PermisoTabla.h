#pragma once

class Dataset;

// The before-change hook of a form's tables: raises the silent Abort when the
// dataset is read-only or its table (without owner prefix) is one of the
// current user's TablasNoAccesibles (","-separated, any case).
void ComprobarPermisoTabla(Dataset& dataset);
