#include "report/report_layout.h"

#include <algorithm>
#include <array>

#include "analysis/error_plot.h"
#include "forms/control.h"
#include "report/text_lines.h"
#include "texts/texts.h"

namespace hvr::report {

namespace {

using platform::PageMark;
using platform::PrintFont;
using Anchor = PageMark::Anchor;
using Page = std::vector<PageMark>;

// Margins of 2 cm, and the pitches of the page, in twips.
constexpr double kMargin = 1134;
constexpr double kFooterRise = 1000; // the foot's line, up from the paper's bottom edge
constexpr double kRowPitch = 280;
constexpr double kPairPitch = 340; // from one line of particulars to the next pair's
constexpr double kPlotHeight = 4700;
constexpr double kSignaturesHeight = 1000;
constexpr double kLabelGap = 200;  // between a label and its value
constexpr double kColumnGap = 300; // between a value and the next column's label
// The smallest paper a page is laid out for as it is: the table's columns need A4's width, and
// the head its blocks' height. Smaller paper gets the page laid out larger, then scaled down.
constexpr double kLeastWidth = 11906, kLeastHeight = 11906;

const PrintFont kTitleFont{"黑体", 18, true};
const PrintFont kBodyFont{"宋体", 10.5, false};
const PrintFont kLabelFont{"黑体", 10.5, false};
const PrintFont kVerdictFont{"黑体", 24, true};
const PrintFont kTableFont{"宋体", 9, false};
const PrintFont kHeaderFont{"黑体", 9, false};
const PrintFont kPlotFont{"宋体", 9, false};

constexpr std::uint32_t kBlack = 0x000000;

// The table's columns: heading, right edge (or left edge for the verdict) from the paper's left
// edge, anchor.
struct Column {
    const char* heading;
    double edge;
    Anchor anchor;
};
constexpr std::array<Column, 8> kColumns{{
    {"组号", kMargin + 600, Anchor::Right},
    {"一次电流(A)", kMargin + 2000, Anchor::Right},
    {"二次电流(A)", kMargin + 3300, Anchor::Right},
    {"实测变比", kMargin + 4450, Anchor::Right},
    {"变比误差", kMargin + 5550, Anchor::Right},
    {"负荷", kMargin + 6500, Anchor::Right},
    {"允许误差", kMargin + 7550, Anchor::Right},
    {"结论", kMargin + 7850, Anchor::Left},
}};

PageMark text(double x, double y, std::string s, const PrintFont& font, Anchor anchor = Anchor::Left,
              std::uint32_t color = kBlack) {
    PageMark m;
    m.kind = PageMark::Kind::Text;
    m.x0 = x;
    m.y0 = y;
    m.text = std::move(s);
    m.font = font;
    m.anchor = anchor;
    m.color = color;
    return m;
}

PageMark line(double x0, double y0, double x1, double y1, double pen = 10, std::uint32_t color = kBlack) {
    PageMark m;
    m.kind = PageMark::Kind::Line;
    m.x0 = x0;
    m.y0 = y0;
    m.x1 = x1;
    m.y1 = y1;
    m.pen = pen;
    m.color = color;
    return m;
}

std::uint32_t outcomeColor(verdict::Outcome outcome) {
    return outcome == verdict::Outcome::Pass   ? colors::kGreen
           : outcome == verdict::Outcome::Fail ? colors::kRed
                                               : kBlack;
}

// The plot's canvas on a page: its marks moved to the plot's place; the white it is cleared
// to is the paper's.
class PageCanvas final : public platform::Canvas {
  public:
    PageCanvas(Page& page, double left, double top) : m_page(page), m_left(left), m_top(top) {}
    void clear(std::uint32_t) override {}
    void line(double x0, double y0, double x1, double y1, std::uint32_t color) override {
        m_page.push_back(report::line(m_left + x0, m_top + y0, m_left + x1, m_top + y1, 0, color));
    }
    void text(double x, double y, std::string_view s, std::uint32_t color) override {
        m_page.push_back(report::text(m_left + x, m_top + y, std::string(s), kPlotFont, Anchor::Left, color));
    }

  private:
    Page& m_page;
    double m_left, m_top;
};

std::string orNone(const std::string& s) {
    return s.empty() ? "—" : s;
}

// The report's pages as they fill, top to bottom: a block that does not fit below the last one
// begins a new page, headed "(续)", with the table's header again while the table runs.
class Pages {
  public:
    Pages(platform::Document& doc, const ReportInput& in, const platform::TextMeasure& measure)
        : right(doc.widthTwips - kMargin), bottom(doc.heightTwips - kFooterRise - 200), m_doc(doc), m_in(in),
          m_measure(measure) {
        m_doc.pages.emplace_back();
    }

    Page& page() { return m_doc.pages.back(); }

