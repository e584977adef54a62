#pragma once

#include <vector>

#include "link/protocol.h"
#include "records/record_store.h"

namespace hvr {

// Files a stored group's frame into a slot of the store, decoded as the download decodes it,
// the frame itself kept beside the decoded fields: the download and an archived test opened
// again fill the store alike.
void fileGroupFrame(RecordStore& store, int slot, const protocol::FrameBytes& bytes);
// The store emptied, then the frames filed into it from slot 0, as many as it holds.
void fileGroupFrames(RecordStore& store, const std::vector<protocol::FrameBytes>& frames);
// The frames of the first `groups` slots, as they were received.
std::vector<protocol::FrameBytes> storedFrames(const RecordStore& store, int groups);

} // namespace hvr
