// The install step table: ids equal positions; the window copies entries
// from here into the step list.
#include "engine/CSetupLogic.h"

const InstallStep g_installStepTable[INSTALL_STEP_COUNT] = {
    {STEP_EXTRACT_PACKAGE, &CSetupLogic::StepExtractPackage},
    {STEP_WRITE_UNINSTALL_ENTRY, &CSetupLogic::StepWriteUninstallEntry},
    {STEP_EMPTY, &CSetupLogic::StepEmpty},
    {STEP_SET_DEFAULT_BROWSER, &CSetupLogic::StepSetDefaultBrowser},
    {STEP_START_MENU_SHORTCUTS, &CSetupLogic::StepStartMenuShortcuts},
    {STEP_DESKTOP_SHORTCUT, &CSetupLogic::StepDesktopShortcut},
    {STEP_GAME_PORTAL_SHORTCUT, &CSetupLogic::StepGamePortalShortcut},
    {STEP_QUICK_LAUNCH_SHORTCUT, &CSetupLogic::StepQuickLaunchShortcut},
    {STEP_LAUNCH_BROWSER, &CSetupLogic::StepLaunchBrowser},
    {STEP_CLOSE_RUNNING_BROWSER, &CSetupLogic::StepCloseRunningBrowser},
};
