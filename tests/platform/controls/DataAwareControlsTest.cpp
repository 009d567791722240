#include <QTest>
#include "platform/Form.h"
#include "platform/controls/Components.h"
#include "platform/controls/DBChoiceControls.h"
#include "platform/controls/DBDisplayControls.h"
#include "platform/controls/DBEdit.h"
#include "platform/controls/DBGrid.h"
#include "platform/controls/DBLookupComboBox.h"
#include "platform/controls/DBNavigator.h"
#include "platform/controls/DatasetModel.h"
#include "platform/controls/Properties.h"
#include "platform/data/DataSource.h"
#include "platform/data/Field.h"
#include "tests/platform/controls/ShownGrid.h"
#include "tests/platform/data/CountsAsked.h"
#include "tests/platform/data/RecordsHelpers.h"

#include <QApplication>
#include <QComboBox>
#include <QFont>
#include <QHeaderView>
#include <QRadioButton>
#include <QTimer>
#include <QToolButton>

#include <gtest/gtest.h>

#include <functional>

namespace {

// The customers table with two records, open on a data source.
struct BoundCustomers {
  BoundCustomers() {
    data.AddCustomer(1, u"Ana"_qs);
    data.AddCustomer(2, u"Luis"_qs);
    table = data.OpenTable(u"CLIENTES"_qs);
    table->setObjectName(u"Table1"_qs);
    source.SetDataSet(table.get());
  }
  Field& field(const char* name) { return table->FieldByName(QString::fromLatin1(name)); }
  DataFixture data;
  std::unique_ptr<Table> table;
  DataSource source;
};

struct Binding {
  const char* kind;
  const char* field;
  std::function<QWidget*(BoundCustomers&)> make;  // bound to the field
  std::function<QString(QWidget*)> shown;
  std::function<void(QWidget*)> userChange;  // as a user would
  QString stored;                            // the field's text afterwards
};

// A control of kind C, set up, then bound to the field.
template <class C>
std::function<QWidget*(BoundCustomers&)> Bound(const char* field, std::function<void(C&)> setUp = {}) {
  return [field, setUp](BoundCustomers& b) {
    auto* control = new C;
    if (setUp) setUp(*control);
    control->SetSource(&b.source);
    control->SetDataField(QString::fromLatin1(field));
    return control;
  };
}

template <class C>
C* As(QWidget* widget) {
  return static_cast<C*>(widget);
}

}  // namespace

TEST(DataAwareControls, ShowTheFieldAndStoreWhatTheUserChanges) {
  const Binding bindings[] = {
      {"edit", "Nombre", Bound<DBEdit>("Nombre"), [](QWidget* w) { return As<DBEdit>(w)->text(); },
       [](QWidget* w) {
         As<DBEdit>(w)->setText(u"Ana María"_qs);
         emit As<DBEdit>(w)->textEdited(As<DBEdit>(w)->text());
         emit As<DBEdit>(w)->editingFinished();
       },
       u"Ana María"_qs},
      {"memo", "Nombre", Bound<DBMemo>("Nombre"), [](QWidget* w) { return As<DBMemo>(w)->toPlainText(); },
       [](QWidget* w) {
         As<DBMemo>(w)->setPlainText(u"Ana\nMaría"_qs);
         As<DBMemo>(w)->UpdateRecord();
       },
       u"Ana\nMaría"_qs},
      {"check box", "Nombre", Bound<DBCheckBox>("Nombre", [](DBCheckBox& check) {
         check.ValueChecked = u"Ana"_qs;
         check.ValueUnchecked = u"Nadie"_qs;
       }),
       [](QWidget* w) { return As<DBCheckBox>(w)->isChecked() ? u"on"_qs : u"off"_qs; },
       [](QWidget* w) { As<DBCheckBox>(w)->click(); }, u"Nadie"_qs},
      {"combo box", "Nombre",
       Bound<DBComboBox>("Nombre", [](DBComboBox& combo) { combo.addItems({u"Luis"_qs, u"Ana"_qs, u"Eva"_qs}); }),
       [](QWidget* w) { return As<DBComboBox>(w)->currentText(); },
       [](QWidget* w) {
         As<DBComboBox>(w)->setCurrentIndex(2);
         emit As<DBComboBox>(w)->textActivated(As<DBComboBox>(w)->currentText());
       },
       u"Eva"_qs},
      {"radio group", "Codigo", Bound<DBRadioGroup>("Codigo", [](DBRadioGroup& group) {
         group.SetItems({u"Uno"_qs, u"Dos"_qs, u"Tres"_qs});
         group.Values = {u"1"_qs, u"2"_qs, u"3"_qs};
       }),
       [](QWidget* w) {
         for (auto* button : w->findChildren<QRadioButton*>())
           if (button->isChecked()) return button->text();
         return QString();
       },
       [](QWidget* w) { w->findChildren<QRadioButton*>().at(2)->click(); }, u"3"_qs},
  };
  for (const Binding& binding : bindings) {
    SCOPED_TRACE(binding.kind);
    BoundCustomers customers;
    std::unique_ptr<QWidget> control(binding.make(customers));
    const QString first = binding.shown(control.get());
    customers.table->Next();
    const QString second = binding.shown(control.get());
    EXPECT_NE(first, second) << "the control follows the current record";
    customers.table->First();
    EXPECT_EQ(binding.shown(control.get()), first);
    ASSERT_EQ(customers.table->State(), dsBrowse);
    binding.userChange(control.get());
    EXPECT_EQ(customers.table->State(), dsEdit) << "changing the value puts the dataset in edit";
    EXPECT_EQ(customers.field(binding.field).Text(), binding.stored);
    customers.table->Post();
    customers.table->Refresh();
    EXPECT_EQ(customers.field(binding.field).Text(), binding.stored);
  }
}

