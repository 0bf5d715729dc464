// Not built yet: fails with ERROR_CALL_NOT_IMPLEMENTED.
#include "engine/CSetupLogic.h"
#include "engine/NotImplemented.h"

int CSetupLogic::StepSetDefaultBrowser() { return StepNotImplemented(); }
