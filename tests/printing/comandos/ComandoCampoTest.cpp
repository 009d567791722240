#include "platform/data/Field.h"
#include "printing/Genelimp.h"
#include "printing/comandos/ComandoCampo.h"
#include "printing/comandos/GruposAnalisis.h"
#include "printing/formlang/ProgramaImpreso.h"
#include "tests/core/connections/ConexionesFixture.h"
#include "tests/core/datamodule/MonedaFixture.h"
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
             "Nombre_Cliente VARCHAR(30) NULL, Notas TEXT NULL, Coste FLOAT NULL, CodigoCliente VARCHAR(10) NULL, "
             "Referencia VARCHAR(30) NULL, "
             "CONSTRAINT DOCIMP_Clave1 PRIMARY KEY (Codigo))"_qs);
    Ejecutar(u"INSERT INTO DOCIMP VALUES (1, 1234.5, 0, 7, 'Calle Mayor;Madrid;28001', '2024-03-05 00:00:00', NULL, "
             "'1899-12-30 14:05:09', 'Ana', 'Uno', 99.5, 'O''B', 'PP:55/2')"_qs);
    Ejecutar(u"CREATE TABLE CLIENTE (Codigo VARCHAR(10), Nombre VARCHAR(40) NULL, CONSTRAINT CLIENTE_Clave1 PRIMARY KEY (Codigo))"_qs);
    Ejecutar(u"INSERT INTO CLIENTE VALUES ('C1', 'Uno'), ('C2', 'Dos'), ('O''B', 'Comillas')"_qs);
    Ejecutar(u"CREATE TABLE LINPED (Pedido INTEGER, Linea INTEGER, Articulo VARCHAR(20) NULL, "
             "CONSTRAINT LINPED_Clave1 PRIMARY KEY (Pedido, Linea))"_qs);
    Ejecutar(u"INSERT INTO LINPED VALUES (55, 1, 'Tornillo'), (55, 2, 'Tuerca'), (56, 2, 'Arandela')"_qs);
    Ejecutar(u"CREATE TABLE DOCUTRON (NombreTabla VARCHAR(30), ClaveTabla VARCHAR(136), Nombre VARCHAR(125), "
             "Ubicacion VARCHAR(255) NULL, CONSTRAINT DOCUTRON_Clave1 PRIMARY KEY (NombreTabla, ClaveTabla, Nombre))"_qs);
    Ejecutar(u"INSERT INTO DOCUTRON VALUES ('DOCIMP', '1|O''B', 'Plano', 'plano.pdf'), ('DOCIMP', '1', 'Plano', 'uno.pdf')"_qs);
    tabla.SetDatabaseName(BaseDatosBDE(u"Database"_qs));
    tabla.SetTableName(u"DOCIMP"_qs);
    tabla.Open();
    destino.datos = &tabla;
    destino.ModoTextoImpresora(0);
  }

  // The run's own view of the same document row, as the engine gives it, on a text printer.
  void Documento(DestinoPrueba& prueba) {
    prueba.datos = &tabla;
    prueba.ModoTextoImpresora(0);
    prueba.entorno.documentos.push_back(
        {{u"Codigo"_qs, 1}, {u"CodigoCliente"_qs, u"O'B"_qs}, {u"Referencia"_qs, u"PP:55/2"_qs}});
    prueba.entorno.PrimerDocumento();
    prueba.ejecucion.programa.separadorLibre = AnalizarPrograma(QString()).separadorLibre;
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

struct CasoConexion {
  const char* conexiones;  // "\n" between them
  const char* camp;
  const char* impreso;  // null: nothing is sent
};

TEST_F(Campo, RelatedRowsThroughTheConnectionLines) {
  const CasoConexion casos[] = {
      {"Conexion=CLIENTE>CodigoCliente", "CLIENTE.Nombre", "Comillas"},
      {"", "CLIENTE.Nombre", nullptr},
      {"Conexion=CLIENTE>\"C2\"", "CLIENTE.Nombre", "Dos"},
      {"Conexion=CLIENTE>\"C2\"\nConexion=CLIENTE>\"NADA\"", "CLIENTE.Nombre", nullptr},
      {"Conexion=CLIENTE>\"NADA\"\nConexion=CLIENTE>\"C1\"", "CLIENTE.Nombre", "Uno"},
      {"Conexion=CLIENTE.envio>\"C2\"", "CLIENTE.envio.Nombre", "Dos"},
      {"Conexion=CLIENTE.envio>\"C2\"", "CLIENTE.Nombre", nullptr},
      {"Conexion=LINPED>Referencia", "LINPED.Articulo", "Tuerca"},
      {"Conexion=LINPED>\"55\";\"1\"", "LINPED.Articulo", "Tornillo"},
      {"Conexion=NOHAY>CodigoCliente", "NOHAY.Nombre", nullptr},
      {"Conexion=CLIENTE>CodigoCliente", "CLIENTE.NoExiste", nullptr},
      {"Conexion=LINPED>\"x\";\"1\"", "LINPED.Articulo", nullptr},
      {"Conexion=CLIENTE>\"C1\"", "CLIENTE.Nombre,1", "Uno"},
      {"Conexion=DOCUTRON>\"DOCIMP\";Codigo\"+|+\"CodigoCliente;\"Plano\"", "DOCUTRON.Ubicacion", "plano.pdf"},
      {"Conexion=DOCUTRON>\"DOCIMP\";Codigo;\"Plano\"", "DOCUTRON.Ubicacion", "uno.pdf"},
      {"Conexion=DOCUTRON>\"DOCIMP\";Codigo\"+|+\"NoExiste;\"Plano\"", "DOCUTRON.Ubicacion", nullptr},
      {"Conexion=LINPED>\"55\";Codigo\"+|+\"Codigo", "LINPED.Articulo", nullptr},
  };
  for (const CasoConexion& caso : casos) {
    DestinoPrueba prueba;
    Documento(prueba);
    for (const QString& conexion : QString::fromUtf8(caso.conexiones).split(u'\n', Qt::SkipEmptyParts)) prueba.Ejecutar(conexion);
    prueba.Ejecutar(u"Camp=0;0;0;"_qs + QString::fromUtf8(caso.camp));
    EXPECT_EQ(prueba.crudo, caso.impreso ? QByteArray(caso.impreso) + '\r' : QByteArray()) << caso.conexiones << " " << caso.camp;
  }
  Table nohay;
  nohay.SetDatabaseName(BaseDatosBDE(u"Database"_qs));
  nohay.SetTableName(u"NOHAY"_qs);
  EXPECT_FALSE(nohay.Exists());
}

// Key values are bound to the index search, never pasted into a statement.
TEST_F(Campo, HostileKeyValuesFindTheirOwnRows) {
  Ejecutar(u"CREATE TABLE CLIENTEX (Codigo VARCHAR(255), Nombre VARCHAR(40) NULL, "
           "CONSTRAINT CLIENTEX_Clave1 PRIMARY KEY (Codigo))"_qs);
  const QStringList claves = {u"O'Brien|1"_qs,   u"a\"b\"'"_qs, u"<99>x"_qs, u"x;y|z"_qs,
                              u"\x01\t\x1b\r\n"_qs, u"%_*?"_qs,    QString(1 << 20, u'x')};
  Table clientes;
  clientes.SetDatabaseName(BaseDatosBDE(u"Database"_qs));
  clientes.SetTableName(u"CLIENTEX"_qs);
  clientes.Open();
  for (int n = 0; n < claves.size(); ++n) {
    clientes.Append();
    clientes.FieldByName(u"Codigo"_qs).SetAsString(claves[n]);
    clientes.FieldByName(u"Nombre"_qs).SetAsString(u"Fila %1"_qs.arg(n));
    clientes.Post();
  }
  for (int n = 0; n <= claves.size(); ++n) {
    SCOPED_TRACE(n);
    DestinoPrueba prueba;
    Documento(prueba);
    prueba.entorno.documentos[0][u"CodigoCliente"_qs] = n < claves.size() ? claves[n] : u"O'Brien|2"_qs;
    prueba.Ejecutar(u"Conexion=CLIENTEX>CodigoCliente"_qs);
    prueba.Ejecutar(u"Camp=0;0;0;CLIENTEX.Nombre"_qs);
    EXPECT_EQ(prueba.crudo, n < claves.size() ? u"Fila %1\r"_qs.arg(n).toLatin1() : QByteArray());
  }
}

TEST_F(Campo, ExpressionsReadRelatedFields) {
  DestinoPrueba prueba;
  Documento(prueba);
  prueba.Ejecutar(u"Conexion=LINPED>\"55\";\"2\""_qs);
  prueba.Ejecutar(u"Expr=0;0;0;LINPED.Pedido * 2 + LINPED.Linea;;0"_qs);
  prueba.Ejecutar(u"Expr=0;0;0;CLIENTE.Nombre + 1;;0"_qs);
  EXPECT_EQ(prueba.crudo, QByteArray("112\r1\r"));
}

TEST_F(Campo, AnalysisGroupsOfTheRowByTheirDefinition) {
  QStringList preguntas;
  GruposAnalisisRegistro() = [&](const QString& tabla, const QString& categoria, const QString& clave) {
    preguntas << tabla + u'|' + categoria + u'|' + clave;
    return u"NORTE"_qs;
  };
  DestinoPrueba prueba;
  Documento(prueba);
  prueba.Ejecutar(u"GrupoAnalisis01=CLIENTE,Todas,CodigoCliente"_qs);
  prueba.Ejecutar(u"Camp=0;0;0;GrupoAnalisis01"_qs);
  prueba.Ejecutar(u"Camp=0;0;0;GrupoAnalisis02"_qs);
  GruposAnalisisRegistro() = nullptr;
  EXPECT_EQ(prueba.crudo, QByteArray("NORTE\r\r"));
  EXPECT_EQ(preguntas, QStringList{u"CLIENTE|Todas|O'B"_qs});
}

TEST_F(Campo, AMemoOutsideTheLinesPrintsTheLinesAsked) {
  tabla.Edit();
  tabla.FieldByName(u"Notas"_qs).SetAsString(u"uno|dos\r\ntres"_qs);
  tabla.Post();
  for (const auto& [lineas, impreso] : {std::pair{"0", QByteArray()}, std::pair{"2", QByteArray("\n\n\n\n\nuno \r\ndos \r")},
                                        std::pair{"9", QByteArray("\n\n\n\n\nuno \r\ndos \r\ntres \r")}}) {
    DestinoPrueba prueba;
    Documento(prueba);
    prueba.Ejecutar(u"Camp=0;5;10;Notas;"_qs + QString::fromLatin1(lineas));
    EXPECT_EQ(prueba.crudo, impreso) << lineas;
  }
}

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

namespace {

struct CasoEuro {
  int monedaDocumento;
  double cambioDocumento;
  double importe;
  const char* impreso;
};

// Pesetas are the base and national currency, the euro is 166.386 of them; the euro display is off.
class CampoEuro : public MonedaFixture, public testing::WithParamInterface<CasoEuro> {};

TEST_P(CampoEuro, AmountsConvertFromTheDocumentsCurrency) {
  Ejecutar(u"CREATE TABLE DOCEURO (Codigo INTEGER, Importe FLOAT NULL, CONSTRAINT DOCEURO_Clave1 PRIMARY KEY (Codigo))"_qs);
  Ejecutar(u"INSERT INTO DOCEURO VALUES (1, %1)"_qs.arg(GetParam().importe, 0, 'f', 4));
  Table tabla;
  tabla.SetDatabaseName(BaseDatosBDE(u"Database"_qs));
  tabla.SetTableName(u"DOCEURO"_qs);
  tabla.Open();
  DestinoPrueba destino;
  destino.datos = &tabla;
  destino.ModoTextoImpresora(0);
  destino.ejecucion.codigoMonedaDocumento = GetParam().monedaDocumento;
  destino.ejecucion.cambioDocumento = GetParam().cambioDocumento;
  destino.Ejecutar(u"Camp=0;0;0;Importe(Euro);;#,##0.00"_qs);
  EXPECT_EQ(destino.crudo, QByteArray(GetParam().impreso) + '\r');
}

INSTANTIATE_TEST_SUITE_P(Casos, CampoEuro,
                         testing::Values(CasoEuro{1, 1, 1663.86, "10,00"}, CasoEuro{2, 1, 10, "1.664,00"},
                                         CasoEuro{3, 2, 1663.86, "20,00"}));

}  // namespace
