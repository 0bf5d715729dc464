// Install step 8: starts the installed browser, hidden and not waited for,
// with "-Setup" so that it knows it comes straight from the installer.
#include "engine/CSetupLogic.h"
#include "engine/ShellLaunch.h"

int CSetupLogic::StepLaunchBrowser() {
  return ShellOpenFile((m_installDir + L"NuvraBrowser.exe").c_str(), L"-Setup");
}
