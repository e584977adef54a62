// The curve chart: its geometry, "生成曲线" and the statistics of the shown range, the drag
// gestures, the read-out under the pointer and the curve bitmap.
#include "main_window/curve_chart.h"

#include <algorithm>
#include <cmath>

#include "units/number_text.h"
#include "units/range_code.h"
#include "main_window/form1.h"
#include "texts/texts.h"

namespace hvr {

namespace chart {

double scaleUp(double scale) {
    for (std::size_t i = 0; i + 1 < kLadder.size(); ++i)
        if (scale == kLadder[i]) return kLadder[i + 1];
    return scale;
}

double scaleDown(double scale) {
    for (std::size_t i = 1; i < kLadder.size(); ++i)
        if (scale == kLadder[i]) return kLadder[i - 1];
    return scale;
}

std::string scaleLabel(int n, double scale) {
    if (inAmperes(scale)) return decimalText(roundHalfEven(n * scale * 0.01), 1);
    return decimalText(static_cast<std::int64_t>(n * scale));
}

double yOf(double base, double scale) {
    return kBaseLine - base / (scale * 700) * kPlotHeight;
}

double valueAt(double y, double scale) {
    return (kBaseLine - y) / kPlotHeight * (scale * 700);
}

} // namespace chart

namespace {

using platform::Primitive;

class PictureBuilder {
  public:
    explicit PictureBuilder(platform::Picture& picture) : m_picture(picture) {}

    void clear(std::uint32_t color) { m_picture.push_back({Primitive::Kind::Clear, 0, 0, 0, 0, color, {}}); }
    void text(double x, double y, std::string text, std::uint32_t color) {
        m_picture.push_back({Primitive::Kind::Text, x, y, 0, 0, color, std::move(text)});
    }
    // A line as far as it lies inside the picture (Liang–Barsky); nothing when it lies outside.
    void line(double x0, double y0, double x1, double y1, std::uint32_t color) {
        double t0 = 0, t1 = 1;
        const double dx = x1 - x0, dy = y1 - y0;
        const auto clip = [&](double p, double q) {
            if (p == 0) return q >= 0;
            const double r = q / p;
            if (p < 0) {
                if (r > t1) return false;
                t0 = std::max(t0, r);
            } else {
                if (r < t0) return false;
                t1 = std::min(t1, r);
            }
            return true;
        };
        if (!std::isfinite(dx) || !std::isfinite(dy)) return;
        if (!clip(-dx, x0) || !clip(dx, chart::kPictureWidth - x0) || !clip(-dy, y0) ||
            !clip(dy, chart::kPictureHeight - y0))
            return;
        m_picture.push_back(
            {Primitive::Kind::Line, x0 + t0 * dx, y0 + t0 * dy, x0 + t1 * dx, y0 + t1 * dy, color, {}});
    }

