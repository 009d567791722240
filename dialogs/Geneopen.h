#pragma once

#include "platform/Form.h"

#include <QStringList>
#include <QTreeView>

#include <memory>

class QFileSystemModel;
class QSortFilterProxyModel;

namespace Ui {
class TfGENEOPEN;
}

// A tree of the file system below a root folder. Its published properties are
// what its users set and read by name: Root, ObjectTypes (any of "otFolders",
// "otNonFolders", "otHidden") and Path (the selected entry, else the folder
// shown at the root).
class ShellTree : public QTreeView {
  Q_OBJECT
  Q_PROPERTY(QString Root READ Root WRITE SetRoot)
  Q_PROPERTY(QStringList ObjectTypes READ ObjectTypes WRITE SetObjectTypes)
  Q_PROPERTY(QString Path READ Path WRITE SetPath)

 public:
  explicit ShellTree(QWidget* parent = nullptr);

  QString Root() const { return root_; }
  // A path that is not a folder leaves the root as it was.
  void SetRoot(const QString& root);
  QStringList ObjectTypes() const;
  void SetObjectTypes(const QStringList& types);
  QString Path() const;
  void SetPath(const QString& path);

 private:
  QModelIndex indexOf(const QString& path) const;

  QFileSystemModel* files_;       // owned by the tree
  QSortFilterProxyModel* shown_;  // owned by the tree
  QString root_;
};

// The file and folder chooser: a title, a tree of the file system, an OK
// button and a cancel one. SeleccionarArchivoCarpeta sets it up and reads the choice.
class TfGENEOPEN : public Form {
  Q_OBJECT

 public:
  explicit TfGENEOPEN(QWidget* owner = nullptr);
  ~TfGENEOPEN() override;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  std::unique_ptr<Ui::TfGENEOPEN> ui_;
};

extern TfGENEOPEN* fGENEOPEN;

// Registers the form under its class name, so that the services below this
// layer can create it.
void RegistrarGENEOPEN();
