#pragma once

#include <QProgressBar>

#include <cstdint>

// The status bar's progress gauge: a range from 0 to a maximum that may exceed 32 bits (a byte
// count), a value always clamped into that range, and a percentage text. A maximum of 0 shows an
// empty bar, never the busy animation QProgressBar would draw for an empty range. Use SetMaxValue
// and SetValue, not QProgressBar's own setters: the bar's internal range is a scaled copy.
class TSkinGauge final : public QProgressBar {
    Q_OBJECT
public:
    explicit TSkinGauge(QWidget *parent = nullptr);

    // A negative maximum counts as 0. The value is clamped again into the new range.
    void SetMaxValue(std::int64_t maxValue);
    void SetValue(std::int64_t value);
    std::int64_t MaxValue() const { return FMaxValue; }
    std::int64_t Value() const { return FValue; }
    // Whole percent, rounded down so the bar reads 100% only when it is full.
    int Percent() const;
    QString text() const override;

private:
    void UpdateBar();

    std::int64_t FMaxValue = 100;
    std::int64_t FValue = 0;
};
