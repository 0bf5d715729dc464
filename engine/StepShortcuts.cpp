// Not built yet: fails with ERROR_CALL_NOT_IMPLEMENTED.
#include "engine/CSetupLogic.h"
#include "engine/NotImplemented.h"

int CSetupLogic::StepStartMenuShortcuts() { return StepNotImplemented(); }
int CSetupLogic::StepDesktopShortcut() { return StepNotImplemented(); }
int CSetupLogic::StepGamePortalShortcut() { return StepNotImplemented(); }
int CSetupLogic::StepQuickLaunchShortcut() { return StepNotImplemented(); }
