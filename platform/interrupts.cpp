#include "platform/interrupts.h"

#include <csignal>
#ifndef _WIN32
#include <signal.h>
#endif
#include <cstdlib>

namespace hvr::platform {

void onInterruptRequests(void (*handler)(int request)) {
    std::signal(SIGINT, handler);
    std::signal(SIGTERM, handler);
#ifdef SIGBREAK
    std::signal(SIGBREAK, handler);
#endif
#ifdef SIGPIPE
    std::signal(SIGPIPE, SIG_IGN); // a closed pipe shows as a failed write instead
#endif
}

void endAsInterrupted(int request) {
#ifdef _WIN32
    // Windows has no death by signal: the status a shell gives an interrupted program.
    (void)request;
    std::_Exit(128 + SIGINT);
#else
    // From inside the request's own handler the signal is held back until it returns: let it
    // through, so that it ends the process here.
    std::signal(request, SIG_DFL);
    sigset_t held;
    sigemptyset(&held);
    sigaddset(&held, request);
    sigprocmask(SIG_UNBLOCK, &held, nullptr);
    std::raise(request);
    std::_Exit(128 + request);
#endif
}

} // namespace hvr::platform