TEST(DataAwareControls, AnEditsOwnReadOnlyFlagOutlastsTheStatesOfItsDataset) {
  BoundCustomers customers;
  DBEdit edit;
  edit.SetSource(&customers.source);
  edit.SetDataField(u"Nombre"_qs);
  edit.SetReadOnly(true);
  EXPECT_TRUE(edit.isReadOnly());
  customers.table->Edit();
  customers.table->Cancel();
  customers.table->Next();
  EXPECT_TRUE(edit.isReadOnly()) << "shown again, still its own flag";
  edit.SetReadOnly(false);
  EXPECT_FALSE(edit.isReadOnly());
  customers.table->Close();
  customers.table->SetReadOnly(true);
  customers.table->Open();
  EXPECT_TRUE(edit.isReadOnly()) << "a dataset that cannot be modified";
}

TEST(DataAwareControls, DisplayFormatLookupLabelAndReadOnlyDataset) {
  BoundCustomers customers;
  EditRecord(*customers.table, {{u"Saldo"_qs, Variant::Double(1234.5)}});
  customers.field("Saldo").SetDisplayFormat(u"#,##0.00"_qs);
  DBEdit edit;
  edit.SetSource(&customers.source);
  edit.SetDataField(u"Saldo"_qs);
  EXPECT_EQ(edit.text(), u"1.234,50"_qs) << "the display format while it has no focus";
  DBText label;
  label.SetSource(&customers.source);
  label.SetDataField(u"Saldo"_qs);
  EXPECT_EQ(label.text(), u"1.234,50"_qs);

  // The second table lists the names; the lookup stores the chosen key.
  auto names = customers.data.OpenTable(u"CLIENTES"_qs);
  DataSource list;
  list.SetDataSet(names.get());
  DBLookupComboBox lookup;
  lookup.KeyField = u"Codigo"_qs;
  lookup.ListField = u"Nombre"_qs;
  lookup.SetListSource(&list);
  lookup.SetSource(&customers.source);
  lookup.SetDataField(u"Codigo"_qs);
  EXPECT_EQ(lookup.currentText(), u"Ana"_qs);
  lookup.FillList();
  ASSERT_EQ(lookup.count(), 2);
  EXPECT_EQ(names->RecNo(), 1) << "reading the list leaves its dataset where it was";
  emit lookup.activated(lookup.findText(u"Luis"_qs));
  EXPECT_EQ(customers.field("Codigo").AsInteger(), 2);
  customers.table->Cancel();

  customers.table->Close();
  customers.table->SetReadOnly(true);
  customers.table->Open();
  edit.setText(u"9"_qs);
  emit edit.textEdited(edit.text());
  EXPECT_EQ(customers.table->State(), dsBrowse) << "a read-only dataset is not put in edit";
  EXPECT_TRUE(edit.isReadOnly());
}

