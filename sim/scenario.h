#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "link/protocol.h"

namespace hvr::sim {

// What the simulated instrument measures and holds: its live readings, its store of groups
// and the count it reports for that store.
class Scenario {
  public:
    // A CT of 600 A : 5 A under a load that swings slowly between 20 A and 700 A, with a little
    // noise, now and then a frame without primary signal, and a battery that runs low after
    // ten minutes; a store of storedGroups groups taken from the same CT.
    static Scenario synthetic(int storedGroups = 300, std::uint32_t seed = 1);

    // Lines of "live B0 .. B7", "group B0 .. B7" (hexadecimal bytes) and "count N"; "#" starts
    // a comment. Live frames repeat in order; without live lines the synthetic CT stands in.
    // An error names the line that is wrong.
    static Scenario parse(const std::string& text, std::string* error);

    protocol::FrameBytes liveFrame(std::uint64_t index) const;

    // Stored group g (1-based); the end-of-data marker past the store.
    protocol::FrameBytes storedGroup(int g) const;
    int storeSize() const { return static_cast<int>(m_groups.size()); }
    int reportedCount() const { return m_reportedCount.value_or(storeSize()); }

    void setReportedCount(int count) { m_reportedCount = count; }

  private:
    std::vector<protocol::FrameBytes> m_live;
    std::vector<protocol::FrameBytes> m_groups;
    std::optional<int> m_reportedCount;
    std::uint32_t m_seed = 1;
};

// One reading of the synthetic CT at a point in time.
protocol::FrameBytes syntheticReading(double seconds, std::uint64_t index, std::uint32_t seed,
                                      bool batteryLow);

} // namespace hvr::sim