    // Room for a block of the height below y, on this page or on a new one. A block is never
    // moved off a page that holds nothing else yet.
    void need(double height) {
        if (y + height > bottom && !m_fresh) begin();
        m_fresh = false;
    }

    void openTable() {
        m_tableOpen = true;
        tableHeader();
    }
    void closeTable() { m_tableOpen = false; }

    const platform::TextMeasure& measure() const { return m_measure; }

    double y = kMargin;
    const double right, bottom;

  private:
    void begin() {
        m_doc.pages.emplace_back();
        // The title and the device: a long device cut short to the width of the page.
        std::string head = std::string(texts::kReportTitle) + " (续)";
        if (!m_in.particulars.device.empty()) head += "    " + m_in.particulars.device;
        page().push_back(text(kMargin, kMargin, elideText(head, right - kMargin, kLabelFont, m_measure), kLabelFont));
        y = kMargin + 450;
        if (m_tableOpen) tableHeader();
        m_fresh = true;
    }

    void tableHeader() {
        page().push_back(line(kMargin, y, right, y));
        for (const Column& c : kColumns)
            page().push_back(text(c.edge, y + 50, c.heading, kHeaderFont, c.anchor));
        y += kRowPitch + 60;
        page().push_back(line(kMargin, y, right, y));
        y += 40;
    }

