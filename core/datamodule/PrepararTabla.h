#pragma once

class Table;

// Opens the table on its database, unfiltered, on its primary index and
// without the range it had, before a lookup; false when it cannot be made so.
// It never raises.
bool PrepararTabla(Table& tabla);
