#include "core/services/EditorTexto.h"
#include "core/services/MantenimientoLista.h"
#include "core/services/PosicionFormulario.h"
#include "core/services/SeleccionLista.h"
#include "dialogs/Genesele.h"
#include "dialogs/Genetext.h"
#include "platform/Exceptions.h"
#include "platform/FormRegistry.h"
#include "tests/dialogs/FormularioEnPantalla.h"
#include "tests/fixtures/ScriptedPresenter.h"

#include <QAction>
#include <QGuiApplication>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>

namespace {

QStringList elegidas(const QListWidget& lista) {
  QStringList textos;
  for (int i = 0; i < lista.count(); ++i)
    if (lista.item(i)->isSelected()) textos.append(lista.item(i)->text());
  return textos;
}

QStringList mostradas(const QListWidget& lista) {
  QStringList textos;
  for (int i = 0; i < lista.count(); ++i) textos.append(lista.item(i)->text());
  return textos;
}

void pulsar(QWidget& formulario, const char* boton) {
  QTest::mouseClick(formulario.findChild<QPushButton*>(QLatin1String(boton)), Qt::LeftButton);
}

void orden(QWidget& formulario, const char* nombre) { formulario.findChild<QAction*>(QLatin1String(nombre))->trigger(); }

}  // namespace

class SeleccionLista : public ::testing::Test {
 protected:
  SeleccionLista() {
    RegistrarGENESELE();
    RegistrarGENETEXT();
  }
  ~SeleccionLista() override { FormRegistry::Clear(); }

  ScriptedPresenter mensajes;
};

TEST_F(SeleccionLista, SortedMultipleChoiceCancelledGivesTheMarkedLines) {
  AlMostrarse<TfGENESELE>(fGENESELE, [](TfGENESELE& formulario) {
    EXPECT_EQ(mostradas(formulario.ListBox1()), QStringList({u"A"_qs, u"B"_qs, u"C"_qs}));
    EXPECT_EQ(elegidas(formulario.ListBox1()), QStringList{u"A"_qs});
    EXPECT_EQ(formulario.SeleccionInicial(), u"\"0\""_qs);
    orden(formulario, "Seleccionartodo1");
    pulsar(formulario, "pbCancelar");
    EXPECT_EQ(formulario.ModalResult(), mrIgnore);
  });
  EXPECT_EQ(SeleccionarDeLista(u"Modo=Multiple\r\nOpciones=Ordenada"_qs, u"B\r\n*A\r\nC"_qs), u"A"_qs);
}

TEST_F(SeleccionLista, SingleChoiceOffersTheLastMarkedLine) {
  AlMostrarse<TfGENESELE>(fGENESELE, [](TfGENESELE& formulario) {
    EXPECT_EQ(elegidas(formulario.ListBox1()), QStringList{u"C"_qs});
    formulario.ListBox1().setCurrentRow(1);
  });
  EXPECT_EQ(SeleccionarDeLista(QString(), u"*A\r\nB\r\n*C"_qs), u"C"_qs);
  AlMostrarse<TfGENESELE>(fGENESELE, [](TfGENESELE& formulario) { pulsar(formulario, "pbAceptar"); });
  EXPECT_EQ(SeleccionarDeLista(u"Modo=Multiple"_qs, u"A\r\nB"_qs), QString());
}

