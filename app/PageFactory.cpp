// The page table's classes: which page object each template id gets.

#include "app/DirectoryPage.h"
#include "app/QuestionPages.h"
#include "resources/ResourceIds.h"
#include "app/CopyProgressPage.h"
#include "app/WorkPages.h"

std::unique_ptr<PageNode> CreateWizardPage(int pageId) {
    if (!FindPageTableRow(pageId)) return nullptr;
    switch (pageId) {
    case IDD_READING: return std::make_unique<ReadingPage>();
    case IDD_CONDITIONS: return std::make_unique<ConditionsPage>();
    case IDD_DIRECTORY: return std::make_unique<DirectoryPage>();
    case IDD_GROUP: return std::make_unique<GroupPage>();
    case IDD_COPY: return std::make_unique<CopyProgressPage>();
    case IDD_REGISTERING: return std::make_unique<RegisteringPage>();
    case IDD_RESTART: return std::make_unique<RestartPage>();
    case IDD_UNINSTALL_WELCOME: return std::make_unique<UninstallWelcomePage>();
    case IDD_REMOVING: return std::make_unique<RemovingPage>();
    case IDD_UNREGISTERING: return std::make_unique<UnregisteringPage>();
    default:
        // Welcome, finished, failure and removed pages: the base behaviour.
        return std::make_unique<WizardPage>(pageId);
    }
}