    platform::Document& m_doc;
    const ReportInput& m_in;
    const platform::TextMeasure& m_measure;
    bool m_fresh = true;
    bool m_tableOpen = false;
};

constexpr double kTableHeaderHeight = kRowPitch + 100;

// A column of the particulars: its labels' left edge, where its values begin, where they end.
struct PairColumn {
    double label, value, right;
};

// The labels of a column, their values set after the widest of them.
PairColumn pairColumn(double left, double right, std::initializer_list<const char*> labels,
                      const platform::TextMeasure& measure) {
    double widest = 0;
    for (const char* label : labels)
        widest = std::max(widest, measure.textWidth(kLabelFont, label));
    return {left, left + widest + kLabelGap, right};
}

// One pair of particulars, or two side by side, each value wrapped in its column; a value too
// long for the page runs on to the next.
void particularsRow(Pages& pages, std::initializer_list<std::pair<const char*, std::string>> pairs,
                    std::initializer_list<PairColumn> columns) {
    const double pitch = std::min(pages.measure().lineHeight(kBodyFont), kPairPitch);
    std::vector<std::vector<std::string>> values;
    auto column = columns.begin();
    std::size_t lines = 1;
    for (const auto& [label, value] : pairs) {
        values.push_back(wrapText(value, column->right - column->value, kBodyFont, pages.measure()));
        lines = std::max(lines, values.back().size());
        ++column;
    }
    for (std::size_t n = 0; n < lines; ++n) {
        pages.need(pitch);
        column = columns.begin();
        std::size_t i = 0;
        for (const auto& [label, value] : pairs) {
            if (n == 0) pages.page().push_back(text(column->label, pages.y, label, kLabelFont));
            if (n < values[i].size()) pages.page().push_back(text(column->value, pages.y, values[i][n], kBodyFont));
            ++column;
            ++i;
        }
        pages.y += pitch;
    }
    pages.y += kPairPitch - pitch;
}

// The head of the report down to the table: the title, the particulars, the verdict with its
// summary and the error plot.
void head(Pages& pages, const ReportInput& in, double width) {
    const analysis::GroupAnalysis& a = in.analysis;
    const platform::TextMeasure& measure = pages.measure();
    pages.page().push_back(text(width / 2, kMargin, texts::kReportTitle, kTitleFont, Anchor::Center));
    pages.y = kMargin + 750;

    const double mid = kMargin + (pages.right - kMargin) / 2 + 80;
    const PairColumn left =
        pairColumn(kMargin, mid - kColumnGap, {"变电站:", "相别:", "额定变比:", "数据读取时间:", "备注:"}, measure);
    const PairColumn right = pairColumn(mid, pages.right, {"设备名称/编号:", "试验人员:", "准确级:", "软件版本:"}, measure);
    const PairColumn whole{left.label, left.value, pages.right};
    const Particulars& p = in.particulars;
    const std::string nameplate = a.basis.nameplate ? verdict::nameplateText(*a.basis.nameplate) : "—";
    particularsRow(pages, {{"变电站:", orNone(p.station)}, {"设备名称/编号:", orNone(p.device)}}, {left, right});
    particularsRow(pages, {{"相别:", orNone(p.phase)}, {"试验人员:", orNone(p.tester)}}, {left, right});
    particularsRow(pages, {{"额定变比:", nameplate}, {"准确级:", verdict::classText(a.basis.accuracy)}},
                   {left, right});
    particularsRow(pages, {{"数据读取时间:", orNone(in.downloadedAt)}, {"软件版本:", "hvr " + in.version}},
                   {left, right});
    particularsRow(pages, {{"备注:", orNone(p.remark)}}, {whole});
    pages.y += 80;
    pages.need(200 + 1350);
    pages.page().push_back(line(kMargin, pages.y, pages.right, pages.y));

    // The overall verdict in large type, the counts and statistics beside it.
    double y = pages.y + 200;
    Page& page = pages.page();
    page.push_back(text(kMargin, y + 60, "试验结论:", kLabelFont));
    const std::string overall = verdict::overallText(a.summary.overall);
    page.push_back(text(kMargin + 1500, y, overall, kVerdictFont, Anchor::Left, outcomeColor(a.summary.overall)));
    page.push_back(text(kMargin, y + 650, analysis::summaryCounts(a), kBodyFont));
    page.push_back(text(kMargin, y + 980, analysis::summaryStatistics(a), kBodyFont));
    pages.y = y + 1350;
    page.push_back(line(kMargin, pages.y, pages.right, pages.y));

    // The error plot with its class's limits, on the next page when this one has no room.
    pages.y += 150;
    pages.need(300 + kPlotHeight);
    pages.page().push_back(text(kMargin, pages.y, "变比误差曲线 (蓝线为准确级限值, 绿色合格, 红色不合格)", kLabelFont));
    pages.y += 300;
    PageCanvas canvas(pages.page(), kMargin, pages.y);
    analysis::drawErrorPlot(canvas, pages.right - kMargin, kPlotHeight, a);
    pages.y += kPlotHeight + 250;
}

void tableRow(Page& page, double y, const analysis::GroupRow& row) {
    const verdict::Judgement& j = row.judgement;
    const std::string verdictText = j.verdictWithReason();
    const std::array<std::string, 8> cells{std::to_string(row.number),
                                           orNone(row.primary),
                                           orNone(row.secondary),
                                           orNone(row.ratio),
                                           j.errorText(),
                                           j.loadText(),
                                           j.limitText(),
                                           verdictText};
    for (std::size_t i = 0; i < cells.size(); ++i)
        page.push_back(text(kColumns[i].edge, y, cells[i], kTableFont, kColumns[i].anchor,
                            i + 1 == cells.size() ? outcomeColor(j.outcome) : kBlack));
}

// The paper a report is laid out on: the paper itself, or larger in its proportions where it is
// smaller than the report needs.
platform::Paper layoutPaper(const platform::Paper& paper) {
    const double grow = std::max({1.0, kLeastWidth / std::max(paper.widthTwips, 1.0),
                                  kLeastHeight / std::max(paper.heightTwips, 1.0)});
    return {paper.widthTwips * grow, paper.heightTwips * grow};
}

} // namespace

platform::Document layoutReport(const ReportInput& in, const platform::TextMeasure& measure,
                                const platform::Paper& paper) {
    platform::Document doc;
    doc.title = texts::kReportTitle;
    const platform::Paper laid = layoutPaper(paper);
    doc.widthTwips = laid.widthTwips;
    doc.heightTwips = laid.heightTwips;
    Pages pages(doc, in, measure);
    head(pages, in, doc.widthTwips);

    // The rows under the table's header, the last of them kept on the page of the signatures.
    const auto& rows = in.analysis.rows;
    const auto rowHeight = [&](std::size_t i) {
        return kRowPitch + (i + 1 >= rows.size() ? 60 + kSignaturesHeight : 0);
    };
    pages.need(kTableHeaderHeight + rowHeight(0));
    pages.openTable();
    for (std::size_t i = 0; i < rows.size(); ++i) {
        pages.need(rowHeight(i));
        tableRow(pages.page(), pages.y, rows[i]);
        pages.y += kRowPitch;
    }
    if (rows.empty()) {
        pages.page().push_back(text(kMargin, pages.y, "没有存储的数据组", kTableFont));
        pages.y += kRowPitch;
    }
    pages.closeTable();
    pages.y += 60;
    pages.page().push_back(line(kMargin, pages.y, pages.right, pages.y));

    pages.need(kSignaturesHeight);
    const double y = pages.y + 600;
    struct Signature {
        double x, width;
        const char* label;
    };
    for (const Signature& s : {Signature{kMargin, 1050, "试验人员:"}, Signature{kMargin + 3400, 600, "审核:"},
                               Signature{kMargin + 6600, 600, "日期:"}}) {
        pages.page().push_back(text(s.x, y, s.label, kLabelFont));
        pages.page().push_back(line(s.x + s.width, y + 280, s.x + s.width + 2000, y + 280, 8));
    }

    const std::string total = std::to_string(doc.pages.size());
    for (std::size_t n = 0; n < doc.pages.size(); ++n)
        doc.pages[n].push_back(text(doc.widthTwips / 2, doc.heightTwips - kFooterRise,
                                    "第 " + std::to_string(n + 1) + " 页 共 " + total + " 页", kTableFont,
                                    Anchor::Center));
    return doc;
}

} // namespace hvr::report
