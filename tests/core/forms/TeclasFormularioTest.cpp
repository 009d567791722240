#include "core/forms/TeclasFormulario.h"

#include "core/datamodule/InstantaneaRegistro.h"
#include "core/datamodule/ValoresControl.h"
#include "core/forms/ContextoImpresos.h"
#include "core/forms/FormulariosMDI.h"
#include "core/forms/GanchosFormulario.h"
#include "core/forms/PreparacionFormulario.h"
#include "core/progress/Geneprog.h"
#include "platform/FormRegistry.h"
#include "platform/VirtualKeys.h"
#include "platform/controls/DBChoiceControls.h"
#include "platform/controls/DBEdit.h"
#include "platform/controls/DBGrid.h"
#include "platform/controls/DBLookupComboBox.h"
#include "platform/controls/Image.h"
#include "platform/controls/DatasetModel.h"
#include "platform/data/DataSource.h"
#include "platform/data/Field.h"
#include "tests/core/connections/ConexionesFixture.h"
#include "tests/dialogs/CapturaFormulario.h"
#include "tests/fixtures/Keyboard.h"
#include "tests/fixtures/RecordingLauncher.h"
#include "tests/fixtures/ScriptedDialogs.h"
#include "tests/fixtures/SecondProcess.h"

#include <QAction>
#include <QHeaderView>
#include <QApplication>
#include <QDir>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>

namespace {

// A data form with a control of every kind over CLIENTES, and the handlers
// some data forms publish.
class FormularioPrueba : public Form {
  Q_OBJECT

 public:
  int edicionRejilla = 0;
  int documentacion = 0;

 public slots:
  void DBGrid1EditButtonClick(QObject*) { ++edicionRejilla; }
  void DocumentacionElectronica1Click(QObject*) { ++documentacion; }
};

template <typename T>
T* Control(QObject* padre, const char* nombre) {
  auto* control = new T(qobject_cast<QWidget*>(padre));
  control->setObjectName(QString::fromLatin1(nombre));
  return control;
}

class AtajosFormulario : public ConexionesFixture {
 protected:
  AtajosFormulario() {
    Iniciar();
    Ejecutar(u"CREATE TABLE CLIENTES (Codigo INT NOT NULL, Nombre VARCHAR(20) NULL, Importe FLOAT NULL, "
             "HoraEntrada DATETIME NULL, horaBaja DATETIME NULL, Notas TEXT NULL, Activo VARCHAR(2) NULL, "
             "Zona INT NULL, Ruta VARCHAR(5) NULL, "
             "CONSTRAINT CLIENTES_Clave1 PRIMARY KEY (Codigo))"_qs);
    Ejecutar(u"INSERT INTO CLIENTES (Codigo, Nombre, Importe, Activo, Zona, Ruta) VALUES (1, 'Ana', 1.2345, 'SI', 7, 'R1')"_qs);
    Ejecutar(u"CREATE TABLE TEXTO (Codigo VARCHAR(10) NOT NULL, Texto TEXT NULL, Tipo VARCHAR(10) NULL, "
             "CONSTRAINT TEXTO_Clave1 PRIMARY KEY (Codigo))"_qs);
    Ejecutar(u"INSERT INTO TEXTO (Codigo, Texto, Tipo) VALUES ('FAC', 'Factura', 'Texto')"_qs);
    Ganchos().VentanaPrincipal = [this]() -> QWidget* { return &principal; };
    Ganchos().VisorCamposUsuario = [this](Dataset&) { ++camposUsuario; };
    Ganchos().AsociarTablaBusqueda = [this](QObject*) { ++busquedas; };
    for (const char* clase : {"TfGENEVLIS", "TfGENEIMPR", "TfGENEMLIS", "TfGENERESP"})
      FormRegistry::Register(QLatin1String(clase), [this, clase](QWidget*) -> QWidget* {
        pedidos << QLatin1String(clase);
        return nullptr;
      });
    Crear();
  }
  ~AtajosFormulario() override {
    formulario.reset();
    FormRegistry::Clear();
    RestablecerGanchosFormulario();
    ModoAdministradorActivado = MensajeriaInternaActivada = DesactivarPuntoPorComaDecimal = CancelarListado =
        RegistroAccesosActivado = ResponsabilidadDocumentalActivada = false;
    CamposHoraGuardados.clear();
    ControlesNoVisibles.Clear();
  }