  private:
    platform::Picture& m_picture;
};

void drawFrame(PictureBuilder& pic, const CurveState& curve) {
    using namespace chart;
    // Axes and arrowheads.
    pic.line(540, 300, 540, 4800, kAxis);
    pic.line(540, 4800, 9800, 4800, kAxis);
    pic.line(540, 300, 450, 450, kAxis);
    pic.line(540, 300, 630, 450, kAxis);
    pic.line(9800, 4800, 9650, 4710, kAxis);
    pic.line(9800, 4800, 9650, 4890, kAxis);
    pic.text(100, 0, inAmperes(curve.curve_scale) ? "I(电流:A)" : "I(电流:mA)", kAxis);
    pic.text(9600, 4990, curve.curve_mode == CurveState::kLiveCurve ? "   t(0.5S)" : "   y(组数:组)", kAxis);

    for (int i = 1; i <= 150; ++i) {
        const double x = 540 + 60 * i;
        pic.line(x, 4800, x, 4850, kAxis);
    }
    for (int i = 150; i >= 10; i -= 10) {
        const double x = 540 + 60 * i;
        pic.line(x, 4800, x, 4930, kAxis);
        for (int k = 63; k >= 3; k -= 10)
            pic.line(x, 60 * k + 360, x, 60 * k + 480, kAxis);
    }
    pic.line(540, 4800, 540, 4950, kAxis);

    for (int j = 3; j <= 73; ++j) {
        const double y = 400 + 60 * j;
        pic.line(540, y, 490, y, kAxis);
    }
    int n = 1;
    for (int j = 63; j >= 3; j -= 10, ++n) {
        const double y = 400 + 60 * j;
        pic.line(540, y, 390, y, kAxis);
        pic.text(0, 340 + 60 * j, " " + scaleLabel(n, curve.curve_scale), kAxis);
        pic.line(540, 4800, 390, 4800, kAxis);
        pic.text(50, 4740, " 0", kAxis);
        for (int i = 150; i >= 10; i -= 10)
            pic.line(60 * i + 500, y, 60 * i + 600, y, kAxis);
    }
}

// Each curve is drawn as one run of segments, the primary first: the picture is the same but
// where two curves cross, and a canvas draws a run of one colour in one stroke.
void drawLiveCurve(PictureBuilder& pic, const ChartInputs& in) {
    using namespace chart;
    const double scale = in.curve.curve_scale;
    const auto x = [](int j) { return (j + 1) * 22.5 + 530; };
    // Once the link is lost, the newest point is as old as the readings on the panel.
    const auto stale = [&](int i) { return in.live.live_stale && i == kCurveNewest; };
    for (int i = 1; i <= kCurveNewest; ++i) {
        const auto p0 = in.live.pri_history[static_cast<std::size_t>(i - 1)];
        const auto p1 = in.live.pri_history[static_cast<std::size_t>(i)];
        if (p0 < 400000000 && p1 < 400000000) {
            // Without primary signal the segment is drawn in the background, a gap in the red.
            const bool noSignal = in.live.status_history[static_cast<std::size_t>(i)] == "5";
            pic.line(x(i - 1), yOf(static_cast<double>(p0), scale), x(i), yOf(static_cast<double>(p1), scale),
                     noSignal   ? kBackground
                     : stale(i) ? colors::kStale
                                : kPrimary);
        }
    }
    for (int i = 1; i <= kCurveNewest; ++i) {
        const double s0 = in.live.sec_curve[static_cast<std::size_t>(i - 1)];
        const double s1 = in.live.sec_curve[static_cast<std::size_t>(i)];
        if (s0 < 4100000 && s1 < 4100000)
            pic.line(x(i - 1), yOf(s0, scale), x(i), yOf(s1, scale), stale(i) ? colors::kStale : kSecondary);
    }
}

void drawHistoryCurve(PictureBuilder& pic, const ChartInputs& in) {
    using namespace chart;
    const CurveState& c = in.curve;
    const auto m = roundHalfEven(c.plot_last - c.plot_first - 1);
    if (m <= 1) return;
    const double step = kPlotWidth / static_cast<double>(m);
    const auto first = std::max<std::int64_t>(1, roundHalfEven(c.plot_first + 1));
    const auto last = std::min<std::int64_t>(kStoreSlots - 1, roundHalfEven(c.plot_last - 2));
    const auto xOf = [&](std::int64_t i, double offset) {
        return (static_cast<double>(i) - c.plot_first - offset) * step + kPlotLeft;
    };
    for (auto i = first; i <= last; ++i) {
        const auto k = static_cast<std::size_t>(i);
        pic.line(xOf(i, 1), yOf(c.plot_sec[k - 1], c.curve_scale), xOf(i, 0),
                 yOf(c.plot_sec[k], c.curve_scale), kSecondary);
    }
    for (auto i = first; i <= last; ++i) {
        const auto k = static_cast<std::size_t>(i);
        if (in.store.rec_status[k] != 5)
            pic.line(xOf(i, 1), yOf(c.plot_pri[k - 1], c.curve_scale), xOf(i, 0),
                     yOf(c.plot_pri[k], c.curve_scale), kPrimary);
    }
}

// Base units per raw unit of a stored reading, as the rest of the system reads range codes;
// a code outside the tables leaves the raw value as it is.
double multiplier(std::uint8_t code, Channel channel) {
    const auto range = rangeOf(code, channel);
    return range ? static_cast<double>(range->factor) : 1.0;
}

constexpr double kOverRange = 2370000; // 23.7 A: where an over-range secondary is plotted

} // namespace

platform::Picture drawChart(const ChartInputs& inputs) {
    platform::Picture picture;
    picture.reserve(inputs.curve.curve_mode == CurveState::kLiveCurve ? 1400 : 600);
    PictureBuilder pic(picture);
    pic.clear(chart::kBackground);
    drawFrame(pic, inputs.curve);
    if (inputs.curve.curve_mode == CurveState::kLiveCurve)
        drawLiveCurve(pic, inputs);
    else
        drawHistoryCurve(pic, inputs);
    return picture;
}

std::size_t chartFrameLength(const platform::Picture& picture) {
    // The frame ends where the first curve segment (green, red or a gap) begins.
    const auto curve = std::find_if(picture.begin(), picture.end(), [](const Primitive& p) {
        return p.kind == Primitive::Kind::Line && p.color != chart::kAxis;
    });
    return static_cast<std::size_t>(curve - picture.begin());
}

std::string rangeStatisticText(std::int64_t base) {
    const std::int64_t tenthsOfAmps = base / 10000;
    if (base >= 1000 && tenthsOfAmps != 0) return decimalText(tenthsOfAmps, 1) + texts::kAmp;
    return decimalText(base, 2) + texts::kMilliamp;
}

void Form1::DrawCurve() {
    m_picture1 = drawChart({*this, *this, *this});
    Picture1.invalidate();
}

void Form1::Command15_Click() {
    // A running download or sort keeps the store; a curve of it now would be half of it.
    if (storeBusy() || dl_active || link_state == kExchanging) return;
    Text37.setVisible(false);
    curve_scale = 3000;
    ShowLiveLayout();
    Picture4.setVisible(true);
    curve_mode = kHistoryCurve;
    Command15.setEnabled(true);
    Command1.setEnabled(true);
    Command5.setEnabled(false);
    for (Control* c : {&Text36, &Text35, &Option3, &Option4, &Frame6, &Command6, &Command4, &Command3})
        c->setVisible(false);
    Text41.setVisible(true);
    Text41.setText("");
    link_state = kIdle;
    link_busy = 3;

    plot_sec.fill(0);
    plot_pri.fill(0);
    CountStoredGroups();
    const int n = ji_ge;
    for (int i = 0; i <= n && i < kStoreSlots; ++i) {
        const auto k = static_cast<std::size_t>(i);
        plot_sec[k] =
            std::min(static_cast<double>(rec_sec_raw[k]) * multiplier(rec_sec_code[k], Channel::Secondary),
                     kOverRange);
        plot_pri[k] = static_cast<double>(rec_pri_raw[k]) * multiplier(rec_pri_code[k], Channel::Primary);
    }
    plot_first = 0;
    plot_last = n;
    if (n != 0) DrawCurve();
    ShowHistoryStatistics(true);
    if (plot_last > 2)
        RangeStatistics(texts::kMaximum, texts::kMinimum, texts::kAverage);
    else
        ClearRangeStatistics();
}

void Form1::RangeStatistics(std::string_view maxPrefix, std::string_view minPrefix,
                            std::string_view avgPrefix) {
    const auto first = std::max<std::int64_t>(0, roundHalfEven(plot_first));
    const auto last = std::min<std::int64_t>(kStoreSlots - 1, roundHalfEven(plot_last - 2));
    double max = 0;
    double min = 23700000;
    std::int64_t sum = 0;
    std::int64_t count = 0;
    for (auto i = first; i <= last; ++i) {
        const double v = plot_sec[static_cast<std::size_t>(i)];
        max = std::max(max, v);
        min = std::min(min, v);
        sum += roundHalfEven(v);
        ++count;
    }
    if (count == 0) {
        ClearRangeStatistics();
        return;
    }
    const std::int64_t average = sum / count;
    // A maximum that reads 23.7 A is the over-range value.
    const std::int64_t maxBase = roundHalfEven(max);
    Label1.setText(maxBase / 10000 == 237 ? std::string(texts::kMaximumOverload)
                                          : std::string(maxPrefix) + rangeStatisticText(maxBase));
    Label2.setText(std::string(minPrefix) + rangeStatisticText(roundHalfEven(min)));
    Label5.setText(std::string(avgPrefix) + rangeStatisticText(average));
}

void Form1::ClearRangeStatistics() {
    // Too few groups for statistics: the labels say nothing rather than keep live values.
    Label1.setText(texts::kMaximumBare);
    Label2.setText(texts::kMinimumBare);
    Label5.setText(texts::kAverageBare);
}

void Form1::ShowHistoryStatistics(bool shown) {
    // With the history curve the live panel shows only the secondary analysis, at its left,
    // and the large read-out moves right beside it.
    Picture5.setVisible(shown || Picture5.visible());
    for (Control* c : {&Frame8, &Frame10, &Frame11, &Frame12})
        c->setVisible(!shown);
    Frame7.setVisible(true);
    Frame7.setLeft(shown ? 120 : 3960);
    Picture4.setLeft(shown ? 4320 : 2640);
}

void Form1::Picture1_MouseDown(int x, int y) {
    drag_x = static_cast<std::int16_t>(x);
    drag_y = static_cast<std::int16_t>(y);
}

double Form1::groupUnder(int x) const {
    return static_cast<double>(roundHalfEven(plot_first + (x * 15.0 - chart::kPlotLeft) / chart::kPlotWidth *
                                                              (plot_last - plot_first)));
}

void Form1::Picture1_Click(int x, int y) {
    if (curve_mode == kLiveCurve) return;
    if (drag_y - y >= 31) {
        CountStoredGroups();
        plot_first = 0;
        plot_last = ji_ge;
        curve_scale = chart::scaleUp(curve_scale);
        DrawCurve();
        if (plot_last > 2) RangeStatistics(texts::kMaximumBare, texts::kMinimumBare, texts::kAverageBare);
    }
    if (y - drag_y > 20) {
        curve_scale = chart::scaleDown(curve_scale);
        DrawCurve();
    }
    if (x - drag_x >= 21) {
        const double newFirst = groupUnder(drag_x);
        CountStoredGroups();
        // The zoom never reaches past the stored groups.
        const double newLast = std::min(groupUnder(x), static_cast<double>(ji_ge));
        if (newFirst > 0 && newLast - newFirst > 20) {
            plot_last = newLast;
            plot_first = newFirst;
            DrawCurve();
            if (plot_last > 2) RangeStatistics(texts::kMaximumBare, texts::kMinimumBare, texts::kAverageBare);
        }
    }
}

void Form1::Picture1_MouseMove(int x, int y) {
    m_pointer = {x, y};
}

void Form1::Picture1_MouseLeave() {
    m_pointer.reset();
}

void Form1::CursorReadout() {
    if (!m_pointer) {
        Text37.setText("");
        if (curve_mode == kHistoryCurve) Label6.setText("");
        return;
    }
    const auto [x, y] = *m_pointer;
    const double base = chart::valueAt(y * 15.0, curve_scale);
    const std::string value = chart::inAmperes(curve_scale)
                                  ? decimalText(roundHalfEven(base / 1000), 2) + texts::kAmp
                                  : decimalText(roundHalfEven(base), 2) + texts::kMilliamp;
    if (curve_mode == kLiveCurve) {
        Text37.setText(value);
        return;
    }
    Label6.setText(value);
    Text37.setText("第 " + decimalText(static_cast<std::int64_t>(groupUnder(x))) + " 组");
}

void Form1::SaveCurveBitmap(const std::string& path) {
    if (!m_services.pictures.saveBitmap(m_picture1, static_cast<int>(chart::kPictureWidth),
                                        static_cast<int>(chart::kPictureHeight), path))
        m_services.dialogs.message(texts::kSaveFailed, texts::kMessageTitle);
}

} // namespace hvr
