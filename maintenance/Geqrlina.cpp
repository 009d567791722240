#include "maintenance/Geqrlina.h"

#include "core/datamodule/SalidaInforme.h"
#include "core/forms/ConmutarEuro.h"
#include "core/forms/PreparacionFormulario.h"
#include "core/forms/TablasFormulario.h"
#include "core/startup/Configuracion.h"
#include "core/startup/TraduccionFormulario.h"
#include "platform/data/Field.h"
#include "platform/data/Table.h"
#include "platform/format/Format.h"
#include "platform/report/Band.h"
#include "platform/report/DatasetSource.h"
#include "platform/report/ReportComponent.h"
#include "printing/Geneprev.h"
#include "printing/InformeFijo.h"
#include "printing/ParametrosListado.h"

#include <QApplication>

TfGEQRLINA* fGEQRLINA = nullptr;
int IncidenciaDesde = 0;
int IncidenciaHasta = 0;

namespace {

constexpr int kAncho = 750;
constexpr int kSangria = 8;

// The band's contents, block by block: a frame with its caption, then its
// captioned values and memos.
class Bloques {
 public:
  explicit Bloques(Band& banda) : banda_(banda) {}

  void Bloque(const QString& nombre, const QString& titulo, int alto) {
    ReportItem& marco = banda_.Add(ItemKind::Shape, QStringLiteral("Marco") + nombre);
    marco.Top = top_;
    marco.Width = kAncho;
    marco.Height = alto;
    ReportItem& etiqueta = Texto(ItemKind::Label, QStringLiteral("Titulo") + nombre, kSangria, top_ + 4, 400);
    etiqueta.Caption = titulo;
    etiqueta.Font.setBold(true);
    fila_ = top_ + 24;
    top_ += alto + 8;
  }
  // A caption and the field's value after it, on the block's current row.
  void Valor(const QString& titulo, const QString& campo, int x, int anchoTitulo, int anchoValor) {
    ReportItem& etiqueta = Texto(ItemKind::Label, QStringLiteral("Etiqueta") + campo, x, fila_, anchoTitulo);
    etiqueta.Caption = titulo;
    etiqueta.Font.setBold(true);
    Texto(ItemKind::DataText, QStringLiteral("QR") + campo, x + anchoTitulo, fila_, anchoValor).DataField = campo;
  }
  void Fila() { fila_ += 20; }
  void Memo(const QString& nombre, const QString& campo, int fondo) {
    ReportItem& memo = Texto(ItemKind::Memo, nombre, kSangria, fila_, kAncho - 2 * kSangria);
    memo.DataField = campo;
    memo.Height = fondo - fila_;
    memo.CutAtFrame = true;
  }
  int Fondo() const { return top_ - 8; }

 private:
  ReportItem& Texto(ItemKind tipo, const QString& nombre, int x, int y, int ancho) {
    ReportItem& texto = banda_.Add(tipo, nombre);
    texto.Left = x;
    texto.Top = y;
    texto.Width = ancho;
    texto.Font = QFont(QStringLiteral("Arial"));
    texto.Font.setPointSize(9);
    return texto;
  }

  Band& banda_;
  int top_ = 0;
  int fila_ = 0;
};

void DisenarBandaDetalle(Band& banda) {
  Bloques bloques(banda);
  bloques.Bloque(QStringLiteral("Identificacion"), QStringLiteral("Identificación de la Incidencia"), 50);
  bloques.Valor(QStringLiteral("Número Incidencia:"), QStringLiteral("NumeroIncidencia"), kSangria, 120, 110);
  bloques.Valor(QStringLiteral("Fecha:"), QStringLiteral("Fecha"), 260, 50, 120);
  bloques.Valor(QStringLiteral("Hora:"), QStringLiteral("Hora"), 450, 50, 100);
  bloques.Bloque(QStringLiteral("Origen"), QStringLiteral("Origen"), 70);
  bloques.Valor(QStringLiteral("Código Usuario:"), QStringLiteral("CodigoUsuario"), kSangria, 120, 240);
  bloques.Valor(QStringLiteral("Código Empresa:"), QStringLiteral("CodigoEmpresa"), 380, 120, 100);
  bloques.Fila();
  bloques.Valor(QStringLiteral("Aplicación:"), QStringLiteral("Aplicacion"), kSangria, 120, 240);
  bloques.Valor(QStringLiteral("Programa:"), QStringLiteral("Programa"), 380, 80, 280);
  bloques.Bloque(QStringLiteral("Descripcion"), QStringLiteral("Descripción de la incidencia"), 250);
  bloques.Memo(QStringLiteral("QRDescripcion"), QStringLiteral("Descripcion"), bloques.Fondo() - 4);
  bloques.Bloque(QStringLiteral("Condiciones"), QStringLiteral("Condiciones en que se produce la incidencia"), 230);
  bloques.Valor(QStringLiteral("Sistema Operativo:"), QStringLiteral("SistemaOperativo"), kSangria, 120, 240);
  bloques.Valor(QStringLiteral("Número de Usuarios Activos:"), QStringLiteral("NumeroUsuariosActivos"), 380, 180, 80);
  bloques.Fila();
  bloques.Memo(QStringLiteral("QRCondiciones"), QStringLiteral("Condiciones"), bloques.Fondo() - 4);
  bloques.Bloque(QStringLiteral("Observaciones"), QStringLiteral("Observaciones"), 200);
  bloques.Memo(QStringLiteral("QRObservaciones"), QStringLiteral("Observaciones"), bloques.Fondo() - 4);
  banda.Height = bloques.Fondo() + 2;
}

}  // namespace

