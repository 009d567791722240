#include "platform/DialogPlacement.h"
#include "platform/Form.h"

#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <QWindow>

#include <gtest/gtest.h>

namespace {

// The window a modal dialog was given and whether it stays on top, seen
// while it is on screen.
struct Placement {
  const QWindow* owner = nullptr;
  bool onTop = false;
};

template <typename Dialog>
Placement placementOf(Dialog& dialog, const std::function<void()>& whileShown = {}) {
  Placement seen;
  QTimer::singleShot(0, &dialog, [&] {
    QWidget* shown = QApplication::activeModalWidget();
    if (shown != &dialog) {
      ADD_FAILURE() << "the dialog is not the modal window";
    } else {
      seen.owner = dialog.windowHandle()->transientParent();
      seen.onTop = dialog.windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint);
      if (whileShown) whileShown();
    }
    dialog.reject();
  });
  dialog.exec();
  return seen;
}

class DialogPlacement : public ::testing::Test {
 protected:
  DialogPlacement() {
    onTop.setWindowFlag(Qt::WindowStaysOnTopHint);
    owner.show();
  }
  void activate(QWidget& window) {
    window.show();
    QApplication::setActiveWindow(&window);
  }

  QWidget owner;
  Form onTop;
  Form plain;
};

}  // namespace

TEST_F(DialogPlacement, ADialogBelongsToTheWindowThatOpensItAndStaysAboveWindowsOnTop) {
  activate(onTop);
  Form box;  // made without an owner, as the program's message box is
  const Placement ofBox = placementOf(box);
  EXPECT_EQ(ofBox.owner, onTop.windowHandle());
  EXPECT_TRUE(ofBox.onTop);

  QMessageBox question(QMessageBox::Question, QStringLiteral("Confirmar"), QStringLiteral("¿Continuar?"),
                       QMessageBox::Yes | QMessageBox::No);
  const Placement ofQuestion = placementOf(question);
  EXPECT_EQ(ofQuestion.owner, onTop.windowHandle());
  EXPECT_TRUE(ofQuestion.onTop);

  // Owned by another window, it still goes with the one that opens it; a
  // dialog opened from a dialog goes with that dialog.
  Form owned(&owner);
  Placement inner;
  Form second;
  const Placement ofOwned = placementOf(owned, [&] { inner = placementOf(second); });
  EXPECT_EQ(ofOwned.owner, onTop.windowHandle());
  EXPECT_EQ(inner.owner, owned.windowHandle());
  EXPECT_TRUE(inner.onTop);
}

TEST_F(DialogPlacement, WithNoWindowOnTopADialogOnlyGoesWithItsOpener) {
  activate(plain);
  Form box;
  const Placement seen = placementOf(box);
  EXPECT_EQ(seen.owner, plain.windowHandle());
  EXPECT_FALSE(seen.onTop);
  EXPECT_EQ(DialogOpener(box), &plain);
}
