#pragma once

#include <string>
#include <unordered_set>

class ISearchView;

// Decides which candidates of a running search become rows of lvwResults. Owned by that search:
// its seen domains outlive a "Clear results" in the middle of it.
class TResultsTable final {
public:
    // itemLimit 0 means no limit.
    explicit TResultsTable(int itemLimit) : FItemLimit(itemLimit) {}

    int ItemLimit() const { return FItemLimit; }
    // True when there is a limit and the table holds at least that many rows.
    bool LimitReached(const ISearchView &view) const;

    // Appends a row for the link's domain unless the limit is reached or the domain was seen,
    // case aside, earlier in this search. Processes the window's messages after a new row.
    bool AddResult(ISearchView &view, const std::string &link, const std::string &title);

private:
    int FItemLimit;
    std::unordered_set<std::string> FSeenDomains; // lower-cased
};

// btnClearClick: every row and both status texts go.
void ClearResults(ISearchView &view);
