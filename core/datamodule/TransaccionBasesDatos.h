#pragma once

#include <QStringList>

#include <memory>
#include <vector>

class EngineConnection;
class WriteTransaction;

// The writes on the files some databases live on, all or nothing: a
// transaction of its own on each file, or a part of the one the program
// already has running there. Each file's write lock is taken at once,
// waiting while another running program holds it. What is not confirmed is
// undone when it goes. A database that cannot be reached is left out: its
// own opening reports it.
class TransaccionBasesDatos {
 public:
  explicit TransaccionBasesDatos(const QStringList& basesDatos);
  ~TransaccionBasesDatos();
  TransaccionBasesDatos(const TransaccionBasesDatos&) = delete;
  TransaccionBasesDatos& operator=(const TransaccionBasesDatos&) = delete;

  void Confirmar();

 private:
  std::vector<std::shared_ptr<EngineConnection>> conexiones_;
  std::vector<std::unique_ptr<WriteTransaction>> transacciones_;
};
