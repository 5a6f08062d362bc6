#include "search/ResultsTable.h"

#include "search/ResultExtraction.h"
#include "search/SearchView.h"
#include "utils/TextUtils.h"

bool TResultsTable::LimitReached(const ISearchView &view) const {
    return FItemLimit > 0 && view.ResultRowCount() >= FItemLimit;
}

bool TResultsTable::AddResult(ISearchView &view, const std::string &link, const std::string &title) {
    if (LimitReached(view))
        return false;
    std::string domain = ExtractDomain(link);
    if (!FSeenDomains.insert(AsciiLower(domain)).second)
        return false;

    // Pos counts the rows present now, so rows after a "Clear results" start again at 1.
    const int rowCount = view.ResultRowCount() + 1;
    view.AppendResultRow({std::to_string(rowCount), title, std::move(domain), view.Keyword()});
    view.SetSecondStatusText(std::to_string(view.ResultRowCount()) + " items");
    view.ProcessMessages();
    return true;
}

void ClearResults(ISearchView &view) {
    view.ClearResultRows();
    view.SetMainStatusText("");
    view.SetSecondStatusText("");
}
