#pragma once

#include "platform/data/IndexedDataset.h"

#include <QPointer>

#include <optional>

// Records held in memory: opening copies the records its provider dataset
// shows (opening it for the copy when closed), which may then close; the
// copy is kept until the client dataset closes. Read only; with indexes,
// ranges, filters and searches of its own.
class ClientDataset : public IndexedDataset {
  Q_OBJECT

 public:
  explicit ClientDataset(QObject* owner = nullptr);
  ~ClientDataset() override;

  // The dataset the provider reads (only while closed).
  Dataset* ProviderDataSet() const { return provider_; }
  void SetProviderDataSet(Dataset* dataSet);

 protected:
  Records ReadRecords() override;
  void ReleaseSource() override;

 private:
  Records fetch();

  QPointer<Dataset> provider_;
  std::optional<Records> data_;
};
