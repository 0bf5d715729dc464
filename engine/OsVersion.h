// The running system's version code (see engine/OsVersionCode.h).
#pragma once

// 0 when the version query fails or the version is not in the table.
int GetOsVersionCode();
