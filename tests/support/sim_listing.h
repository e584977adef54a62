#pragma once

#include <memory>
#include <string>

#include "link/protocol.h"
#include "main_window/form1.h"
#include "platform/gbk.h"
#include "sim/scenario.h"
#include "tests/support/form_harness.h"

namespace hvr::testing {

// Files the simulator's groups 1..count into the store as a correct download files them.
inline void fileGroups(RecordStore& store, const sim::Scenario& scenario, int count) {
    for (int g = 1; g <= count; ++g) {
        const protocol::ReadingFrame f = protocol::decodeFrame(scenario.storedGroup(g));
        const auto i = static_cast<std::size_t>(g - 1);
        store.rec_low_batt[i] = f.lowBatteryFirst || f.lowBatterySecond ? 1 : 0;
        store.rec_sec_raw[i] = f.secRaw;
        store.rec_sec_code[i] = f.secCode;
        store.rec_pri_raw[i] = f.priRaw;
        store.rec_pri_code[i] = f.priCode;
        store.rec_pri_freq[i] = f.priFreq;
        store.rec_status[i] = f.status;
        store.rec_group_no[i] = static_cast<float>(g);
    }
}

// The listing that a complete, correct download of the simulator's store gives: its groups
// filed by hand, slot by slot, and listed by the program's own listing (GBK bytes).
inline std::string expectedListing(const sim::Scenario& scenario, bool descending = false) {
    FormHarness h;
    Form1* form = h.form.get();
    fileGroups(*form, scenario, scenario.storeSize());
    if (descending) form->Command12_Click();
    return *platform::toGbk(form->ListingText());
}

} // namespace hvr::testing
