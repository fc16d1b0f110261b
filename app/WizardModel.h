#pragma once
// The wizard's page chain without windows: the links every page carries,
// the page table, and the registry with its navigator walk. The window side
// (WizardPage, ShowPage) builds on this. Portable: no <windows.h>.

#include <functional>
#include <map>
#include <memory>

// Page ids with a meaning of their own in the links.
constexpr int kNoNextPage = 0;   // nextPageId/backPageId: nowhere to go
constexpr int kEndOfSetup = -1;  // nextPageId: leaving the page ends Setup

// The links of one page. WizardPage derives from it; tests use it alone.
class PageNode {
public:
    PageNode(int pageId, int nextPageId, int barTemplateId)
        : pageId(pageId), nextPageId(nextPageId), barTemplateId(barTemplateId) {}
    virtual ~PageNode() = default;
    PageNode(const PageNode&) = delete;
    PageNode& operator=(const PageNode&) = delete;

    // Whether the navigator may show this page now. Base: always.
    virtual bool IsApplicable() { return true; }

    int pageId;
    int nextPageId;
    int barTemplateId;   // 0: the page carries its own buttons
    int wasLeft = 0;     // 1 once the page was hidden to show another
    int backPageId = 0;  // set on the first forward arrival
};

// One row of the page table.
struct PageTableRow {
    int pageId;
    int nextPageId;   // initial next page (page 114: see InitialNextPage)
    bool hasButtonBar;
};

// The row for `pageId`, or null for ids the table does not know.
const PageTableRow* FindPageTableRow(int pageId);
// Initial next page of `pageId`; the reading page leads to the removal pass
// in uninstall mode. kNoNextPage for unknown ids.
int InitialNextPage(int pageId, bool uninstallMode);
// Every page id of the table, in table order.
const PageTableRow* PageTableBegin();
const PageTableRow* PageTableEnd();

// The process-wide page registry: owns the pages, knows the current one and
// walks the chain. Pages it has not met are made by the factory.
class PageRegistry {
public:
    // Makes the page for an id, or null when the table has none.
    using Factory = std::function<std::unique_ptr<PageNode>(int pageId)>;

    // The result of a walk: where the navigator comes from and goes to.
    struct Transition {
        PageNode* previous = nullptr;  // current page before the walk (may be null)
        PageNode* target = nullptr;    // null: no page to show (see Walk)
    };

    explicit PageRegistry(Factory factory = nullptr) : factory_(std::move(factory)) {}
    PageRegistry(const PageRegistry&) = delete;
    PageRegistry& operator=(const PageRegistry&) = delete;

    void SetFactory(Factory factory) { factory_ = std::move(factory); }

    // Registers `page` under its pageId, replacing (and deleting) an
    // earlier page with that id. Returns the page.
    PageNode* Register(std::unique_ptr<PageNode> page);
    // The registered page, or null.
    PageNode* Find(int pageId) const;
    // The registered page, made by the factory (and registered) if missing.
    PageNode* FindOrCreate(int pageId);
    // Deletes every page; the current page becomes null.
    void Clear();
    std::size_t Size() const { return pages_.size(); }

    PageNode* Current() const { return current_; }

    // Steps 2 to 5 of showing page `pageId`: walks past inapplicable pages
    // (by their back links when going back, else by their next links), sets
    // the found page's back link on its first forward arrival, and makes it
    // the current page. When the walk meets an id without a page (0, -1 or
    // an id the table lacks) or goes round in a circle, the target is null
    // and nothing changes.
    Transition Walk(int pageId, bool goingBack);

    // The last step: the page that was left is marked so.
    static void MarkLeft(const Transition& t) {
        if (t.target && t.previous && t.previous != t.target) t.previous->wasLeft = 1;
    }

private:
    Factory factory_;
    // Sorted by id, so that the pages are destroyed in the same order on
    // every run.
    std::map<int, std::unique_ptr<PageNode>> pages_;
    PageNode* current_ = nullptr;
};
