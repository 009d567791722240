#include "dialogs/Geneopen.h"

#include "core/services/SeleccionArchivoCarpeta.h"
#include "platform/FormRegistry.h"
#include "ui_GENEOPEN.h"

#include <QFileSystemModel>
#include <QHeaderView>

TfGENEOPEN* fGENEOPEN = nullptr;

TfGENEOPEN::TfGENEOPEN(QWidget* owner)
    : Form(owner), ui_(std::make_unique<Ui::TfGENEOPEN>()), modelo_(new QFileSystemModel(this)) {
  ui_->setupUi(this);
  setWindowFlag(Qt::WindowStaysOnTopHint);
  modelo_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot);
  ui_->ShellTreeView->setModel(modelo_);
  ui_->ShellTreeView->setRootIndex(modelo_->setRootPath(QDir::rootPath()));
  // Names only, as a shell tree shows them.
  for (int columna = 1; columna < modelo_->columnCount(); ++columna) ui_->ShellTreeView->hideColumn(columna);
  ui_->ShellTreeView->header()->hide();
  connect(ui_->pbAceptar, &QPushButton::clicked, this, [this] { SetModalResult(mrOk); });
  fGENEOPEN = this;
}

TfGENEOPEN::~TfGENEOPEN() {
  if (fGENEOPEN == this) fGENEOPEN = nullptr;
}

void RegistrarGENEOPEN() {
  FormRegistry::Register(QLatin1String(kFormularioSeleccionArchivoCarpeta),
                         [](QWidget* owner) { return new TfGENEOPEN(owner); });
}
