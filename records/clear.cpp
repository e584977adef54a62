// Clearing the store after a confirmation.
#include "main_window/form1.h"
#include "texts/texts.h"

namespace hvr {

void Form1::Command2_Click() {
    if (storeBusy()) return;
    if (m_services.dialogs.askYesNo(texts::kClearQuestion, texts::kMessageTitle)) {
        for (int r = 0; r < kRowsPerPage; ++r)
            pageRow(r).setText("");
        rec_sec_code.fill(0);
        rec_sec_raw.fill(0);
        rec_pri_code.fill(0);
        rec_pri_raw.fill(0);
        rec_status.fill(0);
        rec_pri_freq.fill(0);
        rec_extra.fill(0);
        ++store_revision;
        current_page = 1;
        CountStoredGroups();
        Text41.setText(PageStatusText(1));
        Text42.setText("");
        stored_count = 0;
        dl_request = 257;
        link_state = kIdle;
        link_busy = 0;
        Text33.setVisible(false);
        Text34.setVisible(false);
    }
    Command5.setEnabled(true);
}

void Form1::qikon_Click() {
    if (Command2.enabled()) Command2_Click();
}

} // namespace hvr
