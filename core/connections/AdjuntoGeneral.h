#pragma once

class EngineConnection;
class TfGENEINIC;

// The general database attached, under the name AliasBaseDatosGeneral, to a
// company's connection, so that "<general>.dbo.T" reaches it in any
// statement, also inside a transaction, where SQLite cannot attach. Nothing
// is done for the general database's own file, or while it does not exist,
// nor on a real server, which reaches it by those three-part names itself.
void AdjuntarBaseDatosGeneral(TfGENEINIC& servicios, EngineConnection& conexion);
// From now on every connection that opens gets it (once per process).
void AdjuntarBaseDatosGeneralAlAbrir();
// Lets it install again once the connection initialisers were reset.
void ResetAdjuntoGeneralAlAbrir();
