#include "sim/pty_line.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

namespace hvr::sim {

PtyLine::PtyLine() {
    m_master = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (m_master < 0 || grantpt(m_master) != 0 || unlockpt(m_master) != 0) {
        m_error = std::string("cannot create a pseudo-terminal: ") + std::strerror(errno);
        if (m_master >= 0) ::close(m_master);
        m_master = -1;
        return;
    }
    fcntl(m_master, F_SETFD, FD_CLOEXEC);
    m_path = ptsname(m_master);

    // Raw mode on the slave from the start; the settings stay with the terminal when we close
    // our descriptor again.
    const int slave = ::open(m_path.c_str(), O_RDWR | O_NOCTTY);
    if (slave >= 0) {
        termios tio{};
        if (tcgetattr(slave, &tio) == 0) {
            cfmakeraw(&tio);
            cfsetspeed(&tio, B4800);
            tcsetattr(slave, TCSANOW, &tio);
        }
        ::close(slave);
    }
}

PtyLine::~PtyLine() {
    if (m_master >= 0) ::close(m_master);
}

} // namespace hvr::sim
