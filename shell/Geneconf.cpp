#include "shell/Geneconf.h"

#include "core/datamodule/ClavesRegistro.h"
#include "core/forms/TablasFormulario.h"
#include "core/services/Ayuda.h"
#include "core/startup/Configuracion.h"
#include "core/system/Procesos.h"
#include "platform/CommonDialogs.h"
#include "platform/Cp1252.h"
#include "platform/StringList.h"
#include "platform/TextFile.h"
#include "platform/controls/DBEdit.h"
#include "platform/data/DataSource.h"
#include "platform/data/Field.h"
#include "platform/data/Table.h"
#include "shell/TeclasConfiguracion.h"
#include "ui_GENECONF.h"

#include <QFileDialog>
#include <QKeyEvent>

namespace {

constexpr int kAplicaciones = 5;

QString campo(const char* nombre, int n) { return QString::fromLatin1(nombre) + QString::number(n); }

}  // namespace

void GrabarAplicacionesEspecialesInstalacion(const QString& archivo, const QStringList& nombres,
                                             const QStringList& ejecutables) {
  TextFile::Update(archivo, [&](const QByteArray& bytes) {
    StringList lineas;
    lineas.SetText(Cp1252::decode(bytes));
    for (int n = 1; n <= kAplicaciones; ++n) {
      lineas.SetValue(campo("NombreApEspecial", n), nombres.value(n - 1));
      lineas.SetValue(campo("EjecutableApEspecial", n), ejecutables.value(n - 1));
    }
    return Cp1252::encode(lineas.Text());
  });
}

TfGENECONF::TfGENECONF(QWidget* owner) : Form(owner), ui_(std::make_unique<Ui::TfGENECONF>()) {
  ui_->setupUi(this);
  Table1 = new Table(this);
  Table1->setObjectName(u"Table1"_qs);
  Table1->SetTableName(u"CONFAPLI"_qs);
  DataSource1 = new DataSource(this);
  DataSource1->setObjectName(u"DataSource1"_qs);
  DataSource1->SetDataSet(Table1);
  OpenDialog1 = new QFileDialog(this);
  OpenDialog1->setObjectName(u"OpenDialog1"_qs);
  SetFilter(*OpenDialog1, u"Archivos Ejecutables (*.EXE)|*.EXE|Todos los Archivos (*.*)|*.*"_qs);
  for (int n = 1; n <= kAplicaciones; ++n) {
    for (const char* nombre : {"NombreApEspecial", "EjecutableApEspecial"}) {
      auto* edit = findChild<DBEdit*>(u"Edit"_qs + campo(nombre, n));
      edit->SetSource(DataSource1);
      edit->SetDataField(campo(nombre, n));
    }
    QObject* examinar = findChild<QObject*>(campo("pbExaminar", n));
    connect(qobject_cast<QAbstractButton*>(examinar), &QAbstractButton::clicked, this,
            [this, examinar] { pbExaminarClick(examinar); });
  }
  connect(ui_->pbGrabar, &QPushButton::clicked, this, [this] { pbGrabarClick(); });
  connect(ui_->pbCancelar, &QPushButton::clicked, this, [this] { pbCancelarClick(); });
  connect(ui_->pbRestablecer, &QPushButton::clicked, this, [this] { pbRestablecerClick(); });
  connect(ui_->pbAyuda, &QPushButton::clicked, this, [this] { pbAyudaClick(); });

  AbrirTablasFormulario(*this);
  if (TablaVacia(*Table1)) {
    Table1->Append();
    RestablecerValores();
    Table1->Post();
  }
  Table1->First();
  ui_->PageControl1->setCurrentIndex(0);
  ui_->pbGrabar->setFocus();
}

TfGENECONF::~TfGENECONF() = default;

void TfGENECONF::RestablecerValores() {
  for (int n = 1; n <= kAplicaciones; ++n)
    Table1->FieldByName(campo("NombreApEspecial", n)).SetAsString(u"Aplicación Especial "_qs + QString::number(n));
}

void TfGENECONF::pbRestablecerClick() {
  Table1->Edit();
  RestablecerValores();
}

void TfGENECONF::pbExaminarClick(QObject* sender) {
  const QString n = sender->objectName().remove(u"pbExaminar"_qs);
  if (!CommonDialogsSeam::Get().Execute(*OpenDialog1)) return;
  if (Table1->State() != dsEdit && Table1->State() != dsInsert) Table1->Edit();
  Table1->FieldByName(u"EjecutableApEspecial"_qs + n).SetAsString(FileName(*OpenDialog1));
}

void TfGENECONF::pbGrabarClick() {
  for (DBEdit* edit : findChildren<DBEdit*>()) edit->UpdateRecord();
  if (Table1->State() == dsEdit) Table1->Post();
  close();
  if (!EsEjecutable(u"MASPWIN"_qs)) return;
  QStringList nombres, ejecutables;
  for (int n = 1; n <= kAplicaciones; ++n) {
    nombres << findChild<DBEdit*>(u"Edit"_qs + campo("NombreApEspecial", n))->text();
    ejecutables << findChild<DBEdit*>(u"Edit"_qs + campo("EjecutableApEspecial", n))->text();
  }
  GrabarAplicacionesEspecialesInstalacion(ArchivoInstalacion, nombres, ejecutables);
}

void TfGENECONF::pbCancelarClick() {
  Table1->Cancel();
  close();
}

void TfGENECONF::pbAyudaClick() { MostrarAyuda(ContextoAyuda(Caption())); }

void TfGENECONF::keyPressEvent(QKeyEvent* event) {
  if (TeclaConfiguracion(*this, *event)) return;
  // F2 is the field search: none here.
  if (event->key() == Qt::Key_F2 && !(event->modifiers() & Qt::ShiftModifier)) return;
  Form::keyPressEvent(event);
}
