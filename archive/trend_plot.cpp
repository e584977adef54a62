#include "archive/trend_plot.h"
#include "units/number_text.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "analysis/error_plot.h"
#include "forms/control.h"

namespace hvr::archive {

namespace {

constexpr std::uint32_t kGrid = 0xE0E0E0;
constexpr std::uint32_t kAxis = 0x000000;
constexpr std::uint32_t kRange = 0xC00000; // blue
constexpr double kCharWidth = 90;
constexpr double kTextHeight = 180;

} // namespace

void drawTrend(platform::Canvas& canvas, double width, double height, std::vector<TestSummary> tests) {
    canvas.clear(colors::kWhite);
    std::erase_if(tests, [](const TestSummary& t) { return !t.errorMean; });
    std::sort(tests.begin(), tests.end(),
              [](const TestSummary& a, const TestSummary& b) { return a.downloadedAt < b.downloadedAt; });
    const double left = 8 * kCharWidth, right = width - 3 * kCharWidth;
    const double top = kTextHeight * 1.8, bottom = height - kTextHeight * 2.2;
    canvas.text(left - kCharWidth * 3, top - kTextHeight * 1.6, "误差(%)", kAxis);
    if (tests.empty()) {
        canvas.text(left + kCharWidth * 4, (top + bottom) / 2, "没有可比较的测试记录", kAxis);
        return;
    }
    double errorMax = 0.1;
    for (const TestSummary& t : tests)
        errorMax = std::max({errorMax, std::abs(*t.errorMean), std::abs(t.errorMin.value_or(0)),
                             std::abs(t.errorMax.value_or(0))});
    const double step = analysis::tickStep(errorMax * 1.1, 4);
    const double yMax = std::ceil(errorMax * 1.1 / step - 1e-9) * step;
    const auto y = [&](double e) { return top + (bottom - top) * (yMax - e) / (2 * yMax); };
    const double slot = (right - left) / static_cast<double>(tests.size());
    const auto x = [&](std::size_t i) { return left + slot * (static_cast<double>(i) + 0.5); };

    for (double v = -yMax; v <= yMax + step / 2; v += step) {
        canvas.line(left, y(v), right, y(v), std::abs(v) < step / 2 ? 0x808080 : kGrid);
        const std::string text = fixedText(std::abs(v) < step / 1000 ? 0.0 : v, 2);
        canvas.text(left - kCharWidth * (static_cast<double>(text.size()) + 0.5),
                    y(v) - kTextHeight / 2, text, kAxis);
    }
    canvas.line(left, top, left, bottom, kAxis);
    canvas.line(left, bottom, right, bottom, kAxis);
    // Dates under the tests, as many as there is room for.
    const std::size_t every = std::max<std::size_t>(1, static_cast<std::size_t>(11 * kCharWidth / slot) + 1);
    for (std::size_t i = 0; i < tests.size(); ++i) {
        const TestSummary& t = tests[i];
        const double cx = x(i);
        if (t.errorMin && t.errorMax) {
            canvas.line(cx, y(*t.errorMin), cx, y(*t.errorMax), kRange);
            canvas.line(cx - 40, y(*t.errorMin), cx + 40, y(*t.errorMin), kRange);
            canvas.line(cx - 40, y(*t.errorMax), cx + 40, y(*t.errorMax), kRange);
        }
        const double cy = y(*t.errorMean);
        canvas.line(cx - 60, cy - 60, cx + 60, cy + 60, colors::kRed);
        canvas.line(cx - 60, cy + 60, cx + 60, cy - 60, colors::kRed);
        if (i % every == 0)
            canvas.text(cx - 5 * kCharWidth, bottom + kTextHeight * 0.3, t.downloadedAt.substr(0, 10), kAxis);
    }
}

} // namespace hvr::archive
