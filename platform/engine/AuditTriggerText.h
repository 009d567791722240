#pragma once

#include "platform/engine/AuditTrigger.h"

// The CREATE TRIGGER text of an audit trigger for each engine.
QString SqlServerAuditTrigger(const AuditTrigger& trigger);
// A row trigger; the connection provides app_name() and zem_system_user().
QString SqliteAuditTrigger(const AuditTrigger& trigger);
