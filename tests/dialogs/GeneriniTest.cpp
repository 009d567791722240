#include "core/datamodule/EditorRegistroINI.h"
#include "dialogs/Generini.h"
#include "platform/FormRegistry.h"
#include "tests/dialogs/CapturaFormulario.h"
#include "tests/dialogs/FormularioEnPantalla.h"
#include "tests/fixtures/ScriptedPresenter.h"

#include <QComboBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QScreen>
#include <QTableWidget>
#include <QTest>
#include <QToolButton>

namespace {

void pulsar(QWidget& formulario, const char* boton) {
  QTest::mouseClick(formulario.findChild<QPushButton*>(QLatin1String(boton)), Qt::LeftButton);
}

QWidget* editorDe(TfGENERINI& formulario) { return formulario.StringGrid().indexWidget(formulario.StringGrid().currentIndex()); }

QString editar(const QString& valores, const QString& plantilla, const QString& estilos,
               const QString& opciones = QString()) {
  QString resultado;
  EditorRegistroINI(valores, plantilla, QString(), u"Dato;Valor"_qs, estilos, opciones, resultado);
  return resultado;
}

QString filas(int cuantas) {
  QString texto;
  for (int i = 0; i < cuantas; ++i) texto += u"Dato%1=%1\r\n"_qs.arg(i);
  return texto;
}

}  // namespace

class Generini : public ::testing::Test {
 protected:
  Generini() {
    RegistrarGENERINI();
    PosicionGENERINI = {};
  }
  ~Generini() override {
    FormRegistry::Clear();
    PosicionGENERINI = {};
  }

  ScriptedPresenter mensajes;
};

TEST_F(Generini, APickListOffersItsWordsAndTakesAnyTypedValue) {
  AlMostrarse<TfGENERINI>(fGENERINI, [](TfGENERINI& formulario) {
    EXPECT_EQ(formulario.Caption(), u"Editor de Registro INI"_qs);
    EXPECT_EQ(formulario.StringGrid().horizontalHeaderItem(0)->text(), u"Dato"_qs);
    EXPECT_EQ(formulario.StringGrid().currentRow(), 0);
    auto* desplegable = qobject_cast<QComboBox*>(editorDe(formulario));
    ASSERT_NE(desplegable, nullptr);
    ASSERT_EQ(desplegable->count(), 2);
    EXPECT_EQ(desplegable->itemText(0), u"SI"_qs);
    EXPECT_EQ(desplegable->itemText(1), u"NO"_qs);
    EXPECT_EQ(desplegable->currentText(), u"SI"_qs);
    desplegable->setCurrentIndex(1);
    formulario.StringGrid().setCurrentCell(1, 1);
    auto* otro = qobject_cast<QComboBox*>(editorDe(formulario));
    ASSERT_NE(otro, nullptr);
    otro->setEditText(u"QUIZA"_qs);
    pulsar(formulario, "pbAceptar");
  });
  EXPECT_EQ(editar(u"Activo=SI\r\nOtro=NO"_qs, u"Activo=\r\nOtro=\r\n"_qs, u"Activo=SI,NO\r\nOtro=SI,NO"_qs),
            u"Activo=NO\r\nOtro=QUIZA\r\n"_qs);
}

