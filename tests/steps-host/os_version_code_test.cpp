// The Windows version classification, row by row, including the versions
// the table does not know.
#include <gtest/gtest.h>

#include "engine/OsVersionCode.h"

namespace {

const unsigned kWorkstation = 1;
const unsigned kDomainController = 2;
const unsigned kServer = 3;

struct VersionRow {
  const char* name;
  unsigned platformId, major, minor, productType;
  int code;
};

const VersionRow kRows[] = {
    {"Win32s", 0, 3, 10, 0, 1},
    {"Windows 9x", 1, 4, 10, 0, 2},
    {"NT 3.51", 2, 3, 51, kWorkstation, 3},
    {"NT 4.0", 2, 4, 0, kServer, 3},
    {"NT 5.0", 2, 5, 0, kWorkstation, 4},
    {"NT 5.1", 2, 5, 1, kWorkstation, 5},
    {"NT 5.2 server", 2, 5, 2, kServer, 6},
    {"NT 5.3", 2, 5, 3, kWorkstation, 0},
    {"NT 6.0 workstation", 2, 6, 0, kWorkstation, 7},
    {"NT 6.0 server", 2, 6, 0, kServer, 8},
    {"NT 6.0 domain controller", 2, 6, 0, kDomainController, 8},
    {"NT 6.1 workstation", 2, 6, 1, kWorkstation, 9},
    {"NT 6.1 server", 2, 6, 1, kServer, 8},
    {"NT 6.1 domain controller", 2, 6, 1, kDomainController, 8},
    {"NT 6.2 workstation", 2, 6, 2, kWorkstation, 11},
    {"NT 6.2 server", 2, 6, 2, kServer, 10},
    {"NT 6.3", 2, 6, 3, kWorkstation, 0},
    {"NT 7.0", 2, 7, 0, kWorkstation, 0},
    {"NT 10.0", 2, 10, 0, kWorkstation, 0},
    {"platform 3 (CE)", 3, 6, 0, kWorkstation, 0},
};

TEST(OsVersionCode, MapsEveryRowOfTheTable) {
  for (const VersionRow& row : kRows) {
    EXPECT_EQ(row.code, OsVersionCodeFromFields(row.platformId, row.major, row.minor,
                                                row.productType))
        << row.name;
  }
}

// Callers only ask "Windows 6.0 or later?": every NT 6.0 to 6.2 edition
// says yes, old and unknown versions say no.
TEST(OsVersionCode, OnlyNt6EditionsCountAsVistaOrLater) {
  for (const VersionRow& row : kRows) {
    const bool nt6 = row.platformId == 2 && row.major == 6 && row.minor <= 2;
    EXPECT_EQ(nt6, IsVistaOrLaterCode(row.code)) << row.name;
  }
}

}  // namespace