  void Crear() {
    camposUsuario = busquedas = especiales = doblesClics = 0;
    pedidos.clear();
    CamposHoraGuardados.clear();
    lanzados = lanzador.Calls().size();
    formulario = std::make_unique<FormularioPrueba>();
    formulario->setObjectName(u"fPRUEBA"_qs);
    tabla = Control<Table>(formulario.get(), "Table1");
    tabla->SetDatabaseName(BaseDatosBDE(u"Database"_qs));
    tabla->SetTableName(u"CLIENTES"_qs);
    tabla->Open();
    auto* fuente = Control<DataSource>(formulario.get(), "DataSource1");
    fuente->SetDataSet(tabla);
    rejilla = Control<DBGrid>(formulario.get(), "DBGrid1");
    rejilla->SetSource(fuente);
    rejilla->OnDblClick = [this](DBGrid&) { ++doblesClics; };
    for (const auto& [nombre, campo] : {std::pair{"EditImporte", "Importe"}, {"EditHora", "HoraEntrada"},
                                        {"EditBaja", "horaBaja"}, {"EditNombre", "Nombre"}}) {
      auto* edit = Control<DBEdit>(formulario.get(), nombre);
      edit->SetSource(fuente);
      edit->SetDataField(QLatin1String(campo));
    }
    auto* memo = Control<DBMemo>(formulario.get(), "DBMemo1");
    memo->SetSource(fuente);
    memo->SetDataField(u"Notas"_qs);
    auto* nombre = Control<DBComboBox>(formulario.get(), "DBComboBox1");
    nombre->SetSource(fuente);
    nombre->SetDataField(u"Nombre"_qs);
    auto* activo = Control<DBCheckBox>(formulario.get(), "DBCheckBox1");
    activo->ValueChecked = u"SI"_qs;
    activo->SetSource(fuente);
    activo->SetDataField(u"Activo"_qs);
    for (const auto& [nombre, campo] : {std::pair{"LookupZona", "Zona"}, {"LookupRuta", "Ruta"}}) {
      auto* lookup = Control<DBLookupComboBox>(formulario.get(), nombre);
      lookup->SetSource(fuente);
      lookup->SetDataField(QLatin1String(campo));
    }
    QPixmap imagen(4, 4);
    imagen.fill(Qt::red);
    Control<Image>(formulario.get(), "Image1")->setPixmap(imagen);
    Control<QLineEdit>(formulario.get(), "Edit1");
    Control<QLineEdit>(formulario.get(), "EditFormatoImpreso")->setText(u"FAC01"_qs);
    Control<QPlainTextEdit>(formulario.get(), "Memo1");
    auto* cadenas = Control<QTableWidget>(formulario.get(), "StringGrid1");
    cadenas->setRowCount(2);
    cadenas->setColumnCount(3);
    Control<QPushButton>(formulario.get(), "pbAceptar");
    QObject::connect(Control<QPushButton>(formulario.get(), "pbBusquedaEspecial"), &QPushButton::clicked,
            [this] { ++especiales; });
    Control<QAction>(formulario.get(), "Agregar")->setText(u"&Agregar"_qs);
    Control<QAction>(formulario.get(), "DocumentacionElectronica1");
    auto* columna = new QVBoxLayout(formulario.get());
    for (QWidget* hijo : formulario->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
      columna->addWidget(hijo);
    formulario->OnKeyDown = ::TeclasFormulario;
    formulario->OnKeyPress = PulsacionTecla;
    formulario->show();
    QApplication::setActiveWindow(formulario.get());
  }

  QWidget* Enfocar(const char* nombre) {
    auto* control = formulario->findChild<QWidget*>(QLatin1String(nombre));
    control->setFocus();
    return control;
  }
  // The key-down as the form gets it; what the handler left.
  quint16 Pulsar(const char* control, quint16 tecla, Qt::KeyboardModifiers estado = Qt::NoModifier) {
    Enfocar(control);
    try {
      ::TeclasFormulario(*formulario, tecla, estado);
    } catch (const Exception&) {
      // a form the test left unregistered
    }
    return tecla;
  }
  QString Campo(const char* nombre) const { return tabla->FieldByName(QLatin1String(nombre)).AsString(); }

  QMainWindow principal;
  std::unique_ptr<FormularioPrueba> formulario;
  Table* tabla = nullptr;
  DBGrid* rejilla = nullptr;
  int camposUsuario = 0, busquedas = 0, especiales = 0, doblesClics = 0;
  QStringList pedidos;
  RecordingLauncher lanzador;
  qsizetype lanzados = 0;
};

// Each row of the table with its shift state, and the same key with a state
// that is not exactly it.
struct Fila {
  const char* control;
  quint16 tecla;
  Qt::KeyboardModifiers estado;
  const char* observado;
  const char* esperado;
};

constexpr auto kCtrl = Qt::ControlModifier;
constexpr auto kCtrlShift = Qt::ControlModifier | Qt::ShiftModifier;
constexpr auto kCtrlAlt = Qt::ControlModifier | Qt::AltModifier;

}  // namespace

TEST_F(AtajosFormulario, EachRowActsOnlyOnItsKeyWithExactlyItsModifiers) {
  MensajeriaInternaActivada = RegistroAccesosActivado = ResponsabilidadDocumentalActivada = true;
  Ejecutar(u"INSERT INTO CONFRESP (NombreTabla) VALUES ('CLIENTES')"_qs);
  const std::map<QString, std::function<QString()>> observables{
      {u"tecla"_qs, {}},
      {u"agregar"_qs, [&] { return formulario->findChild<QAction*>(u"Agregar"_qs)->text(); }},
      {u"multiple"_qs, [&] { return QString::number(rejilla->GridOptions().testFlag(DBGrid::dgMultiSelect)); }},
      {u"foco"_qs, [&] { return formulario->focusWidget()->objectName(); }},
      {u"cancelar"_qs, [&] { return QString::number(CancelarListado); }},
      {u"especial"_qs, [&] { return QString::number(especiales); }},
      {u"edicion"_qs, [&] { return QString::number(formulario->edicionRejilla); }},
      {u"documentacion"_qs, [&] { return QString::number(formulario->documentacion); }},
      {u"usuario"_qs, [&] { return QString::number(camposUsuario); }},
      {u"busqueda"_qs, [&] { return QString::number(busquedas); }},
      {u"mensajeria"_qs, [&] { return QString::number(lanzador.Calls().size() - lanzados); }},
      {u"pedidos"_qs, [&] { return pedidos.join(u','); }},
      {u"activo"_qs, [&] { return Campo("Activo"); }},
      {u"importe"_qs, [&] { return Campo("Importe"); }},
      {u"zona"_qs, [&] { return Campo("Zona"); }},
      {u"ruta"_qs, [&] { return Campo("Ruta"); }},
      {u"nombre"_qs, [&] { return Campo("Nombre"); }},
      {u"dobleclic"_qs, [&] { return QString::number(doblesClics); }},
      {u"guardados"_qs, [&] { return CamposHoraGuardados; }},
      {u"estado"_qs, [&] { return QLatin1String(tabla->State() == dsBrowse ? "consulta" : "edicion"); }},

  };
  const Fila filas[] = {
      {"Edit1", VK::Return, Qt::NoModifier, "tecla", "9"},
      {"Edit1", VK::Return, Qt::ShiftModifier, "tecla", "13"},
      {"Memo1", VK::Return, Qt::NoModifier, "tecla", "13"},
      {"DBMemo1", VK::Return, Qt::NoModifier, "tecla", "13"},
      {"DBGrid1", VK::Return, Qt::NoModifier, "tecla", "9"},
      {"Edit1", VK::F5, kCtrl, "agregar", "&Agregar con Duplicación"},
      {"Edit1", VK::F5, kCtrlShift, "agregar", "&Agregar"},
      {"DBGrid1", 'S', kCtrl, "multiple", "1"},
      {"DBGrid1", 'S', kCtrlAlt, "multiple", "0"},
      {"Edit1", 'S', kCtrl, "multiple", "0"},
      {"Edit1", VK::F3, Qt::NoModifier, "foco", "pbAceptar"},
      {"Edit1", VK::F3, Qt::ShiftModifier, "foco", "Edit1"},
      {"Edit1", VK::Escape, Qt::ShiftModifier, "cancelar", "1"},
      {"Edit1", 'B', kCtrl, "especial", "1"},
      {"Edit1", 'B', Qt::AltModifier, "especial", "0"},
      {"DBGrid1", VK::Return, kCtrl, "edicion", "1"},
      {"Edit1", VK::Return, kCtrl, "edicion", "0"},
      {"Edit1", 'D', kCtrl, "documentacion", "1"},
      {"Edit1", 'D', kCtrlShift, "documentacion", "0"},
      {"Edit1", VK::Add, kCtrl, "usuario", "1"},
      {"Edit1", VK::OemPlus, kCtrl, "usuario", "0"},
      {"Edit1", VK::F2, Qt::NoModifier, "busqueda", "1"},
      {"Edit1", VK::F2, kCtrl, "busqueda", "0"},
      {"EditNombre", VK::F2, Qt::NoModifier, "busqueda", "0"},
      {"Edit1", 'M', kCtrl, "mensajeria", "1"},
      {"Edit1", 'M', kCtrlShift, "mensajeria", "0"},
      {"DBGrid1", 'Z', kCtrl, "pedidos", "TfGENEVLIS"},
      {"DBGrid1", 'Z', kCtrlShift, "pedidos", ""},
      {"EditFormatoImpreso", 'P', kCtrl, "pedidos", "TfGENEIMPR"},
      {"Edit1", 'P', kCtrl, "pedidos", ""},
      {"DBCheckBox1", 'I', kCtrl, "activo", ""},
      {"DBCheckBox1", 'I', kCtrlShift, "activo", "SI"},
      {"EditImporte", 'I', kCtrl, "importe", "1,2345"},
      {"LookupZona", 'I', kCtrl, "zona", "0"},
      {"LookupRuta", 'I', kCtrl, "ruta", ""},
      {"LookupRuta", 'I', Qt::AltModifier, "ruta", "R1"},
      {"DBComboBox1", 'I', kCtrl, "nombre", ""},
      {"EditNombre", 'I', kCtrl, "nombre", "Ana"},
      {"DBGrid1", 'C', kCtrlAlt, "guardados", "1|Ana|1,2345||||SI|7|R1|"},
      {"DBGrid1", 'C', kCtrl, "guardados", ""},
      {"EditNombre", 'C', kCtrlAlt, "guardados", ""},
      {"DBGrid1", 'A', kCtrl, "pedidos", "TfGENEMLIS"},
      {"DBGrid1", 'A', kCtrlAlt, "pedidos", ""},
      {"DBGrid1", 'R', kCtrl, "pedidos", "TfGENERESP"},
      {"Edit1", 'R', kCtrl, "pedidos", "TfGENERESP"},
      {"DBGrid1", 'R', kCtrlShift, "pedidos", ""},
      {"EditImporte", VK::F2, Qt::NoModifier, "estado", "consulta"},
      {"DBGrid1", VK::F2, Qt::NoModifier, "dobleclic", "1"},
      {"DBGrid1", VK::F2, Qt::ShiftModifier, "dobleclic", "0"},

  };
  for (const Fila& fila : filas) {
    Crear();
    const quint16 tecla = Pulsar(fila.control, fila.tecla, fila.estado);
    const QString observado = QLatin1String(fila.observado);
    const QString valor = observado == u"tecla" ? QString::number(tecla) : observables.at(observado)();
    EXPECT_EQ(valor, QString::fromUtf8(fila.esperado)) << fila.control << " " << fila.tecla << " " << int(fila.estado);
    EXPECT_EQ(ContextoImpresos, QString()) << "a printed-form list that could not be made leaves no context";
    CancelarListado = false;
  }
}

TEST_F(AtajosFormulario, TheGridsRecordToolsWriteOnlyIntoARecordBeingEdited) {
  Ejecutar(u"INSERT INTO CLIENTES (Codigo, Nombre) VALUES (2, 'Luis')"_qs);
  const struct {
    quint16 tecla;
    Qt::KeyboardModifiers estado;
    bool editando;
    const char* nombre;
  } casos[] = {
      {VK::F5, Qt::ShiftModifier, true, "Luis"},  {VK::F5, Qt::ShiftModifier, false, "Ana"},
      {VK::F5, kCtrlShift, true, "Ana"},           {'V', kCtrlAlt, true, "Otro"},
      {'V', kCtrlAlt, false, "Ana"},               {'V', kCtrl, true, "Ana"},
  };
  for (const auto& caso : casos) {
    Crear();
    CamposHoraGuardados = u"9|Otro|"_qs;
    rejilla->SetSelectedIndex(1);
    if (caso.editando) tabla->Edit();
    Pulsar("DBGrid1", caso.tecla, caso.estado);
    EXPECT_EQ(Campo("Nombre"), QLatin1String(caso.nombre)) << caso.tecla << " " << int(caso.estado) << caso.editando;
    EXPECT_EQ(Campo("Codigo"), u"1"_qs) << "the key stays";
    tabla->Cancel();
  }
}

TEST_F(AtajosFormulario, APictureIsClearedAndAnEditOrAClosedDatasetLeftAlone) {
  auto* imagen = formulario->findChild<Image*>();
  AsignarValorControl(imagen);
  EXPECT_TRUE(imagen->pixmap().isNull());
  auto* edit = formulario->findChild<QLineEdit*>(u"Edit1"_qs);
  edit->setText(u"x"_qs);
  AsignarValorControl(edit);
  EXPECT_EQ(edit->text(), u"x"_qs);
  tabla->Close();
  for (const char* control : {"DBCheckBox1", "DBComboBox1", "LookupZona"}) Pulsar(control, 'I', kCtrl);
  EXPECT_FALSE(tabla->Active());
  EXPECT_EQ(EjecutarSQL(u"SELECT Nombre, Activo, Zona FROM CLIENTES"_qs, u"Database"_qs), u"Ana|SI|7"_qs);
}

TEST_F(AtajosFormulario, CtrlPShowsThePrintedFormsOnTheFieldsKeyAloneAndFreesThem) {
  Ejecutar(u"INSERT INTO TEXTO (Codigo, Texto, Tipo) VALUES ('AAA', 'Otro', 'Texto')"_qs);
  QPointer<Form> impresos;
  FormRegistry::Register(u"TfGENEIMPR"_qs, [&](QWidget*) -> QWidget* {
    impresos = new Form;
    auto* textos = Control<Table>(impresos.data(), "Table1");
    textos->SetDatabaseName(BaseDatosBDE(u"Database"_qs));
    textos->SetTableName(u"TEXTO"_qs);
    textos->Open();
    return impresos.data();
  });
  QString visto;
  QTimer::singleShot(0, [&] {
    visto = ContextoImpresos + u' ' + impresos->objectName() + u' ' +
            impresos->findChild<Table*>()->FieldByName(u"Codigo"_qs).AsString() + u' ' +
            QString::number(impresos->isModal() && impresos->parentWidget() == nullptr);
    impresos->SetModalResult(mrOk);
  });
  static_cast<QLineEdit*>(Enfocar("EditFormatoImpreso"))->setText(u"FAC"_qs);
  Pulsar("EditFormatoImpreso", 'P', kCtrl);
  EXPECT_EQ(visto, u"Contexto fGENEIMPR FAC 1"_qs);
  EXPECT_TRUE(impresos.isNull());
  EXPECT_EQ(ContextoImpresos, QString());
}

TEST_F(AtajosFormulario, TheDocumentationFollowsTheRecordOnlyWhileItsFormIsShown) {
  Ejecutar(u"INSERT INTO CLIENTES (Codigo, Nombre) VALUES (2, 'Luis')"_qs);
  auto* area = new QMdiArea;
  principal.setCentralWidget(area);
  tabla->Refresh();
  PrepararFormulario(*formulario);
  QWidget* documentacion = nullptr;
  AbrirFormularioMDI([] { return new QWidget; }, documentacion, QString(), u"fGENEDOCE"_qs);
  area->subWindowList().constFirst()->hide();
  tabla->Last();
  EXPECT_EQ(formulario->documentacion, 0);
  AbrirFormularioMDI([] { return new QWidget; }, documentacion, QString(), u"fGENEDOCE"_qs);
  tabla->First();
  EXPECT_EQ(formulario->documentacion, 1);
}

TEST_F(AtajosFormulario, EveryCharacterOfTheCodePageIsTypedIntoEachKindOfControl) {
  const QString todos = PrintableWindows1252();
  ASSERT_EQ(todos.size(), 217);
  auto* edit = formulario->findChild<QLineEdit*>(u"Edit1"_qs);
  TypeAsKeyboard(edit, todos);
  EXPECT_EQ(edit->text(), todos);
  auto* memo = formulario->findChild<QPlainTextEdit*>(u"Memo1"_qs);
  TypeAsKeyboard(memo, todos);
  EXPECT_EQ(MemoText(*memo), todos);

  // Stored as it is left.
  TypeAsKeyboard(formulario->findChild<DBMemo*>(u"DBMemo1"_qs), todos);
  edit->setFocus();
  tabla->Post();
  tabla->Refresh();
  EXPECT_EQ(Campo("Notas"), todos);

  // The cell of a text of twenty, a piece at a time.
  for (qsizetype desde = 0; desde < todos.size(); desde += 20) {
    const QString trozo = todos.mid(desde, 20);
    rejilla->SetSelectedIndex(1);
    TypeAsKeyboard(rejilla, trozo);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    tabla->Post();
    EXPECT_EQ(Campo("Nombre"), trozo) << desde;
  }
}

TEST_F(AtajosFormulario, CtrlLOffersTheFontToAMemoButNotToADataMemo) {
  ScriptedDialogs dialogos;
  dialogos.ExpectFont(false);
  Pulsar("DBMemo1", 'L', kCtrl);
  EXPECT_TRUE(dialogos.Dialogs().isEmpty());
  Pulsar("Memo1", 'L', kCtrl);
  EXPECT_EQ(dialogos.Dialogs().size(), 1);
}

TEST_F(AtajosFormulario, CtrlPOnALookupComboShowsThePrintedFormsOnTheKeyChosen) {
  Ejecutar(u"INSERT INTO TEXTO (Codigo, Texto, Tipo) VALUES ('AAA', 'Otro', 'Texto')"_qs);
  delete formulario->findChild<QLineEdit*>(u"EditFormatoImpreso"_qs);
  auto* textos = Control<Table>(formulario.get(), "TablaTextos");
  textos->SetDatabaseName(BaseDatosBDE(u"Database"_qs));
  textos->SetTableName(u"TEXTO"_qs);
  textos->Open();
  auto* fuente = Control<DataSource>(formulario.get(), "DSTextos");
  fuente->SetDataSet(textos);
  auto* lista = Control<DBLookupComboBox>(formulario.get(), "EditFormatoImpreso");
  lista->KeyField = u"Codigo"_qs;
  lista->ListField = u"Texto"_qs;
  lista->SetListSource(fuente);
  lista->SetKeyValue(Variant::String(u"FAC"_qs));
  lista->show();
  QStringList vistos;
  FormRegistry::Register(u"TfGENEIMPR"_qs, [&vistos](QWidget*) -> QWidget* {
    auto* impresos = new Form;
    auto* definiciones = Control<Table>(impresos, "Table1");
    definiciones->SetDatabaseName(BaseDatosBDE(u"Database"_qs));
    definiciones->SetTableName(u"TEXTO"_qs);
    definiciones->Open();
    QTimer::singleShot(0, impresos, [&vistos, impresos, definiciones] {
      vistos << definiciones->FieldByName(u"Codigo"_qs).AsString();
      impresos->SetModalResult(mrOk);
    });
    return impresos;
  });
  Pulsar("EditFormatoImpreso", 'P', kCtrl);
  EXPECT_EQ(vistos, QStringList{u"FAC"_qs}) << "the key chosen, not the first definition";
}

TEST_F(AtajosFormulario, TheTemplateCodeIsTheWordTypedInAGridAndTheTextOfAnEdit) {
  for (const QString& palabra : {u"FAC"_qs, u"fac"_qs}) {
    Crear();
    QWidget* control = Enfocar("DBGrid1");
    rejilla->SetGridOptions({});
    rejilla->SetSelectedIndex(1);
    QTest::keyClicks(control, palabra);
    QTest::keyClick(control, Qt::Key_T, Qt::ControlModifier);
    EXPECT_EQ(Campo("Nombre"), u"Factura"_qs) << qPrintable(palabra);
    EXPECT_EQ(tabla->State(), dsEdit);
    tabla->Cancel();
  }
  auto* edit = static_cast<QLineEdit*>(Enfocar("Edit1"));
  edit->setText(u"FAC"_qs);
  Pulsar("Edit1", 'T', kCtrl);
  EXPECT_EQ(edit->text(), u"Factura"_qs);
}

TEST_F(AtajosFormulario, TheHistoryKeepsWordsAndStaysWithinItsLimit) {
  Servicios().HistorialTeclas.clear();
  for (const quint16 tecla : {quint16('A'), VK::Shift, VK::Tab, quint16('1'), VK::Down})
    Pulsar("Edit1", tecla, Qt::NoModifier);
  Pulsar("Edit1", 'Z', Qt::ShiftModifier);
  EXPECT_EQ(Servicios().HistorialTeclas, u"A|1(|"_qs);
  EXPECT_EQ(UltimaTeclaPulsada, 'Z');
  for (int i = 0; i < 100000; ++i) {
    quint16 tecla = 'X';
    ::TeclasFormulario(*formulario, tecla, Qt::NoModifier);
  }
  EXPECT_LE(Servicios().HistorialTeclas.size(), 10001);
  EXPECT_TRUE(Servicios().HistorialTeclas.endsWith(u"XXX"_qs));
}

TEST_F(AtajosFormulario, EnterMovesOnceAndTheKeypadPointTypesTheDecimalComma) {
  int aceptados = 0;
  QObject::connect(formulario->findChild<QPushButton*>(u"pbAceptar"_qs), &QPushButton::clicked, [&] { ++aceptados; });
  QTest::keyClick(Enfocar("EditNombre"), Qt::Key_Return);
  QCoreApplication::processEvents();
  EXPECT_EQ(formulario->focusWidget()->objectName(), u"DBMemo1"_qs);
  QTest::keyClick(Enfocar("Memo1"), Qt::Key_Return);
  QCoreApplication::processEvents();
  EXPECT_EQ(formulario->focusWidget()->objectName(), u"Memo1"_qs);
  EXPECT_EQ(static_cast<QPlainTextEdit*>(formulario->focusWidget())->toPlainText(), u"\n"_qs);
  auto* cadenas = static_cast<QTableWidget*>(Enfocar("StringGrid1"));
  cadenas->setCurrentCell(0, 0);
  QTest::keyClick(cadenas, Qt::Key_Return);
  EXPECT_EQ(cadenas->currentColumn(), 1);
  rejilla->setFocus();
  rejilla->SetSelectedIndex(0);
  QTest::keyClick(rejilla, Qt::Key_Return);
  QCoreApplication::processEvents();
  EXPECT_EQ(rejilla->SelectedIndex(), 1);
  EXPECT_EQ(aceptados, 0);

  struct Caso {
    const char* control;
    bool teclado;  // the keypad's key, or the main keyboard's
    bool desactivado;
    const char* escrito;
  };
  for (const Caso& caso : {Caso{"EditImporte", true, false, "1,"}, {"EditImporte", false, false, "1."},
                           {"EditImporte", true, true, "1."}, {"EditHora", true, false, "1:"},
                           {"EditHora", true, true, "1:"}, {"EditBaja", true, false, "1,"},
                           {"Edit1", true, false, "1,"}}) {
    Crear();
    DesactivarPuntoPorComaDecimal = caso.desactivado;
    auto* edit = static_cast<QLineEdit*>(Enfocar(caso.control));
    edit->clear();
    QTest::keyClick(edit, Qt::Key_1);
    QTest::keyClick(edit, Qt::Key_Period, caso.teclado ? Qt::KeypadModifier : Qt::NoModifier);
    EXPECT_EQ(edit->text(), QLatin1String(caso.escrito)) << caso.control << caso.teclado << caso.desactivado;
    tabla->Cancel();
  }
}

TEST_F(AtajosFormulario, CtrlLGivesAGridTheFontChosenWithNavyTitlesAndCtrlHRestoresItsColumns) {
  ScriptedDialogs dialogos;
  dialogos.ExpectFont(false).ExpectFont(true);
  const QColor antes = rejilla->TitleFontColor();
  Pulsar("DBGrid1", 'L', kCtrl);
  EXPECT_EQ(rejilla->TitleFontColor(), antes);
  Pulsar("Edit1", 'L', kCtrl);
  Pulsar("DBGrid1", 'L', kCtrl);
  EXPECT_EQ(rejilla->TitleFontColor(), QColor(0, 0, 128));
  EXPECT_EQ(dialogos.Dialogs().size(), 2);
  const QImage imagen = CapturaFormulario(*rejilla, u"rejilla-ctrl-l"_qs);
  const QRect titulos = rejilla->horizontalHeader()->geometry().adjusted(2, 2, -2, -2);
  EXPECT_EQ(TintaMasOscura(imagen, titulos), QColor(0, 0, 128)) << "the titles are painted navy";

  const int ancho = rejilla->ColumnWidth(1);
  rejilla->SetColumnWidth(1, ancho + 150);
  rejilla->SetColumnTitle(1, u"Otro"_qs);
  rejilla->SetFieldVisible(u"Notas"_qs, false);
  Pulsar("DBGrid1", 'H', kCtrlShift);
  EXPECT_EQ(rejilla->ColumnWidth(1), ancho + 150);
  Pulsar("DBGrid1", 'H', kCtrl);
  EXPECT_EQ(rejilla->ColumnWidth(1), ancho);
  EXPECT_EQ(rejilla->ColumnTitle(1), u"Nombre"_qs);
  EXPECT_FALSE(rejilla->ColumnVisible(int(rejilla->Model()->FieldNames().indexOf(u"Notas"_qs))));
}

TEST_F(AtajosFormulario, F8InAdministratorModeAddsTheControlUnderThePointer) {
  const auto pulsarSobre = [&](const QString& titulo) {
    principal.setWindowTitle(titulo);
    Pulsar("Edit1", VK::F8);
  };
  pulsarSobre(u"fPRUEBA.Edit1 Dato"_qs);
  EXPECT_EQ(ControlesNoVisibles.Count(), 0) << "only in administrator mode";
  ModoAdministradorActivado = true;
  pulsarSobre(u"fPRUEBA.Edit1 Dato"_qs);
  pulsarSobre(QString(10000, u'x'));
  mensajes.Expect(u"C"_qs, u"SI"_qs).Expect(u"C"_qs, u"NO"_qs);
  pulsarSobre(u"fPRUEBA.DBGrid1"_qs);
  rejilla->SetSelectedIndex(1);
  pulsarSobre(u"fPRUEBA.DBGrid1"_qs);
  EXPECT_EQ(ControlesNoVisibles.Text(), u"fPRUEBA.DBGrid1\r\nfPRUEBA.DBGrid1.Table1Nombre\r\nfPRUEBA.Edit1\r\n"_qs);
}

namespace {

constexpr auto kCarpeta = "ZEM_PROGRAM_FOLDER";

// Another copy of the program holding customer 1 until told to stop.
void otraCopiaBloquea() { OtraCopiaEditando(kCarpeta, u"CLIENTES"_qs); }

[[maybe_unused]] const bool registrado = SecondProcess::RegisterJob(u"teclas-otra-copia"_qs, otraCopiaBloquea);

}  // namespace

TEST_F(AtajosFormulario, ARecordAnotherProgramHoldsIsNeitherCalculatedNorCleared) {
  SecondProcess otra(u"teclas-otra-copia"_qs, {{QString::fromLatin1(kCarpeta), carpeta.Path()}});
  ASSERT_EQ(otra.ReadReport(), u"editando"_qs);
  mensajes.Expect(u"A"_qs).Expect(u"A"_qs);
  rejilla->SetSelectedIndex(2);
  Pulsar("DBGrid1", VK::F2);
  Pulsar("EditImporte", VK::F2);
  Pulsar("DBCheckBox1", 'I', kCtrl);
  Pulsar("LookupZona", 'I', kCtrl);
  EXPECT_EQ(formulario->findChild<DBLookupComboBox*>(u"LookupZona"_qs)->KeyValue().AsString(), u"7"_qs);
  EXPECT_EQ(mensajes.Texts(), QStringList(2, u"El registro está siendo bloqueado por otro usuario"_qs));
  EXPECT_EQ(tabla->State(), dsBrowse);
  otra.Send(u"fin"_qs);
  EXPECT_EQ(otra.Finish(), 0);
  EXPECT_EQ(EjecutarSQL(u"SELECT Activo FROM CLIENTES"_qs, u"Database"_qs), u"SI"_qs);
  tabla->Edit();  // no lock stays behind
  EXPECT_EQ(tabla->State(), dsEdit);
  tabla->Cancel();
}

#include "TeclasFormularioTest.moc"