TEST_F(Generini, ARangeButtonAsksFromThenToProposingTheCurrentSides) {
  mensajes.Expect(u"P"_qs, u"5"_qs).Expect(u"P"_qs, QString());
  AlMostrarse<TfGENERINI>(fGENERINI, [](TfGENERINI& formulario) {
    QWidget* editor = editorDe(formulario);
    ASSERT_NE(editor, nullptr);
    QTest::mouseClick(editor->findChild<QToolButton*>(u"BotonElipsis"_qs), Qt::LeftButton);
    EXPECT_EQ(formulario.StringGrid().item(0, 1)->text(), u"5..."_qs);
    EXPECT_EQ(editor->findChild<QLineEdit*>()->text(), u"5..."_qs);
    // A plain ellipsis does nothing here.
    formulario.StringGridEditButtonClick(1);
    EXPECT_EQ(formulario.StringGrid().item(1, 1)->text(), u"x"_qs);
    pulsar(formulario, "pbAceptar");
  });
  EXPECT_EQ(editar(u"Cuentas=1...50\r\nLibre=x"_qs, u"Cuentas=\r\nLibre="_qs,
                   u"Cuentas=ELLIPSIS_RANGO\r\nLibre=ELLIPSIS"_qs),
            u"Cuentas=5...\r\nLibre=x\r\n"_qs);
  ASSERT_EQ(mensajes.Messages().size(), 2);
  EXPECT_EQ(mensajes.Messages()[0].text, u"Introduzca el valor Desde para Cuentas"_qs);
  EXPECT_EQ(mensajes.Messages()[0].defaultAnswer, u"1"_qs);
  EXPECT_EQ(mensajes.Messages()[1].text, u"Introduzca el valor Hasta para Cuentas"_qs);
  EXPECT_EQ(mensajes.Messages()[1].defaultAnswer, u"50"_qs);
}

TEST_F(Generini, AMarkedRowNeverTakesTheFocus) {
  AlMostrarse<TfGENERINI>(fGENERINI, [](TfGENERINI& formulario) {
    QTableWidget& rejilla = formulario.StringGrid();
    EXPECT_EQ(rejilla.currentRow(), 1);
    rejilla.setCurrentCell(0, 1);
    EXPECT_EQ(rejilla.currentRow(), 1);
    QTest::keyClick(rejilla.viewport(), Qt::Key_Down);
    QTest::keyClick(&rejilla, Qt::Key_Up);
    EXPECT_NE(rejilla.currentRow(), 0);
    rejilla.setCurrentCell(2, 0);
    EXPECT_EQ(rejilla.currentRow(), 2);
    EXPECT_EQ(rejilla.currentColumn(), 1);
  });
  editar(u"Fijo(*)=1\r\nA=2\r\nB=3"_qs, u"Fijo(*)=\r\nA=\r\nB="_qs, QString());
}

TEST_F(Generini, PlacementAppliesOnlyWhatIsGivenAndKeepsTheCreationWidth) {
  int anchoDiseno = 0;
  AlMostrarse<TfGENERINI>(fGENERINI, [&anchoDiseno](TfGENERINI& formulario) {
    EXPECT_EQ(formulario.pos(), QPoint(0, 120));
    anchoDiseno = formulario.width();
    formulario.resize(anchoDiseno + 80, formulario.height());
    formulario.move(30, 140);
  });
  editar(u"A=1"_qs, u"A="_qs, QString(), u"Formato=0,120,0,0"_qs);
  EXPECT_EQ(PosicionGENERINI.Left, 30);
  EXPECT_EQ(PosicionGENERINI.Top, 140);
  EXPECT_EQ(PosicionGENERINI.Width, anchoDiseno);

  AlMostrarse<TfGENERINI>(fGENERINI, [anchoDiseno](TfGENERINI& formulario) {
    EXPECT_EQ(formulario.pos(), QPoint(30, 140));
    EXPECT_EQ(formulario.width(), anchoDiseno);
  });
  editar(u"A=1"_qs, u"A="_qs, QString());

  AlMostrarse<TfGENERINI>(fGENERINI, [](TfGENERINI& formulario) {
    const QRect pantalla = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_EQ(formulario.width(), 400);
    EXPECT_EQ(formulario.x(), pantalla.center().x() - 199);
  });
  editar(u"A=1"_qs, u"A="_qs, QString(), u"Formato=0,0,400,0"_qs);
}

TEST_F(Generini, HeightShowsEveryRowOrTwentyOnAShortScreen) {
  const int pantalla = QGuiApplication::primaryScreen()->availableGeometry().height();
  for (const int cuantas : {3, 40, 10000}) {
    SCOPED_TRACE(cuantas);
    AlMostrarse<TfGENERINI>(fGENERINI, [cuantas, pantalla](TfGENERINI& formulario) {
      QTableWidget& rejilla = formulario.StringGrid();
      ASSERT_EQ(rejilla.rowCount(), cuantas);
      EXPECT_LE(formulario.height(), pantalla - 100);
      const int vistas = rejilla.rowAt(rejilla.viewport()->height() - 1);
      EXPECT_EQ(vistas, std::min(cuantas, 19) - 1);
      EXPECT_EQ(rejilla.verticalScrollBar()->maximum() == 0, cuantas < 19);
    });
    const QString texto = filas(cuantas);
    editar(texto, texto, QString());
  }
}

