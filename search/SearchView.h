#pragma once

#include <cstdint>
#include <string>
#include <vector>

// One row of lvwResults, in column order.
struct TResultRow {
    std::string pos;
    std::string title;
    std::string domain;
    std::string keyword;
};

// What the search needs from the window that runs it (TfrmMain). Every call happens on the UI
// thread; ProcessMessages() may run any other handler of the window, including Stop, Clear,
// Save Results and a refused Search, before it returns.
class ISearchView {
public:
    virtual ~ISearchView() = default;

    // The search bar.
    virtual std::string Keyword() const = 0; // edtKeyword, as typed
    virtual int TypeIndex() const = 0;       // cbxType's item index, -1 when none is selected
    virtual int ItemsIndex() const = 0;      // cbxItems's item index

    // The window's stop flag: set by Stop and by closing the window, cleared by Search.
    virtual bool StopFlag() const = 0;
    virtual void SetStopFlag(bool stop) = 0;

    // The status bar.
    virtual void SetMainStatusText(const std::string &text) = 0;   // MainStatusPanel
    virtual void SetSecondStatusText(const std::string &text) = 0; // SecondStatusPanel
    virtual std::int64_t GaugeMax() const = 0;                     // MainGauge
    virtual void SetGaugeMax(std::int64_t maximum) = 0;
    virtual void SetGaugeValue(std::int64_t value) = 0; // always within 0..GaugeMax()

    // lvwResults.
    virtual int ResultRowCount() const = 0;
    virtual void AppendResultRow(const TResultRow &row) = 0;
    virtual void ClearResultRows() = 0;
    virtual std::vector<TResultRow> ResultRows() const = 0;

    // Told when a search starts and ends, so the Search button can show that it refuses clicks.
    virtual void SearchRunningChanged(bool running) = 0;

    // Dispatches the window's pending events.
    virtual void ProcessMessages() = 0;
};
