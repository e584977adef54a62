#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace hvr {

inline constexpr int kStoreSlots = 8001;  // slots 0..8000
inline constexpr int kExtraWords = 30001; // rec_extra 0..30000, five words a group
inline constexpr int kRowsPerPage = 26;

// The downloaded groups as parallel arrays indexed by slot. A slot holds a group when its
// rec_sec_code is not 0; the download fills slots from 0 upwards.
struct RecordStore {
    std::array<std::uint8_t, kStoreSlots> rec_sec_code{};
    std::array<float, kStoreSlots> rec_sec_raw{};
    std::array<std::uint8_t, kStoreSlots> rec_pri_code{};
    std::array<float, kStoreSlots> rec_pri_raw{};
    std::array<std::uint8_t, kStoreSlots> rec_pri_freq{};
    std::array<std::uint8_t, kStoreSlots> rec_status{};
    std::array<float, kStoreSlots> rec_group_no{};
    std::array<std::uint8_t, kStoreSlots> rec_low_batt{};
    std::array<std::int16_t, kExtraWords> rec_extra{};
    // Each group's frame exactly as the instrument sent it, for the archive.
    std::array<std::array<std::uint8_t, 8>, kStoreSlots> rec_frame{};
    // Moves on whenever a group is filed, the groups are reordered or the store is cleared, so
    // that what shows the groups elsewhere knows when to look again.
    std::uint64_t store_revision = 0;
};

// Paging of the history view: ji_ge is the number of stored groups plus one.
struct PagingState {
    std::int16_t ji_ge = 1;
    std::int16_t page_count = 1;
    std::int16_t current_page = 1;
    std::string row_text;
};

} // namespace hvr
