#include "dialogs/Geneopen.h"

#include "core/services/SeleccionArchivoCarpeta.h"
#include "core/startup/Configuracion.h"
#include "core/startup/TraduccionFormulario.h"
#include "platform/FormRegistry.h"
#include "platform/Paths.h"
#include "platform/VirtualKeys.h"
#include "ui_GENEOPEN.h"

#include <QDir>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QSortFilterProxyModel>

TfGENEOPEN* fGENEOPEN = nullptr;

namespace {

const QString kFolders = QStringLiteral("otFolders");
const QString kNonFolders = QStringLiteral("otNonFolders");
const QString kHidden = QStringLiteral("otHidden");

bool isAncestorOrSelf(const QString& path, const QString& of) {
  return of == path || of.startsWith(path.endsWith(u'/') ? path : path + u'/');
}

// Shows the kinds of entries asked for. The file-system model itself keeps
// every entry: filtering folders out there would hide the root folder too.
class EntryFilter : public QSortFilterProxyModel {
 public:
  using QSortFilterProxyModel::QSortFilterProxyModel;

  QStringList types;
  QString root;

 protected:
  bool filterAcceptsRow(int row, const QModelIndex& parent) const override {
    const auto* files = static_cast<const QFileSystemModel*>(sourceModel());
    const QModelIndex entry = files->index(row, 0, parent);
    const QString path = files->filePath(entry);
    if (root.isEmpty() || isAncestorOrSelf(path, root)) return true;  // the way down to the root
    const QFileInfo info = files->fileInfo(entry);
    if (info.isHidden() && !types.contains(kHidden)) return false;
    return types.contains(files->isDir(entry) ? kFolders : kNonFolders);
  }
};

}  // namespace

ShellTree::ShellTree(QWidget* parent)
    : QTreeView(parent), files_(new QFileSystemModel(this)), shown_(new EntryFilter(this)) {
  files_->setFilter(QDir::AllDirs | QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
  shown_->setSourceModel(files_);
  setModel(shown_);
  // Names only, as a shell tree shows them.
  for (int column = 1; column < files_->columnCount(); ++column) hideColumn(column);
  header()->hide();
  SetObjectTypes({kFolders});
  SetRoot(QDir::rootPath());
}

void ShellTree::SetRoot(const QString& root) {
  const QFileInfo folder(Paths::Internal(root));
  if (!folder.isDir()) return;
  root_ = folder.absoluteFilePath();
  static_cast<EntryFilter*>(shown_)->root = root_;
  files_->setRootPath(root_);
  shown_->invalidate();
  setRootIndex(indexOf(root_));
}

QStringList ShellTree::ObjectTypes() const { return static_cast<EntryFilter*>(shown_)->types; }

void ShellTree::SetObjectTypes(const QStringList& types) {
  static_cast<EntryFilter*>(shown_)->types = types;
  shown_->invalidate();
  setRootIndex(indexOf(root_));
}

// Only what the user chose: the tree's current item (given to it with the
// keyboard focus, shown by a faint frame alone) is nobody's choice.
QString ShellTree::Path() const {
  const QModelIndexList chosen = selectionModel()->selectedRows();
  return files_->filePath(shown_->mapToSource(chosen.isEmpty() ? rootIndex() : chosen.first()));
}

void ShellTree::SetPath(const QString& path) {
  const QModelIndex entry = indexOf(QFileInfo(Paths::Internal(path)).absoluteFilePath());
  selectionModel()->setCurrentIndex(entry, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
  if (entry.isValid()) scrollTo(entry);
}

QModelIndex ShellTree::indexOf(const QString& path) const {
  return path.isEmpty() ? QModelIndex() : shown_->mapFromSource(files_->index(path));
}

TfGENEOPEN::TfGENEOPEN(QWidget* owner) : Form(owner), ui_(std::make_unique<Ui::TfGENEOPEN>()) {
  ui_->setupUi(this);
  setWindowFlag(Qt::WindowStaysOnTopHint);
  // Not the whole file system: the installation's folder until the caller's is set.
  if (!CarpetaPrograma.isEmpty()) ui_->ShellTreeView->SetRoot(Paths::Internal(CarpetaPrograma));
  connect(ui_->pbAceptar, &QPushButton::clicked, this, [this] { SetModalResult(mrOk); });
  connect(ui_->pbCancelar, &QPushButton::clicked, this, [this] { SetModalResult(mrCancel); });
  // Without its cancel button (a list only looked at) Esc still closes, choosing nothing.
  OnKeyDown = [](Form& formulario, quint16& tecla, Qt::KeyboardModifiers estado) {
    if (tecla != VK::Escape || estado != Qt::NoModifier) return;
    tecla = 0;
    formulario.SetModalResult(mrCancel);
  };
  fGENEOPEN = this;
}

void TfGENEOPEN::showEvent(QShowEvent* event) {
  Form::showEvent(event);
  TraducirFormulario(this);
}

TfGENEOPEN::~TfGENEOPEN() {
  if (fGENEOPEN == this) fGENEOPEN = nullptr;
}

void RegistrarGENEOPEN() {
  FormRegistry::Register(QLatin1String(kFormularioSeleccionArchivoCarpeta),
                         [](QWidget* owner) { return new TfGENEOPEN(owner); });
}
