#pragma once

#include "core/datamodule/Genemodu.h"
#include "tests/core/connections/ConexionesFixture.h"

// Base and national currency 1 (pesetas, no decimals), the euro 2.
class MonedaFixture : public ConexionesFixture {
 protected:
  MonedaFixture() {
    Iniciar();
    ModuloDatos = &modulo;
    Ejecutar(u"CREATE TABLE MONEDA (Codigo INT, Cambio FLOAT NULL, Decimales INT NULL, "
             "CONSTRAINT MONEDA_Clave1 PRIMARY KEY (Codigo))"_qs);
    Ejecutar(u"INSERT INTO MONEDA VALUES (1, 1, 0)"_qs);
    Ejecutar(u"INSERT INTO MONEDA VALUES (2, 166.386, 2)"_qs);
    Ejecutar(u"INSERT INTO MONEDA VALUES (3, 0, 2)"_qs);
    Ejecutar(u"CREATE TABLE PARAGENE (Codigo INT, CodigoMonedaBase INT NULL, CodigoMonedaEuro INT NULL, "
             "CodigoMonedaNacional INT NULL, CONSTRAINT PARAGENE_Clave1 PRIMARY KEY (Codigo))"_qs);
    Parametros(1, 2, 1);
    modulo.Moneda->SetDatabaseName(BaseDatosBDE(u"Database"_qs));
    modulo.Moneda->SetTableName(u"MONEDA"_qs);
    DecimalesMonedaBase = 0;
    PlantillasNumericas[3] = u"#,##0.00"_qs;
  }
  ~MonedaFixture() override { ModuloDatos = nullptr; }

  void Parametros(int base, int euro, int nacional) {
    modulo.ParamGenerales->Close();
    Ejecutar(u"DELETE FROM PARAGENE"_qs);
    Ejecutar(u"INSERT INTO PARAGENE VALUES (1, %1, %2, %3)"_qs.arg(base).arg(euro).arg(nacional));
    modulo.ParamGenerales->SetDatabaseName(BaseDatosBDE(u"Database"_qs));
    modulo.ParamGenerales->SetTableName(u"PARAGENE"_qs);
    modulo.ParamGenerales->Open();
  }

  TModuloDatos modulo;
};
