#pragma once

#include <QObject>
#include <QStringList>

#include <memory>
#include <vector>

class Application;

// The main block: creates the splash and the program's long-lived forms in
// their fixed order, runs the message loop, and frees the forms in reverse
// order when it ends.
class ProgramaZEM {
 public:
  static constexpr auto kTitulo = "Gestor de Aplicaciones ZEM";
  static constexpr auto kArchivoAyuda = "ZEMWIN.HLP";
  static constexpr auto kVersion = "Versión 2024b";

  // The parameters are the program's, without its own name.
  ProgramaZEM(Application& application, QStringList parametros);
  ~ProgramaZEM();
  ProgramaZEM(const ProgramaZEM&) = delete;
  ProgramaZEM& operator=(const ProgramaZEM&) = delete;

  // Everything before the message loop.
  void Iniciar();
  // The message loop, which ends at once when start-up asked the program to end.
  int Ejecutar();

  // The component names of the forms created, in creation order.
  QStringList FormulariosCreados() const;

 private:
  template <class T, class... Argumentos>
  T* Crear(T*& global, Argumentos&&... argumentos);
  // A start-up form someone else owns from now on.
  void soltar(const QObject* formulario);

  Application& application_;
  QStringList parametros_;
  std::vector<std::unique_ptr<QObject>> formularios_;
  bool presentadorInstalado_ = false;
};
