#include "app/WizardModel.h"

#include <iterator>

#include "resources/ResourceIds.h"

namespace {

const PageTableRow kPageTable[] = {
    {IDD_WELCOME, IDD_READING, true},
    {IDD_READING, IDD_CONDITIONS, false},
    {IDD_CONDITIONS, IDD_DIRECTORY, true},
    {IDD_DIRECTORY, IDD_GROUP, true},
    {IDD_GROUP, IDD_COPY, true},
    {IDD_COPY, IDD_REGISTERING, false},
    {IDD_REGISTERING, IDD_FINISHED, false},
    {IDD_FINISHED, kEndOfSetup, false},
    {IDD_FAILED, kEndOfSetup, false},
    {IDD_RESTART, kEndOfSetup, false},
    {IDD_UNINSTALL_WELCOME, IDD_READING, true},
    {IDD_REMOVING, IDD_UNREGISTERING, true},
    {IDD_UNREGISTERING, IDD_REMOVED, true},
    {IDD_REMOVED, kEndOfSetup, false},
};

// Longer than any chain of pages the table can hold: a walk that gets this
// far goes round in a circle.
constexpr int kMaxWalk = 64;

}  // namespace

const PageTableRow* PageTableBegin() { return std::begin(kPageTable); }
const PageTableRow* PageTableEnd() { return std::end(kPageTable); }

const PageTableRow* FindPageTableRow(int pageId) {
    for (const PageTableRow& row : kPageTable)
        if (row.pageId == pageId) return &row;
    return nullptr;
}

int InitialNextPage(int pageId, bool uninstallMode) {
    if (pageId == IDD_READING) return uninstallMode ? IDD_REMOVING : IDD_CONDITIONS;
    const PageTableRow* row = FindPageTableRow(pageId);
    return row ? row->nextPageId : kNoNextPage;
}

PageNode* PageRegistry::Register(std::unique_ptr<PageNode> page) {
    PageNode* raw = page.get();
    auto& slot = pages_[page->pageId];
    if (slot.get() == current_) current_ = nullptr;
    slot = std::move(page);
    return raw;
}

PageNode* PageRegistry::Find(int pageId) const {
    const auto it = pages_.find(pageId);
    return it == pages_.end() ? nullptr : it->second.get();
}

PageNode* PageRegistry::FindOrCreate(int pageId) {
    if (PageNode* page = Find(pageId)) return page;
    if (!factory_ || pageId == kNoNextPage || pageId == kEndOfSetup) return nullptr;
    std::unique_ptr<PageNode> made = factory_(pageId);
    return made ? Register(std::move(made)) : nullptr;
}

void PageRegistry::Clear() {
    current_ = nullptr;
    // Pages are taken out before they are deleted, so that a page whose
    // destruction looks at the registry finds a consistent one.
    while (!pages_.empty()) {
        std::unique_ptr<PageNode> page = std::move(pages_.begin()->second);
        pages_.erase(pages_.begin());
        page.reset();
    }
}

PageRegistry::Transition PageRegistry::Walk(int pageId, bool goingBack) {
    Transition t;
    t.previous = current_;
    const int previousId = current_ ? current_->pageId : 0;

    PageNode* page = nullptr;
    int id = pageId;
    for (int steps = 0;; ++steps) {
        if (steps == kMaxWalk) return t;
        page = FindOrCreate(id);
        if (!page) return t;
        if (page->IsApplicable()) break;
        id = goingBack ? page->backPageId : page->nextPageId;
    }

    if (!goingBack && page->backPageId == 0 && previousId != page->pageId) page->backPageId = previousId;
    current_ = page;
    t.target = page;
    return t;
}
