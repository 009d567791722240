#include "core/datamodule/TextosPlantilla.h"
#include "core/services/VisorAgregarDatos.h"
#include "core/services/VisorCampos.h"
#include "dialogs/Genesele.h"
#include "dialogs/Genetext.h"
#include "dialogs/Genevlis.h"
#include "platform/FormRegistry.h"
#include "platform/data/Table.h"
#include "tests/core/connections/ConexionesFixture.h"
#include "tests/dialogs/CapturaFormulario.h"
#include "tests/dialogs/FormularioEnPantalla.h"

#include <QGuiApplication>
#include <QHeaderView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTableWidget>
#include <QTest>
#include <QToolButton>

namespace {

void pulsar(QWidget& formulario, const char* boton) {
  QTest::mouseClick(formulario.findChild<QPushButton*>(QLatin1String(boton)), Qt::LeftButton);
}

void valor(TfGENEVLIS& formulario, int fila, const QString& texto) { formulario.StringGrid().item(fila, 1)->setText(texto); }

// Where a cell is drawn in the form, inside its lines.
QRect celda(TfGENEVLIS& formulario, int fila, int columna) {
  const QTableWidget& rejilla = formulario.StringGrid();
  const QRect enRejilla = rejilla.visualRect(rejilla.model()->index(fila, columna));
  return QRect(rejilla.viewport()->mapTo(&formulario, enRejilla.topLeft()), enRejilla.size()).adjusted(1, 1, -2, -2);
}

class Genevlis : public ConexionesFixture {
 protected:
  Genevlis() {
    Iniciar();
    RegistrarGENEVLIS();
    RegistrarGENESELE();
    RegistrarGENETEXT();
    PosicionGENEVLIS = {};
    Ejecutar(u"CREATE TABLE CLIENTE (Codigo VARCHAR(10), CONSTRAINT CLIENTE_Clave1 PRIMARY KEY (Codigo))"_qs);
    Ejecutar(u"INSERT INTO CLIENTE VALUES ('C1')"_qs);
  }
  ~Genevlis() override {
    FormRegistry::Clear();
    PosicionGENEVLIS = {};
  }
};

const QString kDatos =
    u"Titulo=Datos\r\nDefinicionCampos=Serie,ftString,1,,,A/B;CodigoCliente,ftString,10,,CLIENTE;"
    "Otro,ftString,10,,CLIENTE,,NoValidar;Fijo(*),ftString,5;Notas,ftMemo;Observaciones,ftMemo"_qs;
const QString kValores = u"C\r\nX\r\nY\r\nF\r\nuno\r\ndos\r\ntres"_qs;

}  // namespace

TEST_F(Genevlis, ChecksRefuseWrongValuesWithTheirWarningsAndKeepTheWindowOpen) {
  mensajes.Expect(u"A"_qs).Expect(u"A"_qs).Expect(u"A"_qs);
  AlMostrarse<TfGENEVLIS>(fGENEVLIS, [](TfGENEVLIS& formulario) {
    EXPECT_EQ(formulario.Caption(), u"Datos"_qs);
    EXPECT_EQ(formulario.StringGrid().horizontalHeaderItem(0)->text(), u"      Campo"_qs);
    pulsar(formulario, "pbGrabar");
    ASSERT_TRUE(formulario.isVisible());
    valor(formulario, 0, QString());
    valor(formulario, 1, u"C1"_qs);
    pulsar(formulario, "pbGrabar");
    ASSERT_TRUE(formulario.isVisible());
    valor(formulario, 0, u"b"_qs);
    pulsar(formulario, "pbGrabar");
    EXPECT_EQ(formulario.ModalResult(), mrOk);
  });
  EXPECT_EQ(VisorAgregarDatos(kDatos, kValores),
            u"Serie=b\r\nCodigoCliente=C1\r\nOtro=Y\r\nFijo(*)=F\r\nNotas=uno\r\nObservaciones=dos\r\n"_qs);
  EXPECT_EQ(mensajes.Texts(), QStringList({u"¡El valor para el campo Serie es incorrecto!"_qs,
                                           u"¡No existe el valor para el campo Codigo Cliente!"_qs,
                                           u"¡El valor para el campo Serie es incorrecto!"_qs}));
}

