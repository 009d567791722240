#include "core/datamodule/ArchivosValores.h"

#include "core/helpers/Listas.h"
#include "platform/IniFile.h"
#include "platform/StringList.h"

void LeerValorTexto(const QString& archivo, const QString& nombre, QString& valor, const QString& defecto) {
  StringList lineas;
  try {
    lineas.LoadFromFile(archivo);
  } catch (const std::exception&) {
    lineas.Clear();
  }
  valor = ValorStrings(nombre, lineas);
  if (valor.isEmpty()) valor = defecto;
}

bool EscribirValorINI(const QString& archivo, const QString& seccion, const QString& clave, const QString& valor) {
  try {
    IniFile(archivo).WriteString(seccion, clave, valor);
    return true;
  } catch (const std::exception&) {
    return false;
  }
}
