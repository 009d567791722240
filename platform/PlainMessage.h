#pragma once

#include "platform/Seam.h"

#include <QString>

// The toolkit's plain message dialog: the text and an OK button under the
// application's title. It is not the system's message box and gives no answer.
// Its question is a Yes/No box under its own title, with the question icon and
// No as the default button: true for Yes.
class PlainMessage {
 public:
  virtual ~PlainMessage() = default;
  virtual void Show(const QString& text) = 0;
  virtual bool AskYesNo(const QString& title, const QString& text) = 0;

  static PlainMessage& Default();
};

using PlainMessageSeam = Seam<PlainMessage>;

void ShowMessage(const QString& text);
bool AskYesNo(const QString& title, const QString& text);
