#include "forms/qt_text_fit.h"

#include <QApplication>
#include <QComboBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QPointer>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QStyleOption>
#include <QTableView>

#include <algorithm>
#include <cmath>
#include <map>

namespace hvr::gui {

namespace {

// A label's or caption's widest line.
int widest(const QFontMetrics& metrics, const QString& text) {
    int width = 0;
    for (const QString& line : text.split(QLatin1Char('\n')))
        width = std::max(width, metrics.horizontalAdvance(line));
    return width;
}

// A button's text as drawn: "&" marks the shortcut, "&&" is one "&".
QString shown(QString text) {
    text.replace(QLatin1String("&&"), QString(QChar(1)));
    text.remove(QLatin1Char('&'));
    text.replace(QChar(1), QLatin1Char('&'));
    return text;
}

QString textOf(const QWidget& widget) {
    if (const auto* label = qobject_cast<const QLabel*>(&widget)) {
        // Dashes at either end are a rule that runs to the box's edges, cut off there.
        QString text = label->text();
        while (text.startsWith(QLatin1Char('-')))
            text.remove(0, 1);
        while (text.endsWith(QLatin1Char('-')))
            text.chop(1);
        return text;
    }
    if (const auto* button = qobject_cast<const QAbstractButton*>(&widget)) return shown(button->text());
    if (const auto* group = qobject_cast<const QGroupBox*>(&widget)) return shown(group->title());
    if (const auto* edit = qobject_cast<const QLineEdit*>(&widget)) return edit->text();
    if (const auto* list = qobject_cast<const QComboBox*>(&widget)) return list->currentText();
    return {};
}

// The program's style with the option mark scaled.
class ZoomedMarkStyle final : public QProxyStyle {
  public:
    explicit ZoomedMarkStyle(double zoom)
        : QProxyStyle(QStyleFactory::create(QApplication::style()->name())), m_zoom(zoom) {}
    int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override {
        const int size = QProxyStyle::pixelMetric(metric, option, widget);
        if (metric == PM_ExclusiveIndicatorWidth || metric == PM_ExclusiveIndicatorHeight ||
            metric == PM_RadioButtonLabelSpacing)
            return std::max(1, static_cast<int>(std::lround(size * m_zoom)));
        return size;
    }

  private:
    double m_zoom;
};

// One style a zoom, owned by the application so that it outlives every widget.
QStyle* zoomedMarkStyle(double zoom) {
    static std::map<long, QPointer<QStyle>> styles;
    QPointer<QStyle>& style = styles[std::lround(zoom * 1000)];
    if (style.isNull()) {
        style = new ZoomedMarkStyle(zoom);
        style->setParent(QCoreApplication::instance());
    }
    return style;
}

} // namespace

void zoomOptionMark(QWidget& option, double zoom) {
    QStyle* style = std::abs(zoom - 1) < 1e-9 ? QApplication::style() : zoomedMarkStyle(zoom);
    if (option.style() != style) option.setStyle(style);
}

int textRoom(const QWidget& widget) {
    const QStyle* style = widget.style();
    if (const auto* label = qobject_cast<const QLabel*>(&widget)) {
        int indent = label->indent();
        if (indent < 0) indent = label->frameWidth() > 0 ? label->fontMetrics().horizontalAdvance(QLatin1Char('x')) / 2 : 0;
        return label->contentsRect().width() - 2 * label->margin() - indent;
    }
    if (const auto* option = qobject_cast<const QRadioButton*>(&widget)) {
        QStyleOptionButton o;
        o.initFrom(option);
        o.text = option->text();
        return style->subElementRect(QStyle::SE_RadioButtonContents, &o, option).width();
    }
    if (const auto* button = qobject_cast<const QPushButton*>(&widget)) {
        QStyleOptionButton o;
        o.initFrom(button);
        o.text = button->text();
        return style->subElementRect(QStyle::SE_PushButtonContents, &o, button).width();
    }
    if (const auto* group = qobject_cast<const QGroupBox*>(&widget)) {
        QStyleOptionGroupBox o;
        o.initFrom(group);
        o.text = group->title();
        o.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
        o.textAlignment = group->alignment();
        const QRect title = style->subControlRect(QStyle::CC_GroupBox, &o, QStyle::SC_GroupBoxLabel, group);
        return group->width() - 2 * std::max(0, title.left()); // the title's margin on both sides
    }
    if (const auto* edit = qobject_cast<const QLineEdit*>(&widget)) {
        const int frame = edit->hasFrame() ? style->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, edit) : 0;
        const QMargins margins = edit->textMargins();
        constexpr int kInnerMargin = 2; // the box's own gap on each side of its text
        return edit->contentsRect().width() - 2 * frame - margins.left() - margins.right() - 2 * kInnerMargin;
    }
    if (const auto* list = qobject_cast<const QComboBox*>(&widget)) {
        QStyleOptionComboBox o;
        o.initFrom(list);
        o.editable = list->isEditable();
        o.currentText = list->currentText();
        constexpr int kInnerMargin = 2;
        return style->subControlRect(QStyle::CC_ComboBox, &o, QStyle::SC_ComboBoxEditField, list).width() -
               2 * kInnerMargin;
    }
    return widget.width();
}

int textNeed(const QWidget& widget, const QFont& font) {
    const QString text = textOf(widget);
    if (text.isEmpty()) return 0;
    // The widget's own metrics are kept by the widget: no new ones for each live reading.
    return widest(font == widget.font() ? widget.fontMetrics() : QFontMetrics(font, &widget), text);
}

void fitText(QWidget& widget, const QFont& designFont) {
    const int room = textRoom(widget);
    if (widget.font() == designFont && textNeed(widget, designFont) <= room) return; // as designed
    QFont font = designFont;
    const double least = designFont.pointSizeF() / 2;
    while (textNeed(widget, font) > room && font.pointSizeF() * 0.95 >= least)
        font.setPointSizeF(font.pointSizeF() * 0.95);
    if (font != widget.font()) widget.setFont(font);
}

int headingNeed(const QTableView& table, int column) {
    const QHeaderView* header = table.horizontalHeader();
    if (table.model() == nullptr) return 0;
    QStyleOptionHeader o;
    o.initFrom(header);
    o.section = column;
    o.orientation = Qt::Horizontal;
    o.text = table.model()->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString();
    o.fontMetrics = QFontMetrics(header->font());
    // Only the sorted column shows the mark (the header's own hint keeps room for it in all).
    o.sortIndicator = header->isSortIndicatorShown() && header->sortIndicatorSection() == column
                          ? QStyleOptionHeader::SortDown
                          : QStyleOptionHeader::None;
    return header->style()->sizeFromContents(QStyle::CT_HeaderSection, &o, QSize(), header).width();
}

void fitColumns(QTableView& table, std::span<const int> designPixels, double zoom) {
    const QAbstractItemView& view = table; // where the rows' measure is public
    for (int c = 0; c < static_cast<int>(designPixels.size()); ++c) {
        const int design = static_cast<int>(std::lround(designPixels[static_cast<std::size_t>(c)] * zoom));
        table.setColumnWidth(c, std::max({design, headingNeed(table, c), view.sizeHintForColumn(c)}));
    }
}

} // namespace hvr::gui