TEST_F(Genevlis, MemoRowsOpenTheirOwnTextAndACancelledListEmptiesTheValue) {
  AlMostrarse<TfGENEVLIS>(fGENEVLIS, [](TfGENEVLIS& formulario) {
    QStringList vistos;
    for (const int fila : {4, 5, 4}) {
      AlMostrarse<TfGENETEXT>(fGENETEXT, [&vistos](TfGENETEXT& texto) {
        auto* memo = texto.findChild<QPlainTextEdit*>(u"Memo1"_qs);
        vistos.append(texto.Caption() + u':' + memo->toPlainText());
        memo->setPlainText(memo->toPlainText() + u"\nmás"_qs);
        pulsar(texto, "pbAceptar");
      });
      formulario.EditarFila(fila);
    }
    EXPECT_EQ(vistos, QStringList({u"Contenido del Campo: Notas:uno"_qs, u"Contenido del Campo: Observaciones:lí\nnea"_qs,
                                   u"Contenido del Campo: Notas:uno\nmás"_qs}));
    EXPECT_EQ(formulario.StringGrid().item(4, 1)->text(), u"uno·más·más"_qs);
    AlMostrarse<TfGENESELE>(fGENESELE, [](TfGENESELE& lista) {
      EXPECT_EQ(lista.Caption(), u"Selección de Serie"_qs);
      lista.close();
    });
    formulario.EditarFila(0);
    EXPECT_EQ(formulario.StringGrid().item(0, 1)->text(), QString());
    // A locked row offers nothing and never takes the focus.
    formulario.EditarFila(3);
    formulario.StringGrid().setCurrentCell(3, 1);
    EXPECT_NE(formulario.StringGrid().currentRow(), 3);
  });
  EXPECT_EQ(VisorAgregarDatos(kDatos, u"A\r\nC1\r\n\r\nF\r\nuno\r\nlí·nea"_qs), QString());
}

TEST_F(Genevlis, EachModeClosesOnlyOnItsOwnKeys) {
  struct Caso {
    const char* modo;
    Qt::Key tecla;
    Qt::KeyboardModifiers mandos;
    bool cierra;
  } const casos[] = {
      {"VisorCampos", Qt::Key_Z, Qt::ControlModifier, true},
      {"VisorAgregarDatos", Qt::Key_Z, Qt::ControlModifier, false},
      {"VisorAgregarDatos", Qt::Key_Plus, Qt::ControlModifier | Qt::KeypadModifier, true},
      {"VisorCamposUsuario", Qt::Key_Plus, Qt::ControlModifier | Qt::KeypadModifier, true},
      {"VisorCamposUsuario", Qt::Key_Plus, Qt::ControlModifier, false},
      {"VisorCampos", Qt::Key_Plus, Qt::ControlModifier | Qt::KeypadModifier, false},
      {"VisorCampos", Qt::Key_Escape, Qt::NoModifier, true},
  };
  for (const Caso& caso : casos) {
    SCOPED_TRACE(std::string(caso.modo) + " " + std::to_string(caso.tecla));
    bool cerrado = false;
    AlMostrarse<TfGENEVLIS>(fGENEVLIS, [&caso, &cerrado](TfGENEVLIS& formulario) {
      EXPECT_EQ(formulario.findChild<QWidget*>(u"PanelControl"_qs)->isVisible(), caso.modo != std::string("VisorCampos"));
      QTest::keyClick(formulario.StringGrid().viewport(), caso.tecla, caso.mandos);
      cerrado = !formulario.isVisible();
      EXPECT_NE(formulario.ModalResult(), mrOk);
    });
    ModoVisorGENEVLIS = QLatin1String(caso.modo);
    TfGENEVLIS formulario;
    formulario.StringGrid().setRowCount(1);
    formulario.StringGrid().setItem(0, 0, new QTableWidgetItem(u"A"_qs));
    formulario.StringGrid().setItem(0, 1, new QTableWidgetItem(u"1"_qs));
    formulario.ShowModal();
    EXPECT_EQ(cerrado, caso.cierra);
  }
}

TEST_F(Genevlis, HeightAutoFitAndPlacementAtTheCreationWidth) {
  const int pantalla = QGuiApplication::primaryScreen()->availableGeometry().height();
  QString definiciones = u"DefinicionCampos="_qs;
  for (int i = 0; i < 60; ++i) definiciones += u"CampoDeNombreMuyLargoNumero%1,ftString,10;"_qs.arg(i);
  int anchoCreacion = 0;
  AlMostrarse<TfGENEVLIS>(fGENEVLIS, [&anchoCreacion, pantalla](TfGENEVLIS& formulario) {
    QTableWidget& rejilla = formulario.StringGrid();
    EXPECT_LE(formulario.height(), pantalla - 100);
    EXPECT_EQ(rejilla.rowAt(rejilla.viewport()->height() - 1), 18);
    anchoCreacion = formulario.width();
    const int columna = rejilla.columnWidth(0);
    QTest::mouseClick(&formulario.pbAutoajustar(), Qt::LeftButton);
    EXPECT_GT(rejilla.columnWidth(0), columna);
    EXPECT_EQ(formulario.width() - anchoCreacion, rejilla.columnWidth(0) - columna);
    formulario.move(40, 50);
  });
  VisorAgregarDatos(u"Opciones=RespetarNombresCampos\r\n"_qs + definiciones, QString());
  EXPECT_EQ(PosicionGENEVLIS.Left, 40);
  EXPECT_EQ(PosicionGENEVLIS.Width, anchoCreacion);
  AlMostrarse<TfGENEVLIS>(fGENEVLIS, [anchoCreacion](TfGENEVLIS& formulario) {
    EXPECT_EQ(formulario.pos(), QPoint(40, 50));
    EXPECT_EQ(formulario.width(), anchoCreacion);
  });
  VisorAgregarDatos(definiciones, QString());
}

