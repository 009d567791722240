#include "platform/odbc/OdbcConnection.h"
#include "platform/odbc/SqlServerOdbc.h"
#include "platform/sqlite/DatabaseError.h"
#include "tests/platform/data/DataFixture.h"
#include "tests/platform/odbc/TdsLoginListener.h"

#include <gtest/gtest.h>

namespace {

OdbcDriverVersion installedFreeTds() {
  const std::optional<OdbcDriverVersion> version = InstalledDriverVersion(u"FreeTDS"_qs);
  if (!version) throw std::runtime_error("FreeTDS (tdsodbc) is not installed");
  return *version;
}

}  // namespace

TEST(SqlServerLogin, TheInstalledDriverTellsItsVersion) {
  const OdbcDriverVersion version = installedFreeTds();
  EXPECT_GE(version, (OdbcDriverVersion{0, 91, 0}));
  EXPECT_FALSE(InstalledDriverVersion(u"NoSuchDriver"_qs).has_value());
  EXPECT_EQ(OdbcDriverVersion::Parse(u"01.03.0017"_qs), (OdbcDriverVersion{1, 3, 17}));
}

// Through the installed FreeTDS to a listener that reads the login packet.
TEST(SqlServerLogin, ValuesArriveAsMeantOrAreRefusedBeforeAnythingIsSent) {
  const OdbcDriverVersion driver = installedFreeTds();
  const bool readsEscapedBraces = driver >= OdbcDriverVersion{1, 4, 0};
  struct Case {
    const char16_t* user;
    const char16_t* password;
    const char16_t* database;
    bool needsEscapedBraces;
  };
  const Case cases[] = {
      {u"ZEM", u"clave", u"EMP5", false},
      {u"ZEM", u"a}b", u"EMP}", false},
      {u"ZEM;DATABASE=OTRA", u"a;b=c", u" EMP ", false},
      {u"{ZEM", u"{x", u"{EMP", false},
      {u"ZEM", u"x};DATABASE=INYECTADA", u"EMP", true},
      {u"ZEM", u"a;b}", u"EMP", true},
      {u"ZEM", u"clave", u"E};MP", true},
  };
  for (const Case& c : cases) {
    const QString password = QString::fromUtf16(c.password);
    TdsLoginListener listener;
    SqlServerOdbc::Login login;
    login.server = LoopbackServerName(listener.Port());
    login.database = QString::fromUtf16(c.database);
    login.user = QString::fromUtf16(c.user);
    login.password = password;
    login.application = u"zemwin|ANA"_qs;
    const QString driverText = DriverMessageOf([&] { SqlServerOdbc::Open(login); });
    const TdsLoginListener::Login received = listener.Received();
    if (c.needsEscapedBraces && !readsEscapedBraces) {
      EXPECT_FALSE(received.arrived) << password.toStdString();
      EXPECT_TRUE(driverText.contains(u"FreeTDS "_qs + driver.Text())) << driverText.toStdString();
      continue;
    }
    ASSERT_TRUE(received.arrived) << password.toStdString() << ": " << driverText.toStdString();
    EXPECT_EQ(received.password, password);
    EXPECT_EQ(received.user, login.user);
    EXPECT_EQ(received.database, login.database);
    EXPECT_EQ(received.application, u"zemwin|ANA"_qs);
    // The login's own default language, not the driver's us_english.
    EXPECT_EQ(received.language, QString());
    EXPECT_FALSE(driverText.isEmpty());  // the listener hung up
  }
}
