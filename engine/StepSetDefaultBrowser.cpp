// Install step 3: hands the default-browser registration to the installed
// control program.  Its start is not waited for and its result not read.
#include "engine/CSetupLogic.h"
#include "engine/OsVersion.h"
#include "engine/OsVersionCode.h"
#include "engine/ShellLaunch.h"

int CSetupLogic::StepSetDefaultBrowser() {
  const std::wstring control = m_installDir + L"NuvraCtrl.exe";
  // From Windows 6.0 on the registration needs elevation, which the user
  // may refuse; that refusal fails the step.
  if (IsVistaOrLaterCode(GetOsVersionCode())) return ShellRunSetDefBrowser(control.c_str());
  return ShellOpenFile(control.c_str(), L"/SetDefBrowser");
}