TEST_F(Generini, EscapeWithAnEditorOpenCancelsTheWholeEdit) {
  AlMostrarse<TfGENERINI>(fGENERINI, [](TfGENERINI& formulario) {
    formulario.StringGrid().item(0, 1)->setText(u"cambiado"_qs);
    QWidget* editor = editorDe(formulario);
    ASSERT_NE(editor, nullptr);
    QTest::keyClick(editor, Qt::Key_Escape);
    EXPECT_EQ(formulario.ModalResult(), mrCancel);
  });
  EXPECT_EQ(editar(u"A=1"_qs, u"A=\r\nB=2"_qs, QString()), u"A=1\r\nB=2\r\n"_qs);
}

TEST_F(Generini, AThousandWordPickListOffersEveryWordInItsOrder) {
  QStringList palabras;
  for (int i = 0; i < 1000; ++i) palabras << u"Valor·%1ÿ"_qs.arg(i);
  AlMostrarse<TfGENERINI>(fGENERINI, [&palabras](TfGENERINI& formulario) {
    auto* desplegable = qobject_cast<QComboBox*>(editorDe(formulario));
    ASSERT_NE(desplegable, nullptr);
    QStringList ofrecidas;
    for (int i = 0; i < desplegable->count(); ++i) ofrecidas << desplegable->itemText(i);
    EXPECT_EQ(ofrecidas, palabras);
    EXPECT_EQ(desplegable->currentText(), palabras[500]);
    desplegable->setCurrentIndex(999);
    pulsar(formulario, "pbAceptar");
  });
  EXPECT_EQ(editar(u"Dato="_qs + palabras[500], u"Dato=\r\n"_qs, u"Dato="_qs + palabras.join(u','), QString()),
            u"Dato="_qs + palabras[999] + u"\r\n"_qs);
}

// As a person sees it with the pick list open: the words listed below the
// row, the locked row's value in the button-face colour.
TEST_F(Generini, AnOpenPickListIsDrawnOverTheForm) {
  AlMostrarse<TfGENERINI>(fGENERINI, [](TfGENERINI& formulario) {
    auto* desplegable = qobject_cast<QComboBox*>(editorDe(formulario));
    ASSERT_NE(desplegable, nullptr);
    desplegable->showPopup();
    QWidget* lista = desplegable->view()->window();
    ASSERT_TRUE(lista->isVisible());
    EXPECT_EQ(desplegable->view()->model()->rowCount(), 3);
    const QImage imagen = CapturaFormulario(formulario, u"GENERINI-lista"_qs);
    EXPECT_GT(imagen.height(), formulario.height() - 1);
    const QRect enImagen = lista->geometry().translated(-formulario.geometry().united(lista->geometry()).topLeft());
    EXPECT_LT(TintaMasOscura(imagen, enImagen.adjusted(2, 2, -2, -2)).lightness(), 60) << "its words are drawn";
    QTableWidget& rejilla = formulario.StringGrid();
    const QRect fijo = rejilla.visualRect(rejilla.model()->index(0, 1));
    const QColor bloqueado = TintaMasOscura(
        imagen, QRect(rejilla.viewport()->mapTo(&formulario, fijo.topLeft()), fijo.size()).adjusted(1, 1, -2, -2));
    EXPECT_GE(bloqueado.lightness(), rejilla.palette().color(QPalette::Button).lightness() - 8);
    EXPECT_LT(bloqueado.lightness(), 255) << "its value is drawn";
    desplegable->hidePopup();
  });
  editar(u"Fijo(*)=1\r\nActivo=SI\r\nOtro=x"_qs, u"Fijo(*)=\r\nActivo=\r\nOtro="_qs, u"Activo=SI,NO,QUIZA"_qs);
}
