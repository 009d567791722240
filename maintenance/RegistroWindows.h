#pragma once

#include <QString>

// The registry of this system: REGISTRO.CFG in the program folder, an INI
// file with one section per key path under HKEY_LOCAL_MACHINE (a leading
// "\" ignored; other roots name their root first) and its values written
// "dword:N" (a decimal number), "hex:NN,NN..." or as text.
class RegistroWindows {
 public:
  static constexpr auto kArchivo = "REGISTRO.CFG";

  // The file of the program folder.
  RegistroWindows();
  explicit RegistroWindows(QString archivo) : archivo_(std::move(archivo)) {}

  // The value of the kind asked for as text ("dword": the number, "string":
  // the text, "binary": the first byte as a decimal number); raises
  // Exception "Invalid data type for '<nombre>'" for a missing key or value,
  // or one of another kind.
  QString Leer(const QString& raiz, const QString& clave, const QString& nombre, const QString& tipo) const;
  bool ExisteClave(const QString& raiz, const QString& clave) const;
  // Writes the value as the kind ("dword": the number of the text, 0 when
  // it is none; "binary": one byte), creating the key; raises Exception,
  // with the file as it was, when it cannot be written.
  void Escribir(const QString& raiz, const QString& clave, const QString& nombre, const QString& valor,
                const QString& tipo);

 private:
  QString archivo_;
};
