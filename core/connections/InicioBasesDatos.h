#pragma once

class TfGENEINIC;

// The database step of the services object's creation: the engine session
// (PrepararSesionInicio, whose private-folder conflict ends the creation:
// false), the SQL road of the data layer, then the company database and the
// general database opened with the SQL Server login (each created on the
// server when it cannot be opened), their isolation level, the translation
// table's collation and the server's version. A failure raises, and
// start-up ends with its message.
bool PrepararBasesDatosInicio(TfGENEINIC& servicios);