TEST(DataAwareControls, EngineEditMasksBecomeInputMasks) {
  const struct {
    const char* engine;
    const char* qt;
  } masks[] = {
      {"!99/99/0000;1;_", "00/00/9999;_"},
      {"LL-000;0;*", "AA-999;*"},
      {">LL<>ca;1;_", ">AA!xn;_"},
      {"\\L00;1;_", "\\L99;_"},
      {"", ""},
  };
  DBEdit edit;
  for (const auto& mask : masks) {
    edit.SetEditMask(QString::fromLatin1(mask.engine));
    EXPECT_EQ(edit.inputMask(), QString::fromLatin1(mask.qt)) << mask.engine;
    EXPECT_EQ(ReadProperty(&edit, u"EditMask"_qs).toString(), QString::fromLatin1(mask.engine));
  }
}

TEST(DataAwareControls, NavigatorFollowsTheState) {
  BoundCustomers customers;
  DBNavigator navigator;
  navigator.SetSource(&customers.source);
  EXPECT_FALSE(navigator.Button(nbPrior)->isEnabled());
  EXPECT_TRUE(navigator.Button(nbNext)->isEnabled());
  EXPECT_FALSE(navigator.Button(nbPost)->isEnabled());
  navigator.Button(nbLast)->click();
  EXPECT_EQ(customers.table->RecNo(), 2);
  EXPECT_FALSE(navigator.Button(nbNext)->isEnabled());
  navigator.Button(nbEdit)->click();
  EXPECT_EQ(customers.table->State(), dsEdit);
  EXPECT_TRUE(navigator.Button(nbPost)->isEnabled());
  EXPECT_FALSE(navigator.Button(nbInsert)->isEnabled());
  navigator.Button(nbCancel)->click();
  EXPECT_EQ(customers.table->State(), dsBrowse);
}

// The rows painted around a record found far into a large table are read
// by moving from it: its place is counted once, not again for each window.
TEST(DBGridOverDataset, ARecordFoundFarInALargeTableHasItsPlaceCountedOnce) {
  DataFixture data;
  data.Execute(u"WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 100000) "
               "INSERT INTO CLIENTES (Codigo, Nombre) SELECT i, 'Cliente ' || i FROM n"_qs);
  auto table = data.OpenTable(u"CLIENTES"_qs);
  ShownGrid shown(*table);
  DBGrid& grid = shown.grid;
  QApplication::processEvents();
  const CountsAsked places(data.File(), " < ");
  const int codigos[] = {70030, 30002, 99999, 64, 65};
  for (const int codigo : codigos) {
    SCOPED_TRACE(codigo);
    ASSERT_TRUE(table->FindKey({Variant::Integer(codigo)}));
    QApplication::processEvents();
    grid.viewport()->repaint();
    EXPECT_EQ(grid.currentIndex().row(), codigo - 1);
    for (const int row : {codigo - 70, codigo - 2, codigo - 1, codigo + 60})
      EXPECT_EQ(grid.model()->index(row, 1).data().toString(),
                row >= 0 && row < 100000 ? u"Cliente %1"_qs.arg(row + 1) : QString())
          << row;
    EXPECT_EQ(table->FieldByName(u"Codigo"_qs).AsInteger(), codigo) << "reading rows leaves the record current";
  }
  EXPECT_LE(places.Counts(), int(std::size(codigos)));
  // The last record first in its window, reached by Last, its window read first.
  data.Execute(u"DELETE FROM CLIENTES WHERE Codigo > 99969"_qs);
  table->Refresh();
  table->Last();
  for (const int row : {99968, 99967, 99900})
    EXPECT_EQ(grid.model()->index(row, 1).data().toString(), u"Cliente %1"_qs.arg(row + 1)) << row;
}

