// Sorting the stored groups by secondary current, and restoring the received order.
#include <algorithm>
#include <numeric>
#include <vector>

#include "units/number_text.h"
#include "main_window/form1.h"
#include "texts/texts.h"
#include "records/row_format.h"

namespace hvr {

namespace {

constexpr double kBarFullWidth = 10000;

// The spare words of a slot, where the array has them: five a group, so the groups from slot
// 6000 on have none (or, slot 6000, only the first).
bool hasExtraWord(std::size_t slot, std::size_t word) {
    return 5 * slot + word < kExtraWords;
}

// Puts the groups of slots 0..order.size()-1 into the given order: slot i receives the group
// that was in slot order[i], with every field and its spare words.
void permute(RecordStore& s, const std::vector<int>& order) {
    const RecordStore before = s;
    ++s.store_revision;
    for (std::size_t i = 0; i < order.size(); ++i) {
        const auto from = static_cast<std::size_t>(order[i]);
        s.rec_sec_code[i] = before.rec_sec_code[from];
        s.rec_sec_raw[i] = before.rec_sec_raw[from];
        s.rec_pri_code[i] = before.rec_pri_code[from];
        s.rec_pri_raw[i] = before.rec_pri_raw[from];
        s.rec_pri_freq[i] = before.rec_pri_freq[from];
        s.rec_status[i] = before.rec_status[from];
        s.rec_group_no[i] = before.rec_group_no[from];
        s.rec_low_batt[i] = before.rec_low_batt[from];
        s.rec_frame[i] = before.rec_frame[from];
        for (std::size_t w = 0; w < 5; ++w)
            if (hasExtraWord(i, w))
                s.rec_extra[5 * i + w] = hasExtraWord(from, w) ? before.rec_extra[5 * from + w] : 0;
    }
}

} // namespace

void Form1::pai_ji(std::int32_t& ad_ji1, std::uint8_t& com_cz) {
    const auto range = rangeOf(com_cz, Channel::Secondary);
    if (range) sort_key = static_cast<std::int64_t>(ad_ji1) * range->factor;
}

std::int64_t Form1::slotSortKey(int slot) {
    auto raw = static_cast<std::int32_t>(roundHalfEven(static_cast<double>(rec_sec_raw[slot])));
    std::uint8_t code = rec_sec_code[slot];
    sort_key = 0;
    pai_ji(raw, code);
    return sort_key;
}

void Form1::SortGroups(bool ascending) {
    if (storeBusy()) return;
    m_sorting = true;

    if (ascending) {
        Text33.setEnabled(true);
        Text42.setText(texts::kSorting);
    }
    CountStoredGroups();
    Text33.setWidth(0);
    Text33.setVisible(true);
    Text34.setVisible(true);
    Text42.setText(texts::kSortingDots);

    // Progress as the passes of an exchange sort would show it, 1% to 101%; the window is
    // given a turn whenever the shown percentage moves.
    const int n = ji_ge;
    int shownPercent = -1;
    for (int i = 0; i <= n; ++i) {
        const int percent = i * 100 / n + 1;
        if (percent == shownPercent && i != n) continue;
        shownPercent = percent;
        Text33.setWidth(static_cast<int>(static_cast<double>(i) / n * kBarFullWidth));
        Text34.setLeft(Text33.rect().left + Text33.rect().width);
        Text34.setText(decimalText(percent) + "% ");
        m_services.events.processPending();
    }

    // The groups themselves, at once: a stable sort gives exactly the exchange sort's order.
    CountStoredGroups();
    std::vector<int> order(static_cast<std::size_t>(ji_ge - 1));
    std::iota(order.begin(), order.end(), 0);
    std::vector<std::int64_t> keys(order.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        keys[i] = slotSortKey(static_cast<int>(i));
    if (ascending)
        std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return keys[a] < keys[b]; });
    else
        std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return keys[a] > keys[b]; });
    permute(*this, order);

    Text34.setVisible(false);
    Text33.setVisible(false);
    Text42.setText("");
    current_page = 1;
    ShowPage(1);
    CountStoredGroups();
    Text41.setText(PageStatusText(1));
    m_sorting = false;
}

void Form1::Command13_Click() {
    SortGroups(true);
}

void Form1::Command12_Click() {
    SortGroups(false);
}

void Form1::Command7_Click() {
    if (storeBusy()) return;
    CountStoredGroups();
    // Back into group-number order. A stable sort by number puts every group where its number
    // says, and keeps a group even when numbers repeat or run past the store.
    std::vector<int> order(static_cast<std::size_t>(ji_ge - 1));
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&](int a, int b) { return rec_group_no[a] < rec_group_no[b]; });
    permute(*this, order);
    current_page = 1;
    ShowPage(1);
    Text41.setText(PageStatusText(1));
}

// The menu entries sort as their captions say: "升  序" ascending, "降  序" descending.
void Form1::shengcuq_Click() {
    if (Command13.enabled()) Command13_Click();
}

void Form1::jianxun_Click() {
    if (Command12.enabled()) Command12_Click();
}

void Form1::huaiyuan_Click() {
    if (Command7.enabled()) Command7_Click();
}

} // namespace hvr
