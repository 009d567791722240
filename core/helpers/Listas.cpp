#include "core/helpers/Listas.h"

QString ValorStrings(const QString& nombre, const StringList& lista) { return lista.Values(nombre); }

QString ValorLista(const QString& nombre, const QString& texto) {
  StringList lista;
  lista.SetText(texto);
  return lista.Values(nombre);
}

void AsignarValorLista(const QString& nombre, const QString& valor, StringList& lista) { lista.SetValue(nombre, valor); }