TEST(DBGridOverDataset, ALargeTableShowsOnlyWhatIsInView) {
  DataFixture data;
  data.Execute(
      u"WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 100000) "
      "INSERT INTO CLIENTES (Codigo, Nombre) SELECT i, 'Cliente ' || i FROM n"_qs);
  auto table = data.OpenTable(u"CLIENTES"_qs);
  int scrolls = 0;
  table->AfterScroll = [&](Dataset&) { ++scrolls; };
  ShownGrid shown(*table);
  DBGrid& grid = shown.grid;
  QApplication::processEvents();
  ASSERT_EQ(grid.model()->rowCount(), 100000);
  EXPECT_EQ(grid.model()->index(0, 1).data().toString(), u"Cliente 1"_qs);
  EXPECT_LE(grid.Model()->RecordsRead(), 2 * DatasetModel::kWindow);
  EXPECT_EQ(scrolls, 0) << "reading rows to show them is not a scroll";
  EXPECT_EQ(table->RecNo(), 1);

  table->SetRecNo(70000);
  EXPECT_EQ(grid.currentIndex().row(), 69999) << "the grid follows the dataset";
  QApplication::processEvents();
  EXPECT_EQ(grid.model()->index(69999, 1).data().toString(), u"Cliente 70000"_qs);
  grid.setCurrentIndex(grid.model()->index(12, 1));
  EXPECT_EQ(table->RecNo(), 13) << "the dataset follows the grid";
  EXPECT_EQ(table->FieldByName(u"Nombre"_qs).AsString(), u"Cliente 13"_qs);
  EXPECT_LE(grid.Model()->RecordsRead(), 8 * DatasetModel::kWindow);

  grid.SetColumnVisible(0, false);
  table->Close();
  table->Open();
  EXPECT_FALSE(grid.ColumnVisible(0)) << "a hidden column stays hidden when the dataset opens again";
  EXPECT_TRUE(grid.model()->setData(grid.model()->index(0, 1), u"Primero"_qs));
  EXPECT_EQ(table->State(), dsEdit) << "typing in a cell puts the dataset in edit";
  table->Post();
  EXPECT_EQ(data.Scalar(u"SELECT Nombre FROM CLIENTES WHERE Codigo = 1"_qs).toString(), u"Primero"_qs);
}

TEST(DBGridOverDataset, ARecordBeingInsertedHasARowOfItsOwn) {
  BoundCustomers customers;
  customers.data.AddCustomer(3, u"Eva"_qs);
  customers.table->Refresh();
  DBGrid grid;
  grid.SetSource(&customers.source);
  const auto name = [&](int row) { return grid.model()->index(row, 1).data().toString(); };
  customers.table->SetRecNo(2);
  EXPECT_EQ(name(2), u"Eva"_qs) << "the rows shown are read before the insert";
  customers.table->Insert();
  ASSERT_EQ(grid.model()->rowCount(), 4);
  EXPECT_EQ(grid.currentIndex().row(), 1);
  customers.field("Nombre").SetAsString(u"Nuevo"_qs);
  EXPECT_EQ((QStringList{name(0), name(1), name(2), name(3)}), (QStringList{u"Ana"_qs, u"Nuevo"_qs, u"Luis"_qs, u"Eva"_qs}));
  customers.table->Cancel();
  EXPECT_EQ(grid.model()->rowCount(), 3);
  EXPECT_EQ(name(1), u"Luis"_qs);
}

