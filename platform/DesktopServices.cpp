#include "platform/DesktopServices.h"

#include <QProcess>
#include <QUrl>

namespace {

// The desktop's opener, started on its own: what it or the program it
// starts writes never reaches the program's terminal.
bool openInDesktop(const QUrl& url) {
  const QString argument = url.toString(QUrl::FullyEncoded);
  // An address the opener would take for one of its options opens nothing.
  if (!url.isValid() || argument.isEmpty() || argument.startsWith(u'-')) return false;
  QProcess opener;
  opener.setProgram(QStringLiteral("xdg-open"));
  opener.setArguments({argument});
  opener.setStandardInputFile(QProcess::nullDevice());
  opener.setStandardOutputFile(QProcess::nullDevice());
  opener.setStandardErrorFile(QProcess::nullDevice());
  return opener.startDetached();
}

class SystemDesktop : public DesktopServices {
 public:
  bool OpenFile(const QString& path) override { return openInDesktop(QUrl::fromLocalFile(path)); }
  bool OpenUrl(const QString& address) override { return openInDesktop(QUrl(address)); }
};

}  // namespace

bool DesktopServices::OpenUrl(const QString&) { return false; }

DesktopServices& DesktopServices::Default() {
  static SystemDesktop desktop;
  return desktop;
}
