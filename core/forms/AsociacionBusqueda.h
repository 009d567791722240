#pragma once

class QObject;

// The double-click of an edit: searches the table associated with it by name
// (BUSQUEDA.TXT), offering first to choose one, and to keep the choice, when
// none is; the chosen record's key becomes the edit's text.
void AsociarTablaBusqueda(QObject* sender);
