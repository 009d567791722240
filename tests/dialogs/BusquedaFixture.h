#pragma once

#include "core/sql/EjecucionSQL.h"
#include "tests/core/connections/ConexionesFixture.h"

#include <QApplication>
#include <QTimer>

#include <functional>

// An installation (the embedded server unless a test chooses Paradox) whose
// company database holds 250 customers, coded 1..250 and named "Cliente 001"..
// in the same order, with a second index on the name; user ANA is current.
class BusquedaFixture : public ConexionesFixture, public ModuloConUsuarios {
 protected:
  void Preparar(const QString& motor = u"Microsoft SQL Server"_qs) {
    instalacion.Engine(motor);
    Iniciar();
    CrearUsuarios(u"Codigo, Categoria, Configuracion"_qs,
                  u"('ANA', 'Normal', 'DatosBusqueda=PROVEEDO:Codigo(P),'), ('LUIS', 'Normal', NULL)"_qs);
    CodigoUsuarioActual = u"ANA"_qs;
    Ejecutar(u"CREATE TABLE CLIENTES (Codigo INTEGER NOT NULL, Nombre VARCHAR(40) NULL, Notas TEXT NULL, "
             "CONSTRAINT CLIENTES_Clave1 PRIMARY KEY (Codigo))"_qs);
    Ejecutar(u"CREATE INDEX CLIENTES_Clave2 ON CLIENTES (Nombre, Codigo)"_qs);
    QString valores;
    for (int codigo = 1; codigo <= 250; ++codigo)
      valores += u"INSERT INTO CLIENTES (Codigo, Nombre) VALUES (%1, 'Cliente %2'); "_qs.arg(codigo).arg(
          codigo, 3, 10, QLatin1Char('0'));
    Ejecutar(valores);
  }

  // Runs the action on the modal form once it is on screen.
  static void AlMostrarse(std::function<void(QWidget&)> accion) {
    QTimer::singleShot(0, [accion = std::move(accion)] {
      QWidget* modal = QApplication::activeModalWidget();
      if (!modal) {
        ADD_FAILURE() << "no form on screen";
        return;
      }
      accion(*modal);
      if (modal->isVisible()) modal->close();
    });
  }
};