// A dataset closed and opened again while its controls hear nothing (as a
// search reads its next rows) is shown once, with the fields it now shows,
// even when it holds as many records as before.
TEST(DBGridOverDataset, ADatasetReopenedUnheardShowsItsNewFieldsAndRowsOnceTold) {
  BoundCustomers customers;
  DBGrid grid;
  grid.SetSource(&customers.source);
  grid.show();
  QStringList shown;
  for (int column = 0; column < grid.ColumnCount(); ++column) shown.append(grid.ColumnFieldName(column));
  ASSERT_EQ(shown.first(), u"Codigo"_qs);
  int resets = 0;
  QObject::connect(grid.model(), &QAbstractItemModel::modelReset, [&resets] { ++resets; });
  customers.table->DisableControls();
  customers.table->Close();
  customers.data.Execute(u"UPDATE CLIENTES SET Nombre = 'Otro' WHERE Codigo = 1"_qs);
  customers.table->Open();
  customers.field("Codigo").SetVisible(false);
  EXPECT_EQ(resets, 0) << "nothing is shown while the controls are off";
  customers.table->EnableControls();
  EXPECT_EQ(resets, 1);
  shown.removeFirst();
  QStringList now;
  for (int column = 0; column < grid.ColumnCount(); ++column) now.append(grid.ColumnFieldName(column));
  EXPECT_EQ(now, shown);
  EXPECT_EQ(grid.model()->index(0, int(shown.indexOf(u"Nombre"_qs))).data().toString(), u"Otro"_qs);
  EXPECT_EQ(grid.currentIndex().row(), 0);
}

TEST(DBGridOverDataset, TheSelectedIndexIsTheCurrentColumnAndSettingItKeepsTheRecord) {
  BoundCustomers customers;
  DBGrid grid;
  grid.SetSource(&customers.source);
  grid.show();
  EXPECT_EQ(grid.SelectedIndex(), 0) << "no current cell yet";
  customers.table->Last();
  const int registro = customers.table->RecNo();
  ASSERT_GT(registro, 1);
  grid.SetSelectedIndex(1);
  EXPECT_EQ(grid.SelectedIndex(), 1);
  EXPECT_EQ(grid.SelectedField(), &customers.field("Nombre"));
  EXPECT_EQ(customers.table->RecNo(), registro);
  grid.SetSelectedIndex(7);
  EXPECT_EQ(grid.SelectedIndex(), 1) << "a column the grid lacks";
  grid.SetSelectedIndex(0);
  EXPECT_EQ(grid.SelectedIndex(), 0);
  EXPECT_EQ(customers.table->RecNo(), registro);
}

TEST(DBGridOverDataset, AColumnsTitleAndPickListStayWithItsFieldAndTheListEditsIt) {
  BoundCustomers customers;
  DBGrid grid;
  grid.SetSource(&customers.source);
  EXPECT_EQ(grid.ColumnTitle(1), u"Nombre"_qs) << "the field's label until the column has a title";
  grid.SetColumnTitle(1, u"Cliente"_qs);
  grid.SetColumnPickList(1, {u"Ana"_qs, u"Zoe"_qs});
  customers.table->Close();
  customers.table->Open();
  ASSERT_EQ(grid.ColumnFieldName(1), u"Nombre"_qs);
  EXPECT_EQ(grid.model()->headerData(1, Qt::Horizontal).toString(), u"Cliente"_qs);
  EXPECT_EQ(grid.ColumnPickList(1), QStringList({u"Ana"_qs, u"Zoe"_qs}));
  EXPECT_TRUE(grid.ColumnPickList(0).isEmpty());
  EXPECT_EQ(grid.SelectedField(), &customers.field("Codigo"));

  grid.show();
  const QModelIndex nombre = grid.model()->index(0, 1);
  grid.setCurrentIndex(nombre);
  EXPECT_EQ(grid.SelectedField(), &customers.field("Nombre"));
  grid.edit(nombre);
  auto* list = grid.findChild<QComboBox*>();
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(list->count(), 2);
  EXPECT_EQ(list->currentText(), u"Ana"_qs);
  list->setCurrentIndex(1);
  grid.itemDelegate()->setModelData(list, grid.model(), nombre);
  EXPECT_EQ(customers.table->State(), dsEdit);
  EXPECT_EQ(customers.field("Nombre").AsString(), u"Zoe"_qs);
}

