#include "maintenance/Genetest.h"

#include "core/forms/AparienciaFormulario.h"
#include "core/forms/TablasFormulario.h"
#include "core/messages/MensajeSistema.h"
#include "core/services/FormularioRegistrado.h"
#include "core/services/Ayuda.h"
#include "core/system/CursorEspera.h"
#include "core/tables/CreacionTabla.h"
#include "platform/Clock.h"
#include "platform/FormRegistry.h"
#include "platform/data/Field.h"
#include "platform/data/Table.h"
#include "platform/format/DateTime.h"
#include "platform/format/Format.h"
#include "ui_GENETEST.h"

#include <QCoreApplication>
#include <QKeyEvent>

#include <algorithm>

TfGENETEST* fGENETEST = nullptr;

namespace {

const QString kNotaReferencia = QStringLiteral(
    "     Los datos de Referencia han sido obtenidos en un sistema con las siguientes características y condiciones: "
    "\r\n\r\n     - Procesador Pentium a 120MHz.\r\n     - Sistema Operativo Windows 95 en modo local.\r\n     - Memoria "
    "RAM = 32 Mb.\r\n     - Ningún otro programa activo.");

const QString kDefinicionTemporal = QStringLiteral(
    "Tabla Temporal\r\n/C/1/Codigo/ftInteger/0/*/\r\n/C/2/Valor1/ftString/40/\r\n/C/3/Valor2/ftFloat/0/\r\n"
    "/C/4/Valor3/ftSmallint/0/\r\n/C/5/Valor4/ftDateTime/0/\r\n/C/6/Valor5/ftMemo/10/\r\n/I/1/<Primary>/Codigo\r\n"
    "/I/2/Clave2/Valor1;Valor2\r\n/I/3/Clave3/Valor2;Valor3\r\n/I/4/Clave4/Valor3;Valor4\r\n");

constexpr qint64 kMilisegundosDia = 86400000;

QString textoTiempo(qint64 milisegundos) {
  return TimeToStr(static_cast<double>(milisegundos / 1000 * 1000) / kMilisegundosDia) + u' ';
}

qint64 segundosDe(const char* tiempo) {
  const QStringList partes = QString::fromLatin1(tiempo).split(u':');
  return partes[0].toLongLong() * 3600 + partes[1].toLongLong() * 60 + partes[2].toLongLong();
}

QString memoRegistro(int i) {
  return QStringLiteral("Prueba de grabación del registro %1\r\nEn un campo Memo").arg(i);
}

// A record that cannot be posted is cancelled and the next one follows.
void agregar(Table& tabla, const std::function<void(Table&)>& valores) {
  try {
    tabla.Append();
    valores(tabla);
    tabla.Post();
  } catch (const std::exception&) {
    if (tabla.State() == dsInsert) tabla.Cancel();
  }
}

}  // namespace

TfGENETEST::TfGENETEST(QWidget* owner)
    : Form(owner), ui_(std::make_unique<Ui::TfGENETEST>()), Temporal(new Table(this)), TablaTest(new Table(this)) {
  ui_->setupUi(this);
  Temporal->setObjectName(QStringLiteral("Temporal"));
  TablaTest->setObjectName(QStringLiteral("TablaTest"));
  TablaTest->SetTableName(QStringLiteral("TEST"));
  ui_->StatusBar1->setProperty("SimplePanel", true);
  connect(ui_->pbTest1, &QPushButton::clicked, this, &TfGENETEST::pbTest1Click);
  connect(ui_->pbTest2, &QPushButton::clicked, this, &TfGENETEST::pbTest2Click);
  connect(ui_->pbTest3, &QPushButton::clicked, this, &TfGENETEST::pbTest3Click);
  connect(ui_->pbTodos, &QPushButton::clicked, this, &TfGENETEST::pbTodosClick);
  ui_->Memo1->setPlainText(kNotaReferencia);
  AbrirTablasFormulario(*this);
  fGENETEST = this;
}

TfGENETEST::~TfGENETEST() {
  if (fGENETEST == this) fGENETEST = nullptr;
}

void TfGENETEST::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_F1) {
    MostrarAyuda(ContextoAyuda(Caption()));
    return;
  }
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    focusNextChild();
    return;
  }
  if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
    close();
    return;
  }
  Form::keyPressEvent(event);
}

void TfGENETEST::MostrarEstado(const QString& texto) {
  PanelesEstado(*ui_->StatusBar1, texto, QString());
  ui_->StatusBar1->repaint();
  QCoreApplication::processEvents();
}

