#include "platform/odbc/OdbcDriver.h"

#include "platform/odbc/OdbcHandle.h"

#include <QStringList>

#include <sql.h>
#include <sqlext.h>

#include <array>
#include <memory>

#include <dlfcn.h>

namespace {

// The "Driver=" attribute of a driver the driver manager lists.
QString driverLibrary(const QString& driverName) {
  OdbcHandle environment(SQL_HANDLE_ENV, nullptr);
  std::array<SQLCHAR, 256> name{};
  std::array<SQLCHAR, 2048> attributes{};
  SQLSMALLINT nameLength = 0;
  SQLSMALLINT attributesLength = 0;
  for (SQLUSMALLINT direction = SQL_FETCH_FIRST;; direction = SQL_FETCH_NEXT) {
    const SQLRETURN result =
        SQLDrivers(environment.Get(), direction, name.data(), static_cast<SQLSMALLINT>(name.size()), &nameLength,
                   attributes.data(), static_cast<SQLSMALLINT>(attributes.size()), &attributesLength);
    if (!SQL_SUCCEEDED(result)) return {};
    if (QString::fromUtf8(reinterpret_cast<const char*>(name.data())).compare(driverName, Qt::CaseInsensitive) != 0)
      continue;
    // Attribute pairs, each ended by a NUL, the list by two.
    for (const char* pair = reinterpret_cast<const char*>(attributes.data()); *pair; pair += qstrlen(pair) + 1) {
      const QString text = QString::fromUtf8(pair);
      if (text.startsWith(u"Driver=", Qt::CaseInsensitive)) return text.mid(7);
    }
    return {};
  }
}

// unixODBC finds a driver named without a folder in its own "odbc" folder.
void* openDriver(const QString& library) {
  if (void* driver = dlopen(library.toLocal8Bit().constData(), RTLD_NOW | RTLD_LOCAL)) return driver;
  Dl_info manager{};
  if (library.contains(u'/') || !dladdr(reinterpret_cast<void*>(&SQLDrivers), &manager) || !manager.dli_fname)
    return nullptr;
  const QString managerFile = QString::fromLocal8Bit(manager.dli_fname);
  const QString folder = managerFile.left(managerFile.lastIndexOf(u'/') + 1) + QStringLiteral("odbc/");
  return dlopen((folder + library).toLocal8Bit().constData(), RTLD_NOW | RTLD_LOCAL);
}

struct LibraryCloser {
  void operator()(void* library) const { dlclose(library); }
};

using AllocHandle = SQLRETURN (*)(SQLSMALLINT, SQLHANDLE, SQLHANDLE*);
using FreeHandle = SQLRETURN (*)(SQLSMALLINT, SQLHANDLE);
using SetEnvAttr = SQLRETURN (*)(SQLHENV, SQLINTEGER, SQLPOINTER, SQLINTEGER);
using GetInfo = SQLRETURN (*)(SQLHDBC, SQLUSMALLINT, SQLPOINTER, SQLSMALLINT, SQLSMALLINT*);

// The driver's own SQLGetInfo answers SQL_DRIVER_VER without a connection;
// through the driver manager it would need one.
QString driverVersionText(const QString& library) {
  const std::unique_ptr<void, LibraryCloser> driver(openDriver(library));
  if (!driver) return {};
  const auto alloc = reinterpret_cast<AllocHandle>(dlsym(driver.get(), "SQLAllocHandle"));
  const auto release = reinterpret_cast<FreeHandle>(dlsym(driver.get(), "SQLFreeHandle"));
  const auto setEnv = reinterpret_cast<SetEnvAttr>(dlsym(driver.get(), "SQLSetEnvAttr"));
  const auto getInfo = reinterpret_cast<GetInfo>(dlsym(driver.get(), "SQLGetInfo"));
  if (!alloc || !release || !setEnv || !getInfo) return {};
  SQLHANDLE environment = nullptr;
  if (!SQL_SUCCEEDED(alloc(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &environment))) return {};
  setEnv(environment, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
  QString version;
  SQLHANDLE connection = nullptr;
  if (SQL_SUCCEEDED(alloc(SQL_HANDLE_DBC, environment, &connection))) {
    std::array<char, 64> text{};
    SQLSMALLINT length = 0;
    if (SQL_SUCCEEDED(getInfo(connection, SQL_DRIVER_VER, text.data(), static_cast<SQLSMALLINT>(text.size()), &length)))
      version = QString::fromLatin1(text.data());
    release(SQL_HANDLE_DBC, connection);
  }
  release(SQL_HANDLE_ENV, environment);
  return version;
}

}  // namespace

std::optional<OdbcDriverVersion> OdbcDriverVersion::Parse(const QString& text) {
  const QStringList parts = text.trimmed().split(u'.');
  if (parts.size() != 3) return std::nullopt;
  OdbcDriverVersion version;
  int* const numbers[] = {&version.major, &version.minor, &version.release};
  for (int i = 0; i < 3; ++i) {
    bool ok = false;
    *numbers[i] = parts[i].toInt(&ok);
    if (!ok) return std::nullopt;
  }
  return version;
}

QString OdbcDriverVersion::Text() const { return QStringLiteral("%1.%2.%3").arg(major).arg(minor).arg(release); }

std::optional<OdbcDriverVersion> InstalledDriverVersion(const QString& driverName) {
  const QString library = driverLibrary(driverName);
  if (library.isEmpty()) return std::nullopt;
  return OdbcDriverVersion::Parse(driverVersionText(library));
}
