#pragma once

#include "platform/Seam.h"

#include <QString>

// The toolkit's plain message dialog: the text and an OK button under the
// application's title. It is not the system's message box and gives no answer.
class PlainMessage {
 public:
  virtual ~PlainMessage() = default;
  virtual void Show(const QString& text) = 0;

  static PlainMessage& Default();
};

using PlainMessageSeam = Seam<PlainMessage>;

void ShowMessage(const QString& text);
