#include "cli/session.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <csignal>

#include "platform/interrupts.h"
#include "texts/texts.h"

namespace hvr::cli {

namespace {

volatile std::sig_atomic_t g_interrupted = 0;
volatile std::sig_atomic_t g_signal = 0;
volatile std::sig_atomic_t g_blockingOutput = 0;

void onInterrupt(int signal) {
    g_signal = signal;
    // An output that blocks (a pipe nobody reads) would never come back to look at the flag.
    if (g_blockingOutput != 0) platform::endAsInterrupted(signal);
    g_interrupted = 1;
}

} // namespace

bool Session::interrupted() {
    return g_interrupted != 0;
}

Session::BlockingOutput::BlockingOutput() {
    g_blockingOutput = 1;
    if (g_interrupted != 0) platform::endAsInterrupted(g_signal); // asked to end before the output began
}

Session::BlockingOutput::~BlockingOutput() {
    g_blockingOutput = 0;
}

Session::Session(const Options& options) : m_options(options) {}

Session::~Session() {
    m_timers.reset();
    m_form.reset();
    m_port.reset();
    m_sim.reset();
}

bool Session::start(std::string& error) {
    platform::onInterruptRequests(onInterrupt);

    platform::PortChoice choice = m_options.port;
    if (m_options.demo) {
        m_sim = std::make_unique<platform::SimulatorProcess>();
        if (!m_sim->start(error)) return false;
        choice = {0, m_sim->device()};
    }
    const auto table = platform::QtSerialPort::tableFor(choice, error);
    if (!table) return false;

    m_port = std::make_unique<platform::QtSerialPort>(table);
    if (m_options.port.given()) {
        // A port that cannot be used is said at once, not waited out as a silent instrument.
        if (!m_port->open(platform::kFirstPort)) {
            error = "无法打开端口 " + m_port->lastOpenFailure();
            return false;
        }
        m_port->close();
    }
    m_form = std::make_unique<Form1>(
        platform::Services{*m_port, m_dialogs, m_events, m_files, m_shell, m_pictures, m_printing});
    if (portGiven()) m_form->fixPort();
    m_form->setSerialEventObserver([this] { afterEvent(); });
    m_timers = std::make_unique<platform::QtTimers>(m_options.timeScale);
    m_timers->setAfterTick([this] { afterEvent(); });
    m_form->Form_Load();
    m_timers->add(m_form->Timer1, [this] { m_form->Timer1_Timer(); });
    m_timers->add(m_form->Timer2, [this] { m_form->Timer2_Timer(); });
    m_timers->add(m_form->Timer3, [this] { m_form->Timer3_Timer(); });
    return true;
}

bool Session::linkUp() const {
    return m_form->Text40.text() == texts::kLinkUp;
}

void Session::afterEvent() {
    if (m_timers) m_timers->sync();
    if (m_check) m_check();
}

Session::Outcome Session::runUntil(const std::function<bool()>& done, double seconds) {
    if (done()) return Outcome::Done;
    QEventLoop loop;
    Outcome outcome = Outcome::TimedOut;
    QElapsedTimer clock;
    clock.start();
    const auto limit = static_cast<qint64>(seconds * 1000);
    m_check = [&] {
        if (done()) {
            outcome = Outcome::Done;
            loop.quit();
        }
    };
    // Ctrl-C and the time limit are looked at a few times a second.
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (g_interrupted) {
            outcome = Outcome::Interrupted;
            loop.quit();
        } else if (clock.elapsed() > limit) {
            outcome = Outcome::TimedOut;
            loop.quit();
        }
    });
    watch.start(50);
    loop.exec();
    m_check = nullptr;
    return outcome;
}

} // namespace hvr::cli
