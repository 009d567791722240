#pragma once

#include <QObject>

class AdoConnection;
class Database;
class TfGENEINIC;

// The connections the start-up services object owns: the current company's
// database, the general database, a second company's beside it (the
// alternative), and the ADO twins of the first and the third.
class TConexiones : public QObject {
  Q_OBJECT

 public:
  explicit TConexiones(QObject* owner);

  ::Database* const Database;
  ::Database* const DatabaseGeneral;
  ::Database* const DatabaseAlt;
  AdoConnection* const ADOConnection;
  AdoConnection* const ADOConnectionAlt;
};

// The connections of the services object, made with their owner's first call.
TConexiones& Conexiones(TfGENEINIC& servicios);

// The engine texts every engine-aware routine compares.
inline constexpr char kMicrosoftSQLServer[] = "Microsoft SQL Server";
inline constexpr char kParadox[] = "Paradox";
bool EsSQLServer();  // TipoBaseDatos is "Microsoft SQL Server"
bool EsParadox();    // TipoBaseDatos is "Paradox"
