#include "platform/controls/DBNavigator.h"

#include "platform/data/DataSource.h"
#include "platform/data/Dataset.h"
#include "platform/data/Field.h"

#include <QHBoxLayout>
#include <QToolButton>

DBNavigator::DBNavigator(QWidget* parent) : QWidget(parent) {
  static const char* const kSymbols[] = {"|<", "<", ">", ">|", "+", "-", "^", "\u2713", "x", "\u21bb"};
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  for (int i = nbFirst; i <= nbRefresh; ++i) {
    auto* button = new QToolButton(this);
    button->setText(QString::fromUtf8(kSymbols[i]));
    layout->addWidget(button);
    connect(button, &QToolButton::clicked, this, [this, i] { BtnClick(static_cast<NavigateBtn>(i)); });
    buttons_[static_cast<std::size_t>(i)] = button;
  }
  follow();
}

void DBNavigator::SetSource(DataSource* source) {
  disconnect(dataConnection_);
  disconnect(stateConnection_);
  source_ = source;
  if (source) {
    dataConnection_ = connect(source, &DataSource::DataChange, this, [this](Field* field) {
      if (!field) follow();
    });
    stateConnection_ = connect(source, &DataSource::StateChange, this, &DBNavigator::follow);
  }
  follow();
}

void DBNavigator::BtnClick(NavigateBtn button) {
  Dataset* dataset = source_ ? source_->DataSet() : nullptr;
  if (!dataset || !dataset->Active()) return;
  switch (button) {
    case nbFirst: dataset->First(); break;
    case nbPrior: dataset->Prior(); break;
    case nbNext: dataset->Next(); break;
    case nbLast: dataset->Last(); break;
    case nbInsert: dataset->Insert(); break;
    case nbDelete: dataset->Delete(); break;
    case nbEdit: dataset->Edit(); break;
    case nbPost: dataset->Post(); break;
    case nbCancel: dataset->Cancel(); break;
    case nbRefresh: dataset->Refresh(); break;
  }
}

void DBNavigator::follow() {
  Dataset* dataset = source_ ? source_->DataSet() : nullptr;
  const bool browsing = dataset && dataset->State() == dsBrowse;
  const bool editing = dataset && (dataset->State() == dsEdit || dataset->State() == dsInsert);
  const bool modifiable = browsing && dataset->CanModify();
  const bool atStart = !browsing || dataset->Bof();
  const bool atEnd = !browsing || dataset->Eof();
  const bool any = browsing && !dataset->IsEmpty();
  buttons_[nbFirst]->setEnabled(!atStart);
  buttons_[nbPrior]->setEnabled(!atStart);
  buttons_[nbNext]->setEnabled(!atEnd);
  buttons_[nbLast]->setEnabled(!atEnd);
  buttons_[nbInsert]->setEnabled(modifiable);
  buttons_[nbDelete]->setEnabled(modifiable && any);
  buttons_[nbEdit]->setEnabled(modifiable && any);
  buttons_[nbPost]->setEnabled(editing);
  buttons_[nbCancel]->setEnabled(editing);
  buttons_[nbRefresh]->setEnabled(browsing);
}
