#include "printing/CeldasListado.h"

#include "core/datamodule/Genemodu.h"
#include "core/forms/FormatosCampo.h"
#include "platform/data/Field.h"
#include "platform/data/Table.h"
#include "tests/core/connections/ConexionesFixture.h"

#include <gtest/gtest.h>

namespace {

class CeldasListado : public ConexionesFixture {
 protected:
  CeldasListado() {
    Iniciar();
    Ejecutar(u"CREATE TABLE PARTE (Codigo INTEGER, Peso FLOAT NULL, HoraEntrada DATETIME NULL, "
             "FechaAlta DATETIME NULL, CONSTRAINT PARTE_Clave1 PRIMARY KEY (Codigo))"_qs);
    Ejecutar(u"INSERT INTO PARTE VALUES (1, 1234.5, '2024-03-05 08:30:15', '1899-12-30 00:00:00'), "
             "(2, 0, NULL, '2024-03-05 00:00:00')"_qs);
    partes.SetDatabaseName(BaseDatosBDE(u"Database"_qs));
    partes.SetTableName(u"PARTE"_qs);
    partes.Open();
  }
  QString Texto(const QString& campo) { return TextoDetalle(partes.FieldByName(campo)); }

  TModuloDatos modulo;
  Table partes;
};

TEST_F(CeldasListado, ValuesPrintInTheirListingFormat) {
  FormatoNumericoEstandar = u"#,##0.00"_qs;
  EXPECT_EQ(Texto(u"Peso"_qs), u"1.234,50"_qs);
  EXPECT_EQ(Texto(u"HoraEntrada"_qs), u"08:30:15"_qs);
  EXPECT_EQ(Texto(u"FechaAlta"_qs), QString());  // a zero date
  EXPECT_EQ(Texto(u"Codigo"_qs), u"1"_qs);
  partes.Next();
  EXPECT_EQ(Texto(u"FechaAlta"_qs), u"05/03/2024"_qs);
}

TEST(CeldasListadoInstrucciones, AlignmentBoldAndTotals) {
  const QStringList instrucciones{u"Negrita"_qs, u"Importe=JR"_qs, u"Nombre=XX"_qs};
  EXPECT_EQ(AlineacionDetalle(true, ftFloat, {}, u"Importe"_qs), Qt::AlignRight);
  EXPECT_EQ(AlineacionDetalle(false, ftFloat, {}, u"Importe"_qs), Qt::AlignLeft);  // cards start left
  EXPECT_EQ(AlineacionDetalle(false, ftFloat, instrucciones, u"Importe"_qs), Qt::AlignRight);
  EXPECT_EQ(AlineacionDetalle(true, ftString, instrucciones, u"Nombre"_qs), Qt::AlignLeft);
  EXPECT_EQ(AlineacionDetalle(true, ftString, instrucciones, u"Impor"_qs), Qt::AlignLeft);
  EXPECT_TRUE(DetalleEnNegrita(instrucciones));
  EXPECT_FALSE(DetalleEnNegrita({u"Importe=JR"_qs, u"Negrita"_qs}));

  EXPECT_TRUE(ColumnaConTotal(ftFloat, u"Peso"_qs, u"Todas"_qs));
  EXPECT_FALSE(ColumnaConTotal(ftInteger, u"Codigo"_qs, u"Todas"_qs));
  EXPECT_TRUE(ColumnaConTotal(ftFloat, u"Cantidad"_qs, u"Importe,Cantidad"_qs));
  EXPECT_FALSE(ColumnaConTotal(ftFloat, u"Peso"_qs, u"Importe,Cantidad"_qs));
  EXPECT_FALSE(ColumnaConTotal(ftString, u"Importe"_qs, u"Importe,Cantidad"_qs));
}

TEST(CeldasListadoInstrucciones, TheRestrictionsHeaderReadsOnOneLine) {
  EXPECT_EQ(TextoRestricciones({{u"Codigo"_qs, u"1"_qs, u"9"_qs}, {u"Nombre"_qs, QString(), QString()}},
                               u"(Nombre = 'A') AND\r\n(Zona <> 'Edit')"_qs),
            u"Desde Codigo: 1, Hasta Codigo: 9,  Filtros: (Nombre = 'A') AND(Zona <> '')"_qs);
  EXPECT_EQ(TextoRestricciones({{u"Nombre"_qs, QString(), u"M"_qs}, {u"Codigo"_qs, u"5"_qs, QString()}}, QString()),
            u"Desde Nombre: , Hasta Nombre: M, Desde Codigo: 5, Hasta Codigo: , "_qs);
  EXPECT_EQ(TextoRestricciones({}, QString()), QString());
}

}  // namespace
