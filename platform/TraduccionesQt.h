#pragma once

// Qt's own texts (file and print dialogs, the buttons of questions) in
// Spanish, once per program. The database drivers' texts stay as they are:
// the engine's errors are told apart by their text.
void CargarTraduccionesQt();
