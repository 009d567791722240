#pragma once

#include "platform/data/Table.h"
#include "platform/report/RecordedPages.h"
#include "platform/report/ReportEngine.h"
#include "printing/Genelpro.h"
#include "tests/dialogs/BusquedaFixture.h"

#include <memory>

// Sales to list: a key, a name, an amount, two date-times and the
// instructions of each record, in an installation of the embedded server.
class ListadoFixture : public BusquedaFixture {
 protected:
  void SetUp() override {
    Preparar();
    Ejecutar(u"CREATE TABLE VENTAS (Codigo INTEGER NOT NULL, Nombre VARCHAR(20) NULL, Importe FLOAT NULL, "
             "FechaAlta DATETIME NULL, HoraEntrada DATETIME NULL, InstruccionesListado TEXT NULL, "
             "CONSTRAINT VENTAS_Clave1 PRIMARY KEY (Codigo))"_qs);
  }
  void TearDown() override { informe.reset(); }

  // Rows 1..n; row 2 has no date and instructions, row 3 is bold with its name right-aligned.
  void Ventas(int filas) {
    QString sql;
    for (int codigo = 1; codigo <= filas; ++codigo) {
      const QString fecha = codigo == 2 ? u"NULL"_qs : u"'2024-03-05 00:00:00'"_qs;
      const QString instrucciones = codigo == 3 ? u"'Negrita\r\nNombre=JR'"_qs : u"NULL"_qs;
      sql += u"INSERT INTO VENTAS VALUES (%1, 'Venta %1', %2, %3, '1899-12-30 08:05:09', %4); "_qs.arg(codigo)
                 .arg(codigo * 1.5)
                 .arg(fecha, instrucciones);
    }
    Ejecutar(sql);
    ventas.SetDatabaseName(BaseDatosBDE(u"Database"_qs));
    ventas.SetTableName(u"VENTAS"_qs);
    ventas.Open();
    informe = std::make_unique<TfGENELPRO>();
    informe->SetDataSet(&ventas);
    informe->Titulo = u"Listado de Ventas"_qs;
    informe->ListaTotales = u"Todas"_qs;
  }

  // The general parameters of the company, as a module program has them.
  void Parametros(const QString& columnas, const QString& valores) {
    Ejecutar(u"CREATE TABLE PARAGENE (Codigo INTEGER NULL, %1)"_qs.arg(columnas));
    Ejecutar(u"INSERT INTO PARAGENE VALUES (1, %1)"_qs.arg(valores));
    modulo.ParamGenerales->SetDatabaseName(BaseDatosBDE(u"Database"_qs));
    modulo.ParamGenerales->SetTableName(u"PARAGENE"_qs);
    modulo.ParamGenerales->Open();
  }

  const ReportItem& Elemento(const char* nombre) const {
    const ReportItem* elemento = informe->QuickReport().FindItem(QString::fromLatin1(nombre));
    if (!elemento) throw std::runtime_error(nombre);
    return *elemento;
  }

  Table ventas;
  std::unique_ptr<TfGENELPRO> informe;
};
