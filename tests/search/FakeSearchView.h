#pragma once

#include "search/SearchView.h"

#include <functional>
#include <string>
#include <vector>

// A window stand-in that records what the search shows. onProcessMessages plays the part of the
// events a real window would dispatch there (a Stop click, a Clear click, a second Search).
class TFakeSearchView final : public ISearchView {
public:
    std::string keyword = "forum";
    int typeIndex = 0;
    int itemsIndex = 0;
    bool stopFlag = false;
    std::string mainStatus;
    std::string secondStatus;
    std::int64_t gaugeMax = 0;
    std::int64_t gaugeValue = 0;
    std::vector<TResultRow> rows;
    std::vector<std::string> mainStatusLog;
    std::vector<bool> runningLog;
    int processMessagesCalls = 0;
    std::function<void()> onProcessMessages;

    std::string Keyword() const override { return keyword; }
    int TypeIndex() const override { return typeIndex; }
    int ItemsIndex() const override { return itemsIndex; }
    bool StopFlag() const override { return stopFlag; }
    void SetStopFlag(bool stop) override { stopFlag = stop; }
    void SetMainStatusText(const std::string &text) override {
        mainStatus = text;
        mainStatusLog.push_back(text);
    }
    void SetSecondStatusText(const std::string &text) override { secondStatus = text; }
    std::int64_t GaugeMax() const override { return gaugeMax; }
    void SetGaugeMax(std::int64_t maximum) override { gaugeMax = maximum; }
    void SetGaugeValue(std::int64_t value) override { gaugeValue = value; }
    int ResultRowCount() const override { return static_cast<int>(rows.size()); }
    void AppendResultRow(const TResultRow &row) override { rows.push_back(row); }
    void ClearResultRows() override { rows.clear(); }
    std::vector<TResultRow> ResultRows() const override { return rows; }
    void SearchRunningChanged(bool running) override { runningLog.push_back(running); }
    void ProcessMessages() override {
        ++processMessagesCalls;
        if (onProcessMessages) {
            // A handler that runs once per pump, as a click would; it may install the next one.
            auto handler = std::move(onProcessMessages);
            onProcessMessages = nullptr;
            handler();
        }
    }
};
