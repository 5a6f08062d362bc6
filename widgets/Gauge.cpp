#include "widgets/Gauge.h"

#include <algorithm>

namespace {
// The bar draws in this many steps whatever the real range, so 64-bit counts fit its int range.
constexpr int BarSteps = 10000;

// value x scale / maximum, rounded down; the product of two 64-bit counts needs 128 bits.
__extension__ typedef __int128 TWide;
int Scale(std::int64_t value, std::int64_t scale, std::int64_t maximum) {
    return maximum == 0 ? 0 : static_cast<int>(static_cast<TWide>(value) * scale / maximum);
}
} // namespace

TSkinGauge::TSkinGauge(QWidget *parent) : QProgressBar(parent) {
    setOrientation(Qt::Horizontal);
    setTextVisible(true);
    setAlignment(Qt::AlignCenter);
    UpdateBar();
}

void TSkinGauge::SetMaxValue(std::int64_t maxValue) {
    FMaxValue = std::max<std::int64_t>(maxValue, 0);
    FValue = std::clamp<std::int64_t>(FValue, 0, FMaxValue);
    UpdateBar();
}

void TSkinGauge::SetValue(std::int64_t value) {
    FValue = std::clamp<std::int64_t>(value, 0, FMaxValue);
    UpdateBar();
}

int TSkinGauge::Percent() const {
    return Scale(FValue, 100, FMaxValue);
}

QString TSkinGauge::text() const {
    return QString::number(Percent()) + QLatin1Char('%');
}

void TSkinGauge::UpdateBar() {
    setRange(0, BarSteps);
    setValue(Scale(FValue, BarSteps, FMaxValue));
    update();
}
