// The Windows version classification used by the shell hand-offs and the
// pin verbs.  The mapping is a pure function of the four version fields so
// that the whole table can be checked on any host; GetOsVersionCode
// (engine/OsVersion.h) feeds it the real version query on Windows.
#pragma once

// Codes 7 and above mean Windows 6.0 or later: elevation through "runas"
// and the Start-menu and taskbar pin verbs exist there.
constexpr int kOsVersionCodeVista = 7;

// Product type of a workstation edition (VER_NT_WORKSTATION).
constexpr unsigned kProductTypeWorkstation = 1;

// platformId: 0 Win32s, 1 Windows 9x, 2 NT.  A version the table does not
// know gives 0, which every caller treats like an old system.
constexpr int OsVersionCodeFromFields(unsigned platformId, unsigned major,
                                      unsigned minor, unsigned productType) {
  if (platformId == 0) return 1;
  if (platformId == 1) return 2;
  if (platformId != 2) return 0;
  if (major <= 4) return 3;
  const bool workstation = productType == kProductTypeWorkstation;
  if (major == 5) {
    if (minor == 0) return 4;
    if (minor == 1) return 5;
    if (minor == 2) return 6;
    return 0;
  }
  if (major == 6) {
    // NT 6.1 servers share the NT 6.0 server code.
    if (minor == 0) return workstation ? 7 : 8;
    if (minor == 1) return workstation ? 9 : 8;
    if (minor == 2) return workstation ? 11 : 10;
    return 0;
  }
  return 0;
}

constexpr bool IsVistaOrLaterCode(int code) { return code >= kOsVersionCodeVista; }