TEST(FormComponents, ListedInOrderWithKindsAndPropertiesByOriginalName) {
  DataFixture data;
  Form form;
  form.setObjectName(u"fPRUEBA"_qs);
  auto* edit = new DBEdit(&form);
  edit->setObjectName(u"EditNombre"_qs);
  auto table = data.NewTable(u"CLIENTES"_qs, &form);
  table->setObjectName(u"Table1"_qs);
  auto* codigo = new Field(table.get(), u"Codigo"_qs);
  auto* source = new DataSource(&form);
  source->setObjectName(u"DataSource1"_qs);
  auto* grid = new DBGrid(&form);
  grid->setObjectName(u"DBGrid1"_qs);
  new QObject(&form);  // unnamed: not a component

  const QList<QObject*> components = Components(&form);
  QStringList listed;
  for (QObject* component : components) listed << ComponentName(component) + u":"_qs + ComponentKind(component);
  EXPECT_EQ(listed, (QStringList{u"EditNombre:TDBEdit"_qs, u"Table1:TTable"_qs, u"Table1Codigo:TField"_qs,
                                 u"DataSource1:TDataSource"_qs, u"DBGrid1:TDBGrid"_qs}));

  // Names compare exactly.
  for (const auto& [object, name, has] : {std::tuple<QObject*, const char16_t*, bool>{edit, u"Hint", true},
                                          {edit, u"hint", false}, {edit, u"font", false}, {source, u"Font", false},
                                          {grid, u"TitleFont", true}})
    EXPECT_EQ(HasProperty(object, QString::fromUtf16(name)), has) << QString::fromUtf16(name).toStdString();
  using Valor = std::tuple<QObject*, const char16_t*, QVariant>;
  for (const auto& [object, name, value] :
       {Valor{edit, u"Hint", u"fPRUEBA.EditNombre"_qs}, Valor{edit, u"DataField", u"Nombre"_qs},
        Valor{codigo, u"DisplayFormat", u"#,###.##"_qs}, Valor{edit, u"Visible", false}, Valor{edit, u"Tag", 7}}) {
    EXPECT_TRUE(WriteProperty(object, QString::fromUtf16(name), value));
    EXPECT_EQ(ReadProperty(object, QString::fromUtf16(name)), value) << QString::fromUtf16(name).toStdString();
  }
  EXPECT_EQ(edit->toolTip() + codigo->DisplayFormat(), u"fPRUEBA.EditNombre#,###.##"_qs);
  EXPECT_FALSE(WriteProperty(codigo, u"Font"_qs, QFont()));
  EXPECT_FALSE(ReadProperty(edit, u"NoExiste"_qs).isValid());
  table.release();  // owned by the form
}

TEST(FormComponents, CloseQueryCanKeepTheFormOpen) {
  Form form;
  EXPECT_FALSE(form.OnCloseQuery);
  bool allow = false;
  int asked = 0;
  form.OnCloseQuery = [&](Form&, bool& canClose) {
    ++asked;
    canClose = allow;
  };
  form.show();
  form.close();
  EXPECT_TRUE(form.isVisible());
  allow = true;
  form.close();
  EXPECT_FALSE(form.isVisible());
  EXPECT_EQ(asked, 2) << "one question per close";

  allow = false;
  QTimer::singleShot(0, &form, [&] {
    form.SetModalResult(mrOk);
    EXPECT_TRUE(form.isVisible()) << "a modal result is refused as a close is";
    allow = true;
    form.SetModalResult(mrOk);
  });
  EXPECT_EQ(form.ShowModal(), mrOk);
  EXPECT_EQ(asked, 4);
}

// Typing into an edit of an empty table starts a new record: every
// character typed is kept, the first one too, also where the new record is
// given values of its own.
TEST(DataAwareControls, TheFirstCharacterTypedIntoAnEmptyTableIsKept) {
  DataFixture data;
  auto table = data.OpenTable(u"CLIENTES"_qs);
  table->OnNewRecord = [](Dataset& dataset) { dataset.FieldByName(u"Codigo"_qs).SetAsInteger(7); };
  DataSource source;
  source.SetDataSet(table.get());
  QWidget window;
  auto* edit = new DBEdit(&window);
  edit->SetSource(&source);
  edit->SetDataField(u"Nombre"_qs);
  window.show();
  edit->setFocus();
  QTest::keyClicks(edit, u"Jose <ana_1@zem.es> (x)?"_qs);
  EXPECT_EQ(edit->text(), u"Jose <ana_1@zem.es> (x)?"_qs);
  edit->UpdateRecord();
  EXPECT_EQ(table->FieldByName(u"Nombre"_qs).AsString(), u"Jose <ana_1@zem.es> (x)?"_qs);
}
