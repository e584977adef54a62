#include "analysis/error_plot.h"
#include "units/number_text.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

#include "forms/control.h"

namespace hvr::analysis {

namespace {

constexpr std::uint32_t kGrid = 0xE0E0E0;
constexpr std::uint32_t kAxis = 0x000000;
constexpr std::uint32_t kEnvelope = kLimitBlue;
constexpr std::uint32_t kUnjudged = 0x808080;
constexpr double kCharWidth = 90; // a digit of the picture font, in twips
constexpr double kTextHeight = 180;
constexpr double kCross = 45; // half the size of a group's cross

double percentOf(std::int64_t micro) {
    return static_cast<double>(micro) / 100000.0;
}

std::string tickText(double value, double step) {
    int decimals = 0;
    while (decimals < 4 &&
           std::abs(step * std::pow(10.0, decimals) - std::round(step * std::pow(10.0, decimals))) > 1e-6)
        ++decimals;
    return fixedText(std::abs(value) < step / 1000 ? 0.0 : value, decimals);
}

} // namespace

double tickStep(double span, int ticks) {
    const double raw = span / ticks;
    const double decade = std::pow(10.0, std::floor(std::log10(raw)));
    for (double m : {1.0, 2.0, 2.5, 5.0, 10.0})
        if (m * decade >= raw * (1 - 1e-9)) return m * decade;
    return 10 * decade;
}

void drawErrorPlot(platform::Canvas& canvas, double width, double height, const GroupAnalysis& a) {
    canvas.clear(colors::kWhite);
    const double left = 8 * kCharWidth, right = width - 3 * kCharWidth;
    const double top = kTextHeight * 1.8, bottom = height - kTextHeight * 2.6;
    if (right <= left || bottom <= top) return;

    // The ranges: every group's load and the whole class in view, zero in the middle. The
    // error's scale is the judged groups' (all groups' where none is judged): a group without a
    // verdict, far out at a load below the class, would hide the limits.
    const auto points = verdict::limitPoints(a.basis.accuracy);
    const bool anyJudged = std::any_of(a.rows.begin(), a.rows.end(), [](const GroupRow& row) {
        return row.judgement.outcome != verdict::Outcome::None;
    });
    double loadMax = 120, errorMax = 0;
    for (const auto& p : points)
        errorMax = std::max(errorMax, percentOf(p.limitMicro));
    for (const GroupRow& row : a.rows) {
        const auto& j = row.judgement;
        if (!j.errorMicro || !j.loadMicro) continue;
        loadMax = std::max(loadMax, percentOf(*j.loadMicro));
        if (!anyJudged || j.outcome != verdict::Outcome::None)
            errorMax = std::max(errorMax, std::abs(percentOf(*j.errorMicro)));
    }
    if (errorMax == 0) errorMax = 1;
    const double xStep = tickStep(loadMax, 6);
    const double xMax = std::ceil(loadMax / xStep - 1e-9) * xStep;
    const double yStep = tickStep(errorMax * 1.1, 4);
    const double yMax = std::ceil(errorMax * 1.1 / yStep - 1e-9) * yStep;
    const auto x = [&](double load) { return left + (right - left) * load / xMax; };
    const auto y = [&](double error) { return top + (bottom - top) * (yMax - error) / (2 * yMax); };

    for (double v = 0; v <= xMax + xStep / 2; v += xStep) {
        canvas.line(x(v), top, x(v), bottom, kGrid);
        const std::string t = tickText(v, xStep);
        canvas.text(x(v) - kCharWidth * static_cast<double>(t.size()) / 2, bottom + kTextHeight * 0.3, t,
                    kAxis);
    }
    for (double v = -yMax; v <= yMax + yStep / 2; v += yStep) {
        canvas.line(left, y(v), right, y(v), std::abs(v) < yStep / 2 ? kUnjudged : kGrid);
        const std::string t = tickText(v, yStep);
        canvas.text(left - kCharWidth * (static_cast<double>(t.size()) + 0.5), y(v) - kTextHeight / 2, t,
                    kAxis);
    }
    canvas.line(left, top, left, bottom, kAxis);
    canvas.line(left, bottom, right, bottom, kAxis);
    canvas.text(left - kCharWidth * 3, top - kTextHeight * 1.6, "误差(%)", kAxis);
    canvas.text(right - kCharWidth * 7, bottom + kTextHeight * 1.35, "负荷(%)", kAxis);

    for (const GroupRow& row : a.rows) {
        const auto& j = row.judgement;
        if (!j.errorMicro || !j.loadMicro) continue;
        const std::uint32_t color = j.outcome == verdict::Outcome::Pass   ? colors::kGreen
                                    : j.outcome == verdict::Outcome::Fail ? colors::kRed
                                                                          : kUnjudged;
        const double error = percentOf(*j.errorMicro);
        const double px = x(percentOf(*j.loadMicro));
        // Beyond the scale: a cross at its edge, and a stroke pointing on.
        const double py = y(std::clamp(error, -yMax, yMax));
        canvas.line(px - kCross, py - kCross, px + kCross, py + kCross, color);
        canvas.line(px - kCross, py + kCross, px + kCross, py - kCross, color);
        if (std::abs(error) > yMax) {
            const double outward = error > 0 ? -1 : 1;
            canvas.line(px, py, px, py + outward * 3 * kCross, color);
        }
    }

    // The class's limits, above and below zero, over the crosses.
    for (std::size_t i = 0; i + 1 < points.size(); ++i) {
        const double x0 = x(points[i].load), x1 = x(points[i + 1].load);
        const double l0 = percentOf(points[i].limitMicro), l1 = percentOf(points[i + 1].limitMicro);
        canvas.line(x0, y(l0), x1, y(l1), kEnvelope);
        canvas.line(x0, y(-l0), x1, y(-l1), kEnvelope);
    }
}

} // namespace hvr::analysis