// The reference scales with the work asked for; the time is taken from the
// clock in use, from the start truncated to whole seconds, and never less
// than a millisecond in the ratio.
void TfGENETEST::ejecutar(const Prueba& prueba, const Trabajo& trabajo) {
  const CursorEspera cursor;
  ui_->Memo1->setPlainText(QString::fromUtf8(prueba.descripcion));
  const int numero = std::max(prueba.numero->text().trimmed().toInt(), 0);
  const qint64 referencia = segundosDe(prueba.referencia) * numero / prueba.cuenta * 1000;
  prueba.referenciaPanel->setText(textoTiempo(referencia));
  QDateTime inicio = ClockSeam::Get().Now();
  inicio.setTime(QTime(inicio.time().hour(), inicio.time().minute(), inicio.time().second()));
  const auto transcurrido = [&inicio] { return std::max<qint64>(inicio.msecsTo(ClockSeam::Get().Now()), 0); };
  try {
    if (trabajo.antes) trabajo.antes();
    for (int i = 1; i <= numero; ++i) {
      if (i % prueba.paso == 0) {
        prueba.tiempoPanel->setText(textoTiempo(transcurrido()));
        MostrarEstado(QString::fromUtf8(prueba.progreso) + QString::number(i));
      }
      trabajo.paso(i);
    }
    if (trabajo.despues) trabajo.despues();
  } catch (const std::exception&) {
    if (!trabajo.guardado) throw;
  }
  MostrarEstado(QString());
  const qint64 medido = transcurrido();
  prueba.tiempoPanel->setText(textoTiempo(medido));
  prueba.ratioPanel->setText(
      FormatFloat(QStringLiteral("#.## % "), static_cast<double>(referencia) / std::max<qint64>(medido, 1) * 100));
  ui_->Memo1->setPlainText(kNotaReferencia);
}

void TfGENETEST::crearTablaTemporal() {
  CrearTabla(*Temporal, kDefinicionTemporal, -1);
  if (!Temporal->Active()) Temporal->Open();
}

void TfGENETEST::borrarTablaTemporal() {
  try {
    Temporal->Close();
    Temporal->DeleteTable();
  } catch (const std::exception&) {
    // A table that could not go stays registered as a temporary one.
  }
}

void TfGENETEST::pbTest1Click() {
  ejecutar({"00:01:17", 50, 10, "     Test de creación de archivos en tablas temporales TEMP.",
            "Test de creación de Tabla Temporal: ", ui_->EditNumeroTablasTMP, ui_->EditReferenciaTest1,
            ui_->EditTiempoTest1, ui_->EditRatioTest1},
           {{}, [this](int) {
              crearTablaTemporal();
              borrarTablaTemporal();
            }, {}});
}

void TfGENETEST::pbTest2Click() {
  const TDateTime hoy = Date();
  ejecutar({"00:02:30", 10000, 100, "     Test de creación de registros en la tabla temporal TEMP.",
            "Test de creación de registros en Tabla Temporal: ", ui_->EditNumeroRegistrosTMP, ui_->EditReferenciaTest2,
            ui_->EditTiempoTest2, ui_->EditRatioTest2},
           {[this] { crearTablaTemporal(); },
            [this, hoy](int i) {
              agregar(*Temporal, [i, hoy](Table& t) {
                t.FieldByName(QStringLiteral("Codigo")).SetAsInteger(i);
                t.FieldByName(QStringLiteral("Valor1")).SetAsString(QStringLiteral("Prueba de grabación del registro %1").arg(i));
                t.FieldByName(QStringLiteral("Valor2")).SetAsFloat(i);
                t.FieldByName(QStringLiteral("Valor3")).SetAsInteger(i);
                t.FieldByName(QStringLiteral("Valor4")).SetAsDateTime(hoy + i);
                t.FieldByName(QStringLiteral("Valor5")).SetAsString(memoRegistro(i));
              });
            },
            [this] { borrarTablaTemporal(); }});
}

void TfGENETEST::pbTest3Click() {
  const TDateTime hoy = Date();
  const auto vaciar = [this] {
    TablaTest->Close();
    TablaTest->EmptyTable();
    TablaTest->Open();
  };
  ejecutar({"00:20:49", 10000, 100, "     Test de creación de registros en la tabla TEST de la Base de Datos actual.",
            "Test de creación de registros en Tabla Normal (TEST): ", ui_->EditNumeroRegistrosBD, ui_->EditReferenciaTest3,
            ui_->EditTiempoTest3, ui_->EditRatioTest3},
           {vaciar,
            [this, hoy](int i) {
              agregar(*TablaTest, [i, hoy](Table& t) {
                t.FieldByName(QStringLiteral("Codigo")).SetAsInteger(i);
                t.FieldByName(QStringLiteral("Codigo2")).SetAsString(QStringLiteral("Codigo%1").arg(i));
                t.FieldByName(QStringLiteral("Codigo3")).SetAsDateTime(hoy + i);
                t.FieldByName(QStringLiteral("Codigo4")).SetAsInteger(i / 10);
                t.FieldByName(QStringLiteral("Descripcion")).SetAsString(QStringLiteral("Descripcion %1").arg(i));
                t.FieldByName(QStringLiteral("Descripcion2")).SetAsString(memoRegistro(i));
                t.FieldByName(QStringLiteral("Valor")).SetAsFloat(i * 10.0);
                t.FieldByName(QStringLiteral("Valor2")).SetAsFloat(i / 10.0);
              });
            },
            vaciar, true});
}

void TfGENETEST::pbTodosClick() {
  QString respuesta;
  MensajeConfirmacion(QStringLiteral("¿Está seguro de querer iniciar el proceso con todos los tests?"), respuesta);
  if (respuesta == u"NO") return;
  pbTest1Click();
  pbTest2Click();
  pbTest3Click();
}

void RegistrarGENETEST() {
  FormRegistry::Register(QLatin1String(kFormularioTestRendimiento), [](QWidget* owner) { return new TfGENETEST(owner); });
}
