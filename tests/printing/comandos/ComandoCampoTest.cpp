#include "printing/Genelimp.h"
#include "printing/comandos/ComandoCampo.h"
#include "tests/core/connections/ConexionesFixture.h"
#include "tests/printing/comandos/DestinoPrueba.h"

namespace {

struct CasoCampo {
  const char* linea;
  const char* impreso;  // null: nothing is sent
};

// A document row of a real table, printed on a text printer and read back.
class Campo : public ConexionesFixture, public testing::WithParamInterface<CasoCampo> {
 protected:
  Campo() {
    Iniciar();
    Ejecutar(u"CREATE TABLE DOCIMP (Codigo INTEGER, Importe FLOAT NULL, Cero FLOAT NULL, Cantidad INTEGER NULL, "
             "Direccion VARCHAR(60) NULL, Fecha DATETIME NULL, Vacia DATETIME NULL, HoraEntrega DATETIME NULL, "
             "Nombre_Cliente VARCHAR(30) NULL, Notas TEXT NULL, Coste FLOAT NULL, "
             "CONSTRAINT DOCIMP_Clave1 PRIMARY KEY (Codigo))"_qs);
    Ejecutar(u"INSERT INTO DOCIMP VALUES (1, 1234.5, 0, 7, 'Calle Mayor;Madrid;28001', '2024-03-05 00:00:00', NULL, "
             "'1899-12-30 14:05:09', 'Ana', 'Uno', 99.5)"_qs);
    tabla.SetDatabaseName(BaseDatosBDE(u"Database"_qs));
    tabla.SetTableName(u"DOCIMP"_qs);
    tabla.Open();
    destino.datos = &tabla;
    destino.ModoTextoImpresora(0);
  }
  ~Campo() override {
    CamposNoVisiblesUsuario.clear();
    FormularioLlamador.clear();
  }

  Table tabla;
  DestinoPrueba destino;
};

TEST_P(Campo, PrintsTheValueByItsType) {
  CamposNoVisiblesUsuario = u"Coste"_qs;
  destino.Ejecutar(QString::fromUtf8(GetParam().linea));
  EXPECT_EQ(destino.crudo, GetParam().impreso ? QByteArray(GetParam().impreso) + '\r' : QByteArray()) << GetParam().linea;
}

INSTANTIATE_TEST_SUITE_P(
    Casos, Campo,
    testing::Values(CasoCampo{"Camp=0;0;0;Importe;;#,##0.00", "1.234,50"},
                    CasoCampo{"Camp=0;0;0;Importe;;#,##0.00;(#,##0.00)", "1.234,50"},
                    CasoCampo{"Camp=0;0;0;Cero;;#,##0.00;-#,##0.00;\"cero\"", "cero"},
                    CasoCampo{"Camp=0;0;0;Cero;;#,##0.00;;\"cero\"", "0,00"},
                    CasoCampo{"Camp=0;0;0;Cantidad", "7"},
                    CasoCampo{"Camp=0;0;0;Cantidad;;000", "007"},
                    CasoCampo{"Camp=0;0;0;Direccion,2", "Madrid"},
                    CasoCampo{"Camp=0;0;0;Direccion,9", ""},
                    CasoCampo{"Camp=0;0;0;Direccion", "Calle Mayor;Madrid;28001"},
                    CasoCampo{"Camp=0;0;0;Fecha", "05/03/2024"},
                    CasoCampo{"Camp=0;0;0;Vacia", ""},
                    CasoCampo{"Camp=0;0;0;HoraEntrega", "14:05:09"},
                    CasoCampo{"Camp=0;0;0;Coste;;0.00", ""},
                    CasoCampo{"Camp=0;0;0;Nombre-_Cliente", "Ana"},
                    CasoCampo{"Camp=0;0;0;NoExiste", nullptr},
                    CasoCampo{"Camp=0;0;0;Notas", nullptr},
                    CasoCampo{"Camp=0;0;0;CLIENTE.Nombre", nullptr}));

TEST_F(Campo, TheDesignTestPrintsTheAbbreviatedName) {
  FormularioLlamador = u"fGENEIMPR"_qs;
  destino.Ejecutar(u"Camp=0;0;0;NombreCliente"_qs);
  EXPECT_EQ(destino.crudo, QByteArray("N.Cliente\r"));
}

struct CasoReferenciaCampo {
  const char* texto;
  const char* nombre;
  int pieza;
  bool euro;
};

class ReferenciaDeCampo : public testing::TestWithParam<CasoReferenciaCampo> {};

TEST_P(ReferenciaDeCampo, SplitsTheReference) {
  const ReferenciaCampo referencia = LeerReferenciaCampo(QString::fromUtf8(GetParam().texto));
  EXPECT_EQ(referencia.nombre, QString::fromUtf8(GetParam().nombre));
  EXPECT_EQ(referencia.pieza, GetParam().pieza);
  EXPECT_EQ(referencia.euro, GetParam().euro);
}

INSTANTIATE_TEST_SUITE_P(Casos, ReferenciaDeCampo,
                         testing::Values(CasoReferenciaCampo{"Importe(Euro)", "Importe", 0, true},
                                         CasoReferenciaCampo{"Dirección-Envío,2", "DirecciónEnvío", 2, false},
                                         CasoReferenciaCampo{"Año-1", "Ano1", 0, false},
                                         CasoReferenciaCampo{"CLIENTE.Año-1", "CLIENTE.Año-1", 0, false},
                                         CasoReferenciaCampo{"Total(Euro),x", "Total", 0, true}));

}  // namespace
