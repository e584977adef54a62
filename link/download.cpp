// The download of stored groups: the count reply, then the groups two by two into the store.
#include <algorithm>

#include "units/number_text.h"
#include "link/group_filing.h"
#include "link/protocol.h"
#include "main_window/form1.h"
#include "texts/texts.h"

namespace hvr {

namespace {
constexpr double kTwipsPerPercent = 102.5;
constexpr std::int32_t kFirstPageRequestLimit = 282; // requests below it bring groups 1..26
// Garbled counts in a row that are asked for again at once, as a passing fault; later ones
// wait for the supervision tick, so a line that garbles every count is not asked as fast as
// it answers.
constexpr std::int32_t kCountsAskedAtOnce = 3;
// Supervision ticks (5 s) of garbled counts after which the read ends.
constexpr std::int32_t kGarbledCountTicks = 10;
} // namespace

void Form1::DownloadCountReply() {
    // The count is taken as a whole word: a garbled reply above 4600, whatever its top bit,
    // is asked for again.
    std::int32_t count = stored_count;
    if (const auto word = protocol::replyWord(rx_bytes)) count = *word;
    dl_count_reply = count;
    if (count < 0 || count > protocol::kMaxPlausibleCount) {
        if (++dl_implausible_counts <= kCountsAskedAtOnce) {
            SetReceiveFraming(protocol::kWordReplyLength);
            SendCommandWord(protocol::kReadCount);
        }
        return;
    }
    dl_implausible_counts = 0;
    dl_implausible_ticks = 0;
    if (dl_recounting) {
        dl_recounting = false;
        if (count == stored_count) {
            RequestPair(dl_request); // the same store: on from the pair that was due
            return;
        }
        // Another instrument on the line, or a store that changed: what was filed is not
        // continued, the new store is read from its first group.
        const std::string said = texts::kCountChanged + decimalText(stored_count) + texts::kCountChangedTo +
                                 decimalText(count) + texts::kCountChangedEnd;
        clearStoreForRead();
        m_services.dialogs.message(said, texts::kMessageTitle);
    }
    stored_count = static_cast<std::int16_t>(count);
    if (stored_count == 0) m_services.dialogs.message(texts::kReadCountZero, texts::kMessageTitle);
    dl_active = true;
    RequestPair(protocol::kFirstGroupRequest);
}

void fileGroupFrame(RecordStore& store, int slot, const protocol::FrameBytes& bytes) {
    // A stored group carries the battery mark when either copy of the flag is set.
    const protocol::ReadingFrame f = protocol::decodeFrame(bytes);
    const auto i = static_cast<std::size_t>(slot);
    store.rec_low_batt[i] = f.lowBatteryFirst || f.lowBatterySecond ? 1 : 0;
    store.rec_sec_raw[i] = f.secRaw;
    store.rec_sec_code[i] = f.secCode;
    store.rec_pri_raw[i] = f.priRaw;
    store.rec_pri_code[i] = f.priCode;
    store.rec_pri_freq[i] = f.priFreq;
    store.rec_status[i] = f.status;
    store.rec_group_no[i] = static_cast<float>(slot + 1);
    store.rec_frame[i] = bytes;
    ++store.store_revision;
}

void fileGroupFrames(RecordStore& store, const std::vector<protocol::FrameBytes>& frames) {
    store.rec_sec_code.fill(0);
    store.rec_sec_raw.fill(0);
    store.rec_extra.fill(0);
    ++store.store_revision;
    for (std::size_t i = 0; i < frames.size() && i < static_cast<std::size_t>(kStoreSlots); ++i)
        fileGroupFrame(store, static_cast<int>(i), frames[i]);
}

std::vector<protocol::FrameBytes> storedFrames(const RecordStore& store, int groups) {
    return {store.rec_frame.begin(), store.rec_frame.begin() + std::clamp(groups, 0, kStoreSlots)};
}

bool Form1::OpenStoredFrames(const std::vector<protocol::FrameBytes>& frames) {
    if (storeBusy()) return false;
    Command9_Click(); // history review, as for a read
    fileGroupFrames(*this, frames);
    stored_count = static_cast<std::int16_t>(std::min<std::size_t>(frames.size(), kStoreSlots));
    current_page = 1;
    showPageWithStatus(1);
    return true;
}

void Form1::RequestPair(std::int32_t request) {
    dl_half = 0;
    dl_request = request;
    SendCommandWord(dl_request);
    link_mode = kGroupFrames;
    SetReceiveFraming(protocol::kFrameLength);
}

void Form1::DownloadGroupFrame() {
    const auto bytes = protocol::fullFrame(rx_bytes);
    if (!bytes) {
        RequestPair(protocol::kFirstGroupRequest); // a short chunk: start over, overwriting what was filed
        return;
    }
    if (protocol::isEndOfData(*bytes)) {
        // The store ends here: before the counted groups are in, the read is incomplete.
        const int filed = dl_request + dl_half - protocol::kFirstGroupRequest;
        if (filed < stored_count)
            EndIncompleteRead(texts::kIncompleteRead + decimalText(filed) + texts::kIncompleteReported +
                              decimalText(stored_count) + " " + texts::kGroupUnit);
        else
            EndDownload();
        return;
    }

    const int k = dl_request + dl_half - protocol::kFirstGroupRequest;
    if (k < 0 || k >= kStoreSlots) {
        EndDownload(); // the store is full
        return;
    }
    fileGroupFrame(*this, k, *bytes);
    dl_filed = std::max(dl_filed, k + 1);

    if (k + 1 >= stored_count + 1) {
        EndDownload();
        return;
    }

    Command5.setEnabled(false);
    Command13.setEnabled(false);
    Command12.setEnabled(false);
    Command7.setEnabled(false);
    CountStoredGroups();
    const bool firstPage = dl_request < kFirstPageRequestLimit;
    Text41.setText(PageStatusText(firstPage ? 1 : current_page));
    Text42.setText(texts::kReading);
    const std::int32_t percent = ((dl_request - protocol::kGroupRequestBase) * 100) / stored_count;
    Text34.setVisible(percent >= 1);
    Text33.setVisible(percent >= 1);
    Text33.setWidth(static_cast<int>(roundHalfEven(percent * kTwipsPerPercent)));
    Text34.setLeft(Text33.rect().left + Text33.rect().width);
    Text34.setText(decimalText(percent) + "% ");
    if (firstPage) {
        current_page = 1;
        ShowPage(1);
    }

    ++dl_half;
    if (dl_half < 2) return; // the second group of the pair follows
    RequestPair(dl_request + 2);
}

void Form1::EndDownload(ReadOutcome outcome) {
    link_state = kIdle;
    link_busy = 0;
    dl_active = false;
    dl_recounting = false;
    // Set before pending events run: nothing that runs meanwhile takes an incomplete read for
    // a complete one.
    dl_outcome = outcome;
    m_services.events.processPending();
    Command7.setEnabled(true);
    Command13.setEnabled(true);
    Command12.setEnabled(true);
    Command5.setEnabled(true);
    Text42.setText("");
    Text33.setVisible(false);
    Text34.setVisible(false);
    if (outcome == ReadOutcome::Complete && m_readEnded) m_readEnded();
}

void Form1::EndIncompleteRead(const std::string& why) {
    EndDownload(ReadOutcome::Incomplete);
    dl_implausible_counts = 0;
    dl_implausible_ticks = 0;
    Text42.setText(texts::kReadIncomplete);
    m_services.dialogs.message(why, texts::kMessageTitle);
    if (m_readEnded) m_readEnded();
}

void Form1::clearStoreForRead() {
    fileGroupFrames(*this, {});
    dl_filed = 0;
}

void Form1::requestGivenUp(std::optional<std::int32_t> word) {
    // The pair is asked again as a whole: its first group comes first again.
    if (word && dl_active && link_mode == kGroupFrames && *word == dl_request) dl_half = 0;
}

void Form1::superviseRead(std::optional<std::int32_t> givenUp) {
    requestGivenUp(givenUp);
    if (link_state != kExchanging || link_mode != kWordReply) return;
    if (dl_implausible_counts > 0 && ++dl_implausible_ticks >= kGarbledCountTicks) {
        EndIncompleteRead(texts::kCountImplausible + decimalText(dl_count_reply) +
                          texts::kCountImplausibleEnd);
        return;
    }
    if (dl_implausible_counts > 0 && !requestLine.busy()) {
        SetReceiveFraming(protocol::kWordReplyLength);
        SendCommandWord(protocol::kReadCount);
    }
}

} // namespace hvr
