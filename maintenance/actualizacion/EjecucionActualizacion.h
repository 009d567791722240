#pragma once

#include "platform/data/Query.h"

#include <QString>

#include <functional>

// The statements of the database update and its two logs. Every statement
// runs on one query of the general database's alias, so a leading "USE db"
// moves that one session and what follows runs there. Each added line is
// handed to the view at once.
class EjecucionActualizacion {
 public:
  enum class Tipo { Progreso, Error };
  using Vista = std::function<void(Tipo tipo, const QString& linea)>;

  explicit EjecucionActualizacion(Vista vista = {});

  // "Progreso" or "Error" as the kind word.
  void AnotarLinea(const QString& tipo, const QString& texto);
  void AnotarLinea(Tipo tipo, const QString& texto);
  const QString& Progreso() const { return progreso_; }
  const QString& Errores() const { return errores_; }
  bool HayErrores() const { return !errores_.isEmpty(); }
  void Limpiar();

  // Options: "Silenciosa" logs nothing and leaves error empty; "SinMensaje"
  // logs nothing but gives the error. True when it ran.
  bool EjecutarSentenciaActualizacion(const QString& sql, const QString& opciones, QString& error);
  // Opens the statement, left open on Consulta() ("Comando": executed).
  bool ConsultarSentenciaActualizacion(const QString& sql, const QString& opciones, QString& error);
  Query& Consulta() { return query_; }
  // Told of each statement before it runs.
  std::function<void(const QString& sql)> AlEjecutar;

  // Lets the window paint and take its messages between steps.
  static void ProcesarMensajes();
  // The older statement forms of SQL Server 2000.
  static bool ServidorSQL2000();

 private:
  bool ejecutar(const QString& sql, const QString& opciones, QString& error, bool abrir);

  Vista vista_;
  QString progreso_;
  QString errores_;
  Query query_;
};
