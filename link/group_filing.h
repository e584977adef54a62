#pragma once

#include "link/protocol.h"
#include "records/record_store.h"

namespace hvr {

// Files a stored group's frame into a slot of the store, decoded as the download decodes it,
// the frame itself kept beside the decoded fields: the download and an archived test opened
// again fill the store alike.
void fileGroupFrame(RecordStore& store, int slot, const protocol::FrameBytes& bytes);

} // namespace hvr
