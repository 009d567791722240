#include "platform/DesktopServices.h"

#include <QDesktopServices>
#include <QUrl>

namespace {

class SystemDesktop : public DesktopServices {
 public:
  bool OpenFile(const QString& path) override { return QDesktopServices::openUrl(QUrl::fromLocalFile(path)); }
};

}  // namespace

DesktopServices& DesktopServices::Default() {
  static SystemDesktop desktop;
  return desktop;
}
