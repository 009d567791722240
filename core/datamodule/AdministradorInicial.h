#pragma once

class Table;

// Gives an empty user table the installation's administrator
// (CodigoAdministrador), category "Administrador", who has no password.
void DarDeAltaAdministrador(Table& usuarios);
