#pragma once

#include "dialogs/SentenciaBusqueda.h"

#include <QString>

#include <memory>

class ClientDataset;
class Query;

// The rows of a search held by a client dataset fed by its query: at once
// when the statement bounds them, else a packet at a time as they are
// visited, each packet by its own statement; the query is closed between
// statements. A failing statement is silent.
class LecturaPaquetes {
 public:
  LecturaPaquetes(ClientDataset& filas, Query& consulta);

  // Opens the rows of the statement, all at once.
  bool Abrir(const QString& sentencia);
  // Opens the rows of the packets.
  bool Abrir(std::unique_ptr<PaquetesBusqueda> paquetes);
  void Cerrar();
  // The statement of the first rows read; empty once closed.
  const QString& Sentencia() const { return sentencia_; }

 private:
  bool abrir(int registros);

  ClientDataset& filas_;
  Query& consulta_;
  std::unique_ptr<PaquetesBusqueda> paquetes_;
  QString sentencia_;
};
