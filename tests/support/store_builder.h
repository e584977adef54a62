#pragma once

#include <cstdint>

#include "records/record_store.h"

namespace hvr::testing {

// One group as the download files it.
struct Group {
    int number;
    std::uint8_t priCode;
    int priRaw;
    std::uint8_t secCode;
    int secRaw;
    std::uint8_t status = 0;
    std::uint8_t lowBattery = 0;
    std::uint8_t priFreq = 50;
};

inline void putGroup(RecordStore& store, int slot, const Group& g) {
    const auto i = static_cast<std::size_t>(slot);
    store.rec_group_no[i] = static_cast<float>(g.number);
    store.rec_pri_code[i] = g.priCode;
    store.rec_pri_raw[i] = static_cast<float>(g.priRaw);
    store.rec_sec_code[i] = g.secCode;
    store.rec_sec_raw[i] = static_cast<float>(g.secRaw);
    store.rec_status[i] = g.status;
    store.rec_low_batt[i] = g.lowBattery;
    store.rec_pri_freq[i] = g.priFreq;
}

} // namespace hvr::testing
