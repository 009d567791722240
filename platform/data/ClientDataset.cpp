#include "platform/data/ClientDataset.h"

#include "platform/sqlite/DatabaseError.h"

namespace {

constexpr auto kNoProvider = "Missing data provider or data packet";

}  // namespace

ClientDataset::ClientDataset(QObject* owner) : IndexedDataset(owner) {}

ClientDataset::~ClientDataset() = default;

void ClientDataset::SetProviderDataSet(Dataset* dataSet) {
  CheckInactive();
  provider_ = dataSet;
}

Dataset::Records ClientDataset::fetch() {
  if (!provider_) throw EDatabaseError(QString::fromLatin1(kNoProvider));
  const bool wasActive = provider_->Active();
  provider_->Open();
  Records records = Snapshot(*provider_);
  if (!wasActive) provider_->Close();
  // The provider's identities need not be unique (a query's are not).
  qint64 identity = 0;
  for (Row& row : records.rows) row.identity = ++identity;
  return records;
}

Dataset::Records ClientDataset::ReadRecords() {
  if (!data_) data_ = fetch();
  return *data_;
}

void ClientDataset::ReleaseSource() {
  IndexedDataset::ReleaseSource();
  data_.reset();
}
