#pragma once

#include <string>

namespace hvr::sim {

// The instrument's end of a pseudo-terminal: the master, non-blocking, with its slave set to
// raw bytes so that nothing is echoed or translated before the program configures it.
class PtyLine {
  public:
    PtyLine();
    ~PtyLine();
    PtyLine(const PtyLine&) = delete;
    PtyLine& operator=(const PtyLine&) = delete;

    bool ok() const { return m_master >= 0; }
    const std::string& error() const { return m_error; }
    int fd() const { return m_master; }
    const std::string& devicePath() const { return m_path; }

  private:
    int m_master = -1;
    std::string m_path;
    std::string m_error;
};

} // namespace hvr::sim
