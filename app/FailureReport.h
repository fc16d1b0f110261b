#pragma once
// The wizard's one report of a failed step: "Setup cannot continue" with
// the exception's details. Never throws.

#include "framework/Exception.h"

void ReportSetupFailure(const CException& e) noexcept;