TfGEQRLINA::TfGEQRLINA(QWidget* owner)
    : Form(owner),
      Table1(new Table(this)),
      informe_(new ReportComponent(this)),
      registros_(std::make_unique<DatasetSource>(*Table1)) {
  setObjectName(QStringLiteral("fGEQRLINA"));
  Table1->setObjectName(QStringLiteral("Table1"));
  Table1->SetTableName(QStringLiteral("INCAPLIC"));
  informe_->setObjectName(QStringLiteral("QuickReport"));
  ReportEngine& informe = QuickReport();
  informe.Source = registros_.get();
  DisenarInformeFijo(informe);
  informe.Page.LeftMargin = 5;
  informe.Page.RightMargin = 5;
  for (const char* nombre : {"QRTitulo", "TituloNombreEmpresa"}) informe.FindItem(QString::fromLatin1(nombre))->Width = kAncho;
  DisenarBandaDetalle(informe.AddBand(BandKind::Detail, QStringLiteral("BandaDetalle")));
  AgregarPiePagina(informe);
  informe.FindItem(QStringLiteral("QRNumeroPagina"))->Width = kAncho;
  ReportItem& fecha = *informe.FindItem(QStringLiteral("QRFechaImpreso"));
  fecha.Left = kAncho - fecha.Width;
  for (const char* campo : {"Fecha", "Hora"}) {
    const QString formato = campo == std::string_view("Hora") ? QStringLiteral("hh:nn:ss") : QStringLiteral("dd/mm/yyyy");
    informe.FindItem(QStringLiteral("QR") + QString::fromLatin1(campo))->OnPrint =
        [this, campo = QString::fromLatin1(campo), formato](ReportItem&, QString& valor) {
          const Field& dato = Table1->FieldByName(campo);
          valor = dato.IsNull() ? QString() : FormatDateTime(formato, dato.AsDateTime());
        };
  }
  informe.BeforePrint = [this] { QuickReportBeforePrint(); };
  PrepararFormulario(*this);
  AbrirTablasFormulario(*this);
  ConmutarEuro(*this, QStringLiteral("Asignar"));
  const ParametrosListado parametros = LeerParametrosListado();
  if (parametros.margenIzquierdoImpresora != 0) informe.Page.LeftMargin = parametros.margenIzquierdoImpresora;
  if (parametros.listarRestricciones) ColocarRestricciones(informe, OpcionesDelFormulario(parametros));
  AplicarTramas(informe, parametros.tramas);
  ComprimirInforme(informe, parametros);
}

TfGEQRLINA::~TfGEQRLINA() {
  QuickReport().Source = nullptr;
  if (fGEQRLINA == this) fGEQRLINA = nullptr;
}

ReportEngine& TfGEQRLINA::QuickReport() const { return informe_->Report(); }

void TfGEQRLINA::QuickReportBeforePrint() {
  ReportEngine& informe = QuickReport();
  informe.Title = QStringLiteral("Informe de Incidencias de la Aplicación");
  informe.FindItem(QStringLiteral("QRTitulo"))->Caption = informe.Title;
  informe.FindItem(QStringLiteral("TituloNombreEmpresa"))->Caption = NombreEmpresaActual();
  informe.FindItem(QStringLiteral("TituloLogotipoEmpresa"))->PictureFile = LogotipoEmpresa;
  if (!Table1->Active()) Table1->Open();
  Table1->SetRange({Variant::Integer(IncidenciaDesde)}, {Variant::Integer(IncidenciaHasta)});
  TraducirFormulario(this);
}

void TfGEQRLINA::Previsualizar() { PrevisualizarInforme(QuickReport(), objectName(), Table1, nullptr); }

void TfGEQRLINA::Imprimir() { GenerarSalidaInforme(QuickReport(), QString()); }
