// Queries the system version and classifies it.
#include "engine/OsVersion.h"

#include <windows.h>

#include "engine/OsVersionCode.h"

int GetOsVersionCode() {
  // The extended structure (284 bytes) carries the product type that tells
  // workstations from servers.
  OSVERSIONINFOEXW info = {};
  info.dwOSVersionInfoSize = sizeof(info);
  if (!GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(&info))) return 0;
  return OsVersionCodeFromFields(info.dwPlatformId, info.dwMajorVersion,
                                 info.dwMinorVersion, info.wProductType);
}
