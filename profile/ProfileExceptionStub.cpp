// Stand-in for the two exception classes this library throws, used only
// while the error layer's own library is not part of the build. It defines
// nothing the error layer defines once errors_core exists (see CMakeLists).
#include "errors/SetupException.h"

TVS_IMPLEMENT_DYNAMIC(CXException, CException)
TVS_IMPLEMENT_DYNAMIC(CInstallProfileException, CXException)

void CXException::FillMessages() const {}
void CInstallProfileException::FillMessages() const {}