TEST_F(Genevlis, TheAddDataGridGivesItsRowsBackThroughTheForm) {
  struct Caso {
    QString opciones;
    QString valores;
    QString resultado;
  } const casos[] = {
      {u"DefinicionCampos=Nombre,ftString,100;Ciudad,ftString,100;"_qs, QString(), u"Nombre=\r\nCiudad=\r\n"_qs},
      {u"DefinicionCampos=HoraInicio,ftDateTime;HoraFin,ftDateTime;Respuesta,ftString,2,,,Si/No"_qs,
       u"14:30\r\nnada\r\nSI"_qs, u"HoraInicio=14:30:00\r\nHoraFin=00:00:00\r\nRespuesta=SI\r\n"_qs},
  };
  for (const Caso& caso : casos) {
    AlMostrarse<TfGENEVLIS>(fGENEVLIS, [](TfGENEVLIS& formulario) { pulsar(formulario, "pbGrabar"); });
    EXPECT_EQ(VisorAgregarDatos(caso.opciones, caso.valores), caso.resultado);
  }
}

// Each mode as a person sees it: names in navy, values in black, a locked
// row's value in the button-face colour.
TEST_F(Genevlis, NamesValuesAndLockedRowsAreDrawnInTheirColours) {
  Ejecutar(u"CREATE TABLE FICHA (Codigo INTEGER, NombreCliente VARCHAR(20) NULL, Notas TEXT NULL, "
           "CONSTRAINT FICHA_Clave1 PRIMARY KEY (Codigo))"_qs);
  Ejecutar(u"INSERT INTO FICHA VALUES (7, 'Ana María', 'uno\r\ndos')"_qs);
  Table ficha;
  ficha.SetDatabaseName(BaseDatosBDE(u"Database"_qs));
  ficha.SetTableName(u"FICHA"_qs);
  ficha.Open();
  struct Caso {
    const char* captura;
    std::function<void()> abrir;
    int filaBloqueada;  // -1: none
  } const casos[] = {
      {"GENEVLIS-VisorCampos", [&ficha] { VisorCampos(ficha); }, -1},
      {"GENEVLIS-VisorAgregarDatos", [] { VisorAgregarDatos(kDatos, kValores); }, 3},
  };
  for (const Caso& caso : casos) {
    SCOPED_TRACE(caso.captura);
    AlMostrarse<TfGENEVLIS>(fGENEVLIS, [&caso](TfGENEVLIS& formulario) {
      const QImage imagen = CapturaFormulario(formulario, QLatin1String(caso.captura));
      const QColor nombre = TintaMasOscura(imagen, celda(formulario, 1, 0));
      EXPECT_GT(nombre.blue() - nombre.red(), 60) << qPrintable(nombre.name());
      EXPECT_LT(TintaMasOscura(imagen, celda(formulario, 1, 1)).lightness(), 60);
      if (caso.filaBloqueada < 0) return;
      const QColor boton = formulario.StringGrid().palette().color(QPalette::Button);
      const QColor bloqueado = TintaMasOscura(imagen, celda(formulario, caso.filaBloqueada, 1));
      EXPECT_LT(bloqueado.lightness(), 255) << "its value is drawn";
      EXPECT_GE(bloqueado.lightness(), boton.lightness() - 8) << qPrintable(bloqueado.name());
    });
    caso.abrir();
  }
}

TEST_F(Genevlis, ATemplateIsFilledInThroughTheForm) {
  Ejecutar(u"CREATE TABLE TEXTO (Codigo VARCHAR(10), Descripcion VARCHAR(40) NULL, Texto TEXT NULL, "
           "Tipo VARCHAR(20) NULL, CONSTRAINT TEXTO_Clave1 PRIMARY KEY (Codigo))"_qs);
  Ejecutar(u"INSERT INTO TEXTO VALUES ('FICHA', 'Ficha de cliente', 'NombreCliente: x\r\nFecha:', 'Plantilla')"_qs);
  AlMostrarse<TfGENEVLIS>(fGENEVLIS, [](TfGENEVLIS& formulario) {
    EXPECT_EQ(formulario.Caption(), u"Ficha de cliente"_qs);
    EXPECT_EQ(formulario.StringGrid().item(0, 0)->text(), u"NombreCliente"_qs);
    valor(formulario, 0, u"Ana"_qs);
    pulsar(formulario, "pbGrabar");
  });
  EXPECT_EQ(TextoPlantilla(u"FICHA"_qs), u"NombreCliente: Ana\r\nFecha: \r\n"_qs);
}
