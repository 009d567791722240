#pragma once

#include "platform/engine/AuditTrigger.h"

#include <QList>
#include <QString>

class EjecucionActualizacion;
struct OpcionesActualizacion;

// The generated triggers of a company database: the BLOB trigger when
// replication is on, and the access-history triggers of each table named in
// "RegistrarAccesoATablas" when access logging is on.
void CrearTriggers(EjecucionActualizacion& ejecucion, const OpcionesActualizacion& opciones, const QString& baseDatos);

// The three access-history triggers of a table from its definition; REGACCES
// gets no insert trigger.
QList<AuditTrigger> TriggersAuditoria(const QString& tabla, const QString& definiciones);
// The statement that drops a trigger by its name.
QString SentenciaEliminarTrigger(const QString& trigger);
// The BLOB trigger's text on SQL Server.
QString TextoTriggerBLOBTAB();
