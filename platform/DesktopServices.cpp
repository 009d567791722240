#include "platform/DesktopServices.h"

#include <QDesktopServices>
#include <QUrl>

namespace {

class SystemDesktop : public DesktopServices {
 public:
  bool OpenFile(const QString& path) override { return QDesktopServices::openUrl(QUrl::fromLocalFile(path)); }
  bool OpenUrl(const QString& address) override { return QDesktopServices::openUrl(QUrl(address)); }
};

}  // namespace

bool DesktopServices::OpenUrl(const QString&) { return false; }

DesktopServices& DesktopServices::Default() {
  static SystemDesktop desktop;
  return desktop;
}
