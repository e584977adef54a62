// The report's layout of any particulars and any groups: laid out, every text inside its page.
#include <cstdlib>

#include "analysis/group_analysis.h"
#include "fuzz/fuzz_input.h"
#include "report/report_layout.h"
#include "tests/support/fake_text_measure.h"
#include "tests/support/store_builder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    hvr::fuzz::Input in(data, size);
    hvr::report::Particulars p{in.text(), in.text(), in.text(), in.text(), in.text()};
    const std::string rated = in.text();
    auto store = std::make_unique<hvr::RecordStore>();
    const int groups = in.byte() % 64;
    for (int g = 0; g < groups; ++g) {
        const auto b = in.bytes(8);
        if (b.size() < 8) break;
        hvr::testing::putGroup(*store, g,
                               {g + 1, b[0], b[1] * 256 + b[2], static_cast<std::uint8_t>(b[3] | 1),
                                b[4] * 256 + b[5], b[6], static_cast<std::uint8_t>(b[7] & 1)});
    }
    const auto analysis = hvr::analysis::analyseGroups(
        *store, hvr::kStoreSlots, hvr::verdict::parseNameplate(rated), hvr::verdict::AccuracyClass::C0_5);
    const hvr::platform::Document doc =
        hvr::report::layoutReport({p, analysis, in.text(), "fuzz"}, hvr::testing::FakeTextMeasure());
    for (const auto& page : doc.pages)
        for (const auto& mark : page)
            if (mark.y0 < 0 || mark.y0 > doc.heightTwips) std::abort();
    return 0;
}
