#include "platform/TraduccionesQt.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QPushButton>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTranslator>

#include <gtest/gtest.h>

namespace {

QStringList Botones() {
  QDialogButtonBox caja(QDialogButtonBox::Yes | QDialogButtonBox::No | QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  QStringList textos;
  for (QAbstractButton* boton : caja.buttons()) textos << boton->text();
  textos.sort();
  return textos;
}

QString ErrorDelMotor() {
  QString error;
  {
    QSqlDatabase base = QSqlDatabase::addDatabase(u"QSQLITE"_qs, u"traducciones"_qs);
    base.setDatabaseName(u":memory:"_qs);
    base.open();
    QSqlQuery consulta(base);
    consulta.exec(u"SELECT * FROM NOEXISTE"_qs);
    error = consulta.lastError().text();
  }
  QSqlDatabase::removeDatabase(u"traducciones"_qs);
  return error;
}

}  // namespace

// Qt's dialogs speak Spanish; the engine's errors keep the texts they are told apart by.
TEST(TraduccionesQt, QtsDialogsAreInSpanishAndTheEnginesTextsAsTheyWere) {
  const QString errorAntes = ErrorDelMotor();
  ASSERT_TRUE(errorAntes.contains(u"Unable to execute statement"_qs)) << errorAntes.toStdString();
  CargarTraduccionesQt();
  CargarTraduccionesQt();  // once is enough
  const QList<QTranslator*> instalados = qApp->findChildren<QTranslator*>();
  EXPECT_EQ(instalados.size(), 1);
  EXPECT_EQ(Botones(), QStringList({u"&No"_qs, u"&Sí"_qs, u"Aceptar"_qs, u"Cancelar"_qs}));
  QFileDialog guardar;
  guardar.setAcceptMode(QFileDialog::AcceptSave);
  EXPECT_EQ(guardar.windowTitle(), u"Guardar como"_qs);
  EXPECT_EQ(ErrorDelMotor(), errorAntes);
  for (QTranslator* traductor : instalados) {
    QCoreApplication::removeTranslator(traductor);
    delete traductor;
  }
  EXPECT_EQ(Botones(), QStringList({u"&No"_qs, u"&Yes"_qs, u"Cancel"_qs, u"OK"_qs}));
}
