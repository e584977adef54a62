// The print action of the main window and the printed sheet.
#include <algorithm>
#include <memory>

#include "main_window/form1.h"
#include "texts/texts.h"
#include "print/form3.h"
#include "print/sheet_layout.h"
#include "records/row_format.h"

namespace hvr {

void Form1::Command16_Click() {
    // A download or a sort under way would end half way when the window closes.
    if (storeBusy() || dl_active || link_state == kExchanging) return;
    // The dialog reads the count, so the groups are counted first.
    CountStoredGroups();
    dayinlin = kUndecided;
    m_printing = true;
    {
        Form3 options(*this, static_cast<std::int16_t>(ji_ge), m_services.dialogs);
        options.Form_Load();
        m_services.printing.runPrintOptions(options);
        if (!options.closed()) options.QueryUnload(); // closed by other means: as "取  消"
    }
    Recreate(); // the dialog showed the main window again: created anew, loaded

    if (dayinlin == kPrint) {
        dayinlin = kUndecided;
        if (auto printer = m_services.printing.choosePrinter()) {
            if (!PrintSheets(*printer, dakai, dajie))
                m_services.dialogs.message(texts::kPrintFailed, texts::kMessageTitle);
        }
    } else if (dayinlin == kCancel) {
        dayinlin = kUndecided;
    }
    Command9_Click();
    current_page = 1;
    ShowPage(1);
    m_printing = false;
}

void Form1::d_uy_x_Click() {
    if (Command16.enabled()) Command16_Click();
}

void Form1::Recreate() {
    MSComm1.setPortOpen(false);
    for (std::size_t i = 0; i < m_controls.size(); ++i)
        m_controls[i]->restore(m_design[i]);
    Form_Load();
}

bool Form1::PrintSheets(platform::Printer& printer, int first, int last) {
    // A new page only between sheets, and no document at all for an empty range. A sheet with
    // no group on it is no sheet of the store: it is never printed.
    const auto holdsGroups = [&](int sheet) {
        const int from = sheet * kGroupsPerSheet, to = std::min(from + kGroupsPerSheet, kStoreSlots);
        for (int slot = from; slot < to; ++slot)
            if (rec_sec_code[static_cast<std::size_t>(slot)] != 0) return true;
        return false;
    };
    for (int sheet = first; sheet < last; ++sheet)
        if (holdsGroups(sheet)) PrintPage(printer, static_cast<std::int16_t>(sheet));
    return printer.finish();
}

void Form1::PrintPage(platform::Printer& printer, std::int16_t sheet) {
    const auto lineHeight = [&](const platform::PrintFont& font) { return printer.lineHeight(font); };
    // The same row text as the history view; slots outside the store print as empty rows.
    const auto rowText = [&](std::int64_t slot) {
        return formatRow(*this, slot >= 0 && slot < kStoreSlots ? static_cast<int>(slot) : -1);
    };
    const std::vector<PrintedLine> lines = layoutSheet(sheet, rowText, lineHeight);
    double right = 0;
    for (const PrintedLine& line : lines)
        right = std::max(right, line.x + printer.textWidth(line.font, line.text));
    printer.beginSheet(sheetBottom(lines, lineHeight), right);
    for (const PrintedLine& line : lines)
        printer.text(line.font, line.x, line.y, line.text);
}

} // namespace hvr
