#include "report/report_layout.h"

#include <array>

#include "analysis/error_plot.h"
#include "forms/control.h"
#include "texts/texts.h"

namespace hvr::report {

namespace {

using platform::PageMark;
using platform::PrintFont;
using Anchor = PageMark::Anchor;
using Page = std::vector<PageMark>;

// A4 portrait with 2 cm margins, in twips.
constexpr double kPageWidth = 11906, kPageHeight = 16838;
constexpr double kLeft = 1134, kRight = kPageWidth - 1134, kTop = 1134;
constexpr double kFooterTop = kPageHeight - 1000;
constexpr double kRowPitch = 280;
constexpr double kPlotHeight = 4700;

const PrintFont kTitleFont{"黑体", 18, true};
const PrintFont kBodyFont{"宋体", 10.5, false};
const PrintFont kLabelFont{"黑体", 10.5, false};
const PrintFont kVerdictFont{"黑体", 24, true};
const PrintFont kTableFont{"宋体", 9, false};
const PrintFont kHeaderFont{"黑体", 9, false};
const PrintFont kPlotFont{"宋体", 9, false};

constexpr std::uint32_t kBlack = 0x000000;

// The table's columns: heading, right edge (or left edge for the verdict), anchor.
struct Column {
    const char* heading;
    double edge;
    Anchor anchor;
};
constexpr std::array<Column, 8> kColumns{{
    {"组号", kLeft + 600, Anchor::Right},
    {"一次电流(A)", kLeft + 2000, Anchor::Right},
    {"二次电流(A)", kLeft + 3300, Anchor::Right},
    {"实测变比", kLeft + 4450, Anchor::Right},
    {"变比误差", kLeft + 5550, Anchor::Right},
    {"负荷", kLeft + 6500, Anchor::Right},
    {"允许误差", kLeft + 7550, Anchor::Right},
    {"结论", kLeft + 7850, Anchor::Left},
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

// The first page down to the table; returns where the table begins.
double firstPageHead(Page& page, const ReportInput& in) {
    const analysis::GroupAnalysis& a = in.analysis;
    page.push_back(text(kPageWidth / 2, kTop, texts::kReportTitle, kTitleFont, Anchor::Center));
    double y = kTop + 750;
    const double mid = kLeft + 4900;
    const auto pair = [&](double x, const char* label, const std::string& value) {
        page.push_back(text(x, y, label, kLabelFont));
        page.push_back(text(x + 1500, y, value, kBodyFont));
    };
    const std::string nameplate = a.basis.nameplate ? verdict::nameplateText(*a.basis.nameplate) : "—";
    pair(kLeft, "变电站:", orNone(in.particulars.station));
    pair(mid, "设备名称/编号:", orNone(in.particulars.device));
    y += 340;
    pair(kLeft, "相别:", orNone(in.particulars.phase));
    pair(mid, "试验人员:", orNone(in.particulars.tester));
    y += 340;
    pair(kLeft, "额定变比:", nameplate);
    pair(mid, "准确级:", verdict::classText(a.basis.accuracy));
    y += 340;
    pair(kLeft, "数据读取时间:", orNone(in.downloadedAt));
    pair(mid, "软件版本:", "hvr " + in.version);
    y += 340;
    pair(kLeft, "备注:", orNone(in.particulars.remark));
    y += 420;
    page.push_back(line(kLeft, y, kRight, y));

    // The overall verdict in large type, the counts and statistics beside it.
    y += 200;
    page.push_back(text(kLeft, y + 60, "试验结论:", kLabelFont));
    const std::string overall = verdict::overallText(a.summary.overall);
    page.push_back(
        text(kLeft + 1500, y, overall, kVerdictFont, Anchor::Left, outcomeColor(a.summary.overall)));
    page.push_back(text(kLeft, y + 650, analysis::summaryCounts(a), kBodyFont));
    page.push_back(text(kLeft, y + 980, analysis::summaryStatistics(a), kBodyFont));
    y += 1350;
    page.push_back(line(kLeft, y, kRight, y));

    // The error plot with its class's limits.
    y += 150;
    page.push_back(text(kLeft, y, "变比误差曲线 (蓝线为准确级限值, 绿色合格, 红色不合格)", kLabelFont));
    y += 300;
    PageCanvas canvas(page, kLeft, y);
    analysis::drawErrorPlot(canvas, kRight - kLeft, kPlotHeight, a);
    return y + kPlotHeight + 250;
}

double tableHeader(Page& page, double y) {
    page.push_back(line(kLeft, y, kRight, y));
    for (const Column& c : kColumns)
        page.push_back(text(c.edge, y + 50, c.heading, kHeaderFont, c.anchor));
    y += kRowPitch + 60;
    page.push_back(line(kLeft, y, kRight, y));
    return y + 40;
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

double continuationHead(Page& page, const ReportInput& in) {
    std::string head = std::string(texts::kReportTitle) + " (续)";
    if (!in.particulars.device.empty()) head += "    " + in.particulars.device;
    page.push_back(text(kLeft, kTop, head, kLabelFont));
    return kTop + 450;
}

} // namespace

platform::Document layoutReport(const ReportInput& in) {
    platform::Document doc;
    doc.title = texts::kReportTitle;
    doc.widthTwips = kPageWidth;
    doc.heightTwips = kPageHeight;
    const auto& rows = in.analysis.rows;

    doc.pages.emplace_back();
    double y = tableHeader(doc.pages.back(), firstPageHead(doc.pages.back(), in));
    int onPage = 0;
    for (const analysis::GroupRow& row : rows) {
        if (onPage == (doc.pages.size() == 1 ? kFirstPageRows : kPageRows)) {
            doc.pages.emplace_back();
            y = tableHeader(doc.pages.back(), continuationHead(doc.pages.back(), in));
            onPage = 0;
        }
        tableRow(doc.pages.back(), y, row);
        y += kRowPitch;
        ++onPage;
    }
    if (rows.empty()) doc.pages.back().push_back(text(kLeft, y, "没有存储的数据组", kTableFont));
    y += 60;
    doc.pages.back().push_back(line(kLeft, y, kRight, y));

    // The signatures, on a page of their own where the last one is full.
    if (y + 1000 > kFooterTop - 200) {
        doc.pages.emplace_back();
        y = continuationHead(doc.pages.back(), in);
    }
    y += 600;
    struct Signature {
        double x, width;
        const char* label;
    };
    for (const Signature& s : {Signature{kLeft, 1050, "试验人员:"}, Signature{kLeft + 3400, 600, "审核:"},
                               Signature{kLeft + 6600, 600, "日期:"}}) {
        doc.pages.back().push_back(text(s.x, y, s.label, kLabelFont));
        doc.pages.back().push_back(line(s.x + s.width, y + 280, s.x + s.width + 2000, y + 280, 8));
    }

    const std::string total = std::to_string(doc.pages.size());
    for (std::size_t n = 0; n < doc.pages.size(); ++n)
        doc.pages[n].push_back(text(kPageWidth / 2, kFooterTop,
                                    "第 " + std::to_string(n + 1) + " 页 共 " + total + " 页", kTableFont,
                                    Anchor::Center));
    return doc;
}

} // namespace hvr::report
