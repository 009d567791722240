#pragma once

class Table;

// Gives an empty user table the installation's administrator
// (CodigoAdministrador), category "Administrador", who has no password; a
// table another running copy filled in the meantime stays as it is.
void DarDeAltaAdministrador(Table& usuarios);
