// Saving: the store as a paged text listing in the Chinese code page, or the curve as a
// bitmap while a curve is on screen.
#include <cctype>
#include <optional>

#include "units/number_text.h"
#include "main_window/form1.h"
#include "texts/texts.h"
#include "platform/gbk.h"
#include "records/group_csv.h"

namespace hvr {

namespace {
constexpr const char* kCrLf = "\r\n";
}

std::string Form1::WorkingDirectory() {
    return m_services.files.homeDirectory() + "/HVR";
}

std::string Form1::ListingText() {
    CountStoredGroups();
    std::string out;
    out.reserve(static_cast<std::size_t>(page_count) * 28 * 80 + 200);
    out += texts::kListingTitle;
    out += kCrLf;
    out += texts::kListingHeader;
    out += "   第1页";
    out += kCrLf;
    for (int k = 1; k <= page_count; ++k) {
        for (int r = 0; r < kRowsPerPage; ++r) {
            FormatPageRow(static_cast<std::int16_t>(k - 1), static_cast<std::int16_t>(r));
            out += ' ';
            out += row_text;
            out += kCrLf;
        }
        out += texts::kListingDashes;
        out += kCrLf;
        out += texts::kListingHeader;
        out += "    第" + decimalText(k + 1) + texts::kPageUnit;
        out += kCrLf;
    }
    return out;
}

namespace {

bool isCsvPath(const std::string& path) {
    if (path.size() < 4) return false;
    std::string end = path.substr(path.size() - 4);
    for (char& c : end)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return end == ".csv";
}

} // namespace

void Form1::Command1_Click() {
    if (storeBusy()) return;
    const std::string directory = WorkingDirectory();
    m_services.files.ensureDirectory(directory);

    if (curve_mode != kHistoryCurve && live_polling != 1) {
        const auto path = m_services.dialogs.chooseSaveFile({directory, "HVR.txt", ".txt", ".txt", ".csv"});
        if (!path) return;
        // The listing, or the groups as data when the user chose the CSV type.
        std::optional<std::string> bytes;
        if (isCsvPath(*path)) {
            CountStoredGroups();
            bytes = groupsCsv(*this, ji_ge);
        } else {
            bytes = platform::toGbk(ListingText());
        }
        if (!bytes || !m_services.files.saveFile(*path, *bytes))
            m_services.dialogs.message(texts::kSaveFailed, texts::kMessageTitle);
        return;
    }
    const auto path = m_services.dialogs.chooseSaveFile({directory, "HVR.bmp", ".bmp", ".bmp"});
    if (!path) return;
    SaveCurveBitmap(*path);
}

void Form1::k_Click() {
    Command1_Click();
}

void Form1::baoc___1_Click() {
    Command1_Click();
}

} // namespace hvr