TEST_F(SeleccionLista, MenuCommandsAndAcceptingGiveTheLinesChosenInListOrder) {
  AlMostrarse<TfGENESELE>(fGENESELE, [](TfGENESELE& formulario) {
    EXPECT_EQ(formulario.Caption(), u"Elegir"_qs);
    QListWidget& lista = formulario.ListBox1();
    orden(formulario, "Invertirlaseleccion1");
    EXPECT_EQ(elegidas(lista), QStringList({u"Uno"_qs, u"Tres"_qs}));
    orden(formulario, "Deseleccionartodo1");
    EXPECT_TRUE(elegidas(lista).isEmpty());
    orden(formulario, "Restaurarlaseleccioninicial1");
    EXPECT_EQ(elegidas(lista), QStringList{u"Dos"_qs});
    lista.item(2)->setSelected(true);
    pulsar(formulario, "pbAceptar");
  });
  EXPECT_EQ(SeleccionarDeLista(u"Titulo=Elegir\r\nModo=Multiple"_qs, u"Uno\r\n*Dos\r\nTres"_qs), u"Dos\r\nTres"_qs);

  AlMostrarse<TfGENESELE>(fGENESELE, [](TfGENESELE& formulario) {
    QListWidget& lista = formulario.ListBox1();
    const QPoint linea = lista.visualItemRect(lista.item(1)).center();
    QTest::mouseClick(lista.viewport(), Qt::LeftButton, {}, linea);
    QTest::mouseDClick(lista.viewport(), Qt::LeftButton, {}, linea);
  });
  EXPECT_EQ(SeleccionarDeLista(QString(), u"Uno\r\nDos"_qs), u"Dos"_qs);
}

TEST_F(SeleccionLista, AListMovedAwayOpensWhereItWasClosed) {
  AlMostrarse<TfGENESELE>(fGENESELE, [](TfGENESELE& formulario) {
    const QRect pantalla = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_LE((formulario.geometry().center() - pantalla.center()).manhattanLength(), 4);
    EXPECT_EQ(formulario.size(), QSize(265, 321));
    formulario.move(40, 50);
    formulario.resize(300, 200);
  });
  SeleccionarDeLista(QString(), u"Uno"_qs);
  AlMostrarse<TfGENESELE>(fGENESELE, [](TfGENESELE& formulario) {
    EXPECT_EQ(formulario.pos(), QPoint(40, 50));
    EXPECT_EQ(formulario.size(), QSize(300, 200));
  });
  SeleccionarDeLista(QString(), u"Uno"_qs);
}

TEST_F(SeleccionLista, TheTextWindowGivesItsTextOnlyWhenAccepted) {
  AlMostrarse<TfGENETEXT>(fGENETEXT, [](TfGENETEXT& formulario) {
    EXPECT_EQ(formulario.Caption(), u"Notas"_qs);
    EXPECT_EQ(formulario.size(), QSize(400, 500));
    auto* memo = formulario.findChild<QPlainTextEdit*>(u"Memo1"_qs);
    EXPECT_EQ(memo->toPlainText(), u"uno\ndos"_qs);
    memo->setPlainText(u"cambiado"_qs);
    pulsar(formulario, "pbCancelar");
  });
  EXPECT_EQ(EditarTexto(u"Titulo=Notas\r\nFormato=0,0,400,500"_qs, u"uno\r\ndos"_qs), u"uno\r\ndos"_qs);

  const QString grande = QString(10 * 1024 * 1024 / 64, u'x').repeated(1) + u"\r\n"_qs;
  QString texto;
  for (int i = 0; i < 64; ++i) texto += grande;
  AlMostrarse<TfGENETEXT>(fGENETEXT, [](TfGENETEXT& formulario) {
    formulario.findChild<QPlainTextEdit*>(u"Memo1"_qs)->appendPlainText(u"fin"_qs);
    pulsar(formulario, "pbAceptar");
  });
  EXPECT_EQ(EditarTexto(QString(), texto), texto + u"\r\nfin"_qs);
}

TEST(FormulariosGenericos, AMissingFormIsReportedByItsClassName) {
  FormRegistry::Clear();
  const struct {
    std::function<void()> lanzar;
    const char* clase;
  } casos[] = {
      {[] { SeleccionarDeLista(QString(), u"A"_qs); }, "TfGENESELE"},
      {[] { EditarTexto(QString(), u"A"_qs); }, "TfGENETEXT"},
      {[] { MantenimientoLista(u"NumeroCampos=1\r\nDefinicionCampos=A,ftString,5"_qs, u"A"_qs); }, "TfGENEMLIS"},
  };
  for (const auto& caso : casos) {
    try {
      caso.lanzar();
      ADD_FAILURE() << caso.clase << " did not raise";
    } catch (const Exception& error) {
      EXPECT_EQ(error.Message(), u"El formulario "_qs + QLatin1String(caso.clase) + u" no está disponible."_qs);
    }
  }
}
