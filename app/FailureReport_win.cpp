#include "app/FailureReport.h"

#include "resources/ResourceIds.h"
#include "errors/ReportException.h"

void ReportSetupFailure(const CException& e) noexcept { ReportException(IDS_SETUP_CANNOT_CONTINUE, e); }
