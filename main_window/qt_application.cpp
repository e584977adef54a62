#include "main_window/qt_application.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QScreen>

#include <algorithm>
#include <iostream>

#include <QTimer>

#include "analysis/error_analysis_form.h"
#include "archive/archive_form.h"
#include "archive/archive_keeper.h"
#include "archive/qt_archive_worker.h"
#include "archive/test_coordinator.h"
#include "archive/qt_archive_view.h"
#include "link/group_filing.h"
#include "cli/monitor_output.h"
#include "platform/qt_database.h"
#include "analysis/qt_error_analysis_view.h"
#include "calculator/form4.h"
#include "calculator/qt_form4_view.h"
#include "main_window/form1.h"
#include "main_window/qt_form1_view.h"
#include "texts/texts.h"
#include "platform/file_system.h"
#include "platform/qt_canvas.h"
#include "platform/qt_clock.h"
#include "platform/qt_dialogs.h"
#include "platform/qt_documents.h"
#include "platform/qt_events.h"
#include "platform/qt_fonts.h"
#include "platform/qt_serial_port.h"
#include "platform/qt_settings.h"
#include "platform/qt_simulator.h"
#include "forms/qt_form_widgets.h"
#include "forms/qt_timers.h"
#include "platform/qt_translations.h"
#include "print/qt_printing.h"
#include "splash/form2.h"
#include "splash/qt_form2_view.h"

namespace hvr::gui {

namespace {

// A window in the middle of the screen.
void centre(QWidget& window) {
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        window.move(screen->availableGeometry().center() - window.rect().center());
}

} // namespace

QPoint placeBeside(const QRect& mainFrame, const QSize& size, const QRect& available) {
    const int top = std::clamp(mainFrame.top(), available.top(),
                               std::max(available.top(), available.bottom() + 1 - size.height()));
    if (mainFrame.right() + size.width() <= available.right()) return {mainFrame.right() + 1, top};
    if (mainFrame.left() - size.width() >= available.left()) return {mainFrame.left() - size.width(), top};
    return {std::max(available.left(), available.right() + 1 - size.width()),
            std::max(available.top(), available.bottom() + 1 - size.height())};
}

struct MainWindowProgram::Parts {
    platform::QtDialogs dialogs;
    platform::QtEvents events;
    platform::LocalFileSystem files;
    platform::QtShell shell;
    platform::QtPictureFiles pictures{files};
    QtPrinting printing;
    std::unique_ptr<platform::SimulatorProcess> sim;
    std::unique_ptr<platform::QtSerialPort> port;
    std::unique_ptr<Form1> form;
    std::unique_ptr<QtForm1View> view;
    std::unique_ptr<platform::QtTimers> timers;
    std::string answeredPort; // the device that answered last, this run or an earlier one
    // The calculator, beside the main window, created on first use.
    platform::QtDialogs calculatorDialogs;
    std::unique_ptr<Form4> calculator;
    std::unique_ptr<QtForm4View> calculatorView;
    // The ratio error analysis, created on first use and kept: what was typed stays.
    platform::QtDialogs analysisDialogs;
    platform::QtDocuments documents{files};
    platform::QtPreferences analysisPreferences{"analysis"};
    std::unique_ptr<ErrorAnalysisForm> analysis;
    std::unique_ptr<QtErrorAnalysisView> analysisView;
    std::uint64_t analysedRevision = ~std::uint64_t{0};
    // The test archive: every completed read and every live run kept, written on a thread of
    // its own; the archive window reads through a connection of its own.
    std::unique_ptr<archive::ArchiveKeeper> keeper;
    std::unique_ptr<archive::TestCoordinator> coordinator;
    std::unique_ptr<QtArchiveWorker> archiveWorker;
    std::unique_ptr<platform::QtDatabase> browseDb;
    std::unique_ptr<archive::Archive> browsed;
    platform::QtDialogs archiveDialogs;
    std::unique_ptr<ArchiveForm> archiveForm;
    std::unique_ptr<QtArchiveView> archiveView;

    static std::string archiveAddress() {
        std::string where = qEnvironmentVariable("HVR_ARCHIVE").toStdString();
        if (where.empty()) where = QSettings().value(QStringLiteral("archive/url")).toString().toStdString();
        return where;
    }

    // The archive as the archive window reads it; an archive not there yet is not made.
    std::string openBrowsed() {
        std::string why;
        if (browsed) return why;
        if (const auto address = platform::parseArchiveAddress(archiveAddress(), &why)) {
            browseDb = platform::QtDatabase::open(*address, platform::QtDatabase::Missing::Refuse, &why);
            if (browseDb) browsed = std::make_unique<archive::Archive>(*browseDb);
            if (browsed && !browsed->open(&why, archive::Archive::Purpose::Reading)) browsed.reset();
            if (!browsed) browseDb.reset();
        }
        return why;
    }

    void showArchive() {
        const std::string unavailable = openBrowsed();
        if (!archiveView) {
            archiveForm = std::make_unique<ArchiveForm>(ArchiveForm::Services{archiveDialogs, files, documents},
                                                        browsed.get(), unavailable,
                                                        [this](const archive::TestRecord& record) { openTest(record); });
            archiveForm->Form_Load();
            archiveView = std::make_unique<QtArchiveView>(*archiveForm);
            archiveDialogs.setParent(archiveView.get());
        } else if (!archiveView->isVisible()) {
            archiveForm->Form_Activate(browsed.get(), unavailable); // what was archived since
            archiveView->sync();
        }
        if (!archiveView->isVisible() || archiveView->zoom() != view->zoom()) {
            archiveView->setZoom(view->zoom());
            placeBesideMain(*archiveView);
        }
        archiveView->show();
        archiveView->raise();
        archiveView->activateWindow();
    }

    // An archived test into the main window, as after its read: its groups in history review,
    // its nameplate, class and particulars in the ratio error window.
    void openTest(const archive::TestRecord& record) {
        if (!form->OpenStoredFrames(record.frames)) return;
        coordinator->testOpened(record);
        if (analysis) analysis->Form_Load();
        analysedRevision = ~std::uint64_t{0};
        view->render();
        followMainWindow();
    }

    void openArchive() {
        keeper = std::make_unique<archive::ArchiveKeeper>([this](const std::string& text) {
            // Said on the window's thread, whichever thread found it.
            QMetaObject::invokeMethod(view.get(), [this, text] { dialogs.message(text, texts::kMessageTitle); });
        });
        coordinator = std::make_unique<archive::TestCoordinator>(archive::TestCoordinator::Services{
            *keeper, analysisPreferences, [] { return platform::localTimeText(); },
            [] { return platform::isoTimeText(); }, HVR_VERSION});
        archiveWorker = std::make_unique<QtArchiveWorker>(*keeper, archiveAddress());
        form->setReadEndedObserver([this] {
            coordinator->readEnded(*form);
            archiveWorker->poke();
        });
    }

    void placeBesideMain(QWidget& window) {
        const QScreen* screen = view->screen();
        if (screen == nullptr) return centre(window);
        // The frame's size is known once shown; until then the client area stands for it.
        const QSize size = window.frameGeometry().size().expandedTo(window.size());
        window.move(placeBeside(view->frameGeometry(), size, screen->availableGeometry()));
    }

    void showCalculator() {
        if (!calculatorView || !calculatorView->isVisible()) {
            // First use, or opened again after it was closed: a fresh window, units on mA.
            calculatorView.reset();
            calculator = std::make_unique<Form4>(calculatorDialogs);
            calculator->Form_Load();
            calculatorView = std::make_unique<QtForm4View>(*calculator);
            calculatorDialogs.setParent(calculatorView.get());
            calculatorView->setZoom(view->zoom());
            placeBesideMain(*calculatorView);
        }
        calculatorView->show();
        calculatorView->raise();
        calculatorView->activateWindow();
    }

    void showAnalysis() {
        if (!analysisView) {
            analysis = std::make_unique<ErrorAnalysisForm>(
                ErrorAnalysisForm::Services{analysisDialogs, files, documents, analysisPreferences},
                HVR_VERSION);
            analysis->Form_Load();
            analysisView = std::make_unique<QtErrorAnalysisView>(*analysis);
            analysisView->setAfterEvent([this] { coordinator->particularsChanged(); });
            analysisDialogs.setParent(analysisView.get());
            documents.setParent(analysisView.get());
            analysedRevision = ~std::uint64_t{0};
            followMainWindow();
        }
        if (!analysisView->isVisible() || analysisView->zoom() != view->zoom()) {
            analysisView->setZoom(view->zoom()); // the main window's, whenever it is opened
            placeBesideMain(*analysisView);
        }
        analysisView->show();
        analysisView->raise();
        analysisView->activateWindow();
    }

    // After every event of the main window: the live run archived; the analysis window given
    // its groups once a read is over and whenever the store changes, its live verdict with
    // every reading.
    void followMainWindow() {
        coordinator->followMainWindow(*form);
        if (!analysis) return;
        if (!form->dl_active && form->store_revision != analysedRevision) {
            analysedRevision = form->store_revision;
            analysis->showGroups(*form, kStoreSlots, coordinator->downloadedAt());
        }
        const LiveShown& shown = form->last_shown;
        if (shown.secondaryBase || shown.noSignal)
            analysis->showLive(analysis::liveReading(shown),
                               form->live_stale     ? ErrorAnalysisForm::LiveState::Lost
                               : form->live_polling ? ErrorAnalysisForm::LiveState::Live
                                                    : ErrorAnalysisForm::LiveState::Paused);
        analysisView->sync();
    }
};

MainWindowProgram::MainWindowProgram(WindowOptions options)
    : m_options(std::move(options)), m_parts(std::make_unique<Parts>()) {}

bool MainWindowProgram::finishArchive() {
    Parts& p = *m_parts;
    if (!p.keeper) return true;
    p.keeper->liveStopped(platform::localTimeText());
    // The archive is given a few seconds to take what waits; a database that does not answer
    // keeps its thread, which ends with the program.
    const bool stopped = p.archiveWorker->stop(5000);
    if (!stopped) (void)p.archiveWorker.release();
    if (const std::string lost = p.keeper->unwritten(); !lost.empty())
        p.dialogs.message(std::string(texts::kArchiveLost) + lost, texts::kMessageTitle);
    if (!stopped) (void)p.keeper.release(); // the thread may still be using it
    return stopped;
}

void MainWindowProgram::rememberPlace() {
    if (!m_parts->view) return;
    QSettings settings;
    platform::rememberWindow(settings, {m_parts->view->zoom(), m_parts->view->size()});
}

MainWindowProgram::~MainWindowProgram() {
    // The archive's thread first: it tells the window what it finds. The timers and the views
    // go before the forms they serve; the simulator last.
    m_parts->archiveWorker.reset();
    m_parts->calculatorView.reset();
    m_parts->calculator.reset();
    m_parts->analysisView.reset();
    m_parts->analysis.reset();
    m_parts->archiveView.reset();
    m_parts->archiveForm.reset();
    m_parts->timers.reset();
    m_parts->view.reset();
    m_parts->form.reset();
    m_parts->port.reset();
    m_parts->sim.reset();
}

Form1& MainWindowProgram::form() {
    return *m_parts->form;
}

QtForm1View& MainWindowProgram::view() {
    return *m_parts->view;
}

bool MainWindowProgram::start(std::string& error) {
    Parts& p = *m_parts;
    platform::PortChoice choice = m_options.port;
    if (m_options.demo) {
        p.sim = std::make_unique<platform::SimulatorProcess>();
        if (!p.sim->start(error)) return false;
        choice = {0, p.sim->device()};
    }
    const auto table = platform::QtSerialPort::tableFor(choice, error);
    if (!table) return false;
    p.port = std::make_unique<platform::QtSerialPort>(table);
    p.form = std::make_unique<Form1>(
        platform::Services{*p.port, p.dialogs, p.events, p.files, p.shell, p.pictures, p.printing});
    p.view = std::make_unique<QtForm1View>(*p.form);
    p.dialogs.setParent(p.view.get());
    p.printing.setMainWindow(p.view.get());
    p.printing.setZoom([&p] { return p.view->zoom(); });
    p.form->setCalculatorOpener([&p] { p.showCalculator(); });
    p.form->setAnalysisOpener([&p] { p.showAnalysis(); });
    p.form->setArchiveOpener([&p] { p.showArchive(); });
    p.view->setAfterEvent([&p] { p.followMainWindow(); });
    p.openArchive();
    // Without a port given, the scan starts at the port that answered last time, and the port
    // that answers is remembered.
    const bool scanning = !choice.given();
    if (!scanning) p.form->fixPort();
    p.answeredPort = platform::rememberedPort(QSettings());
    p.form->setSerialEventObserver([&p, scanning] {
        p.view->render();
        p.followMainWindow();
        if (p.timers) p.timers->sync();
        if (scanning && p.form->Text40.text() == texts::kLinkUp && p.port->device() != p.answeredPort &&
            !p.port->device().empty()) {
            p.answeredPort = p.port->device();
            QSettings settings;
            platform::rememberPort(settings, p.answeredPort);
        }
    });

    p.form->Form_Load();
    if (scanning) {
        const auto devices = table().devices();
        const auto last = std::find(devices.begin(), devices.end(), p.answeredPort);
        if (last != devices.end()) {
            // The scan moves on before it opens: it starts one number before.
            const int number = static_cast<int>(last - devices.begin()) + platform::kFirstPort;
            p.form->Combo1.setText(
                std::to_string(number == platform::kFirstPort ? platform::kLastPort : number - 1));
        }
    }
    p.view->render();
    p.timers = std::make_unique<platform::QtTimers>(m_options.timeScale);
    p.timers->setAfterTick([&p] {
        p.view->render();
        p.followMainWindow();
    });
    p.timers->add(p.form->Timer1, [&p] { p.form->Timer1_Timer(); });
    p.timers->add(p.form->Timer2, [&p] { p.form->Timer2_Timer(); });
    p.timers->add(p.form->Timer3, [&p] { p.form->Timer3_Timer(); });

    // At the zoom and size the user left, else at zoom 1, as far as the screen holds them;
    // centred.
    const auto place = platform::rememberedWindow(QSettings());
    p.view->zoomTo(std::min(place ? place->zoom : 1.0, p.view->fittingZoom()));
    if (const QScreen* screen = p.view->screen()) {
        const QRect area = screen->availableGeometry();
        if (place)
            p.view->resize(
                place->size.boundedTo(area.size() - QSize(16, 40)).expandedTo(p.view->minimumSizeHint()));
        p.view->move(area.center() - QPoint(p.view->width() / 2, p.view->height() / 2));
    }
    p.view->show();
    p.view->keepOnScreen(); // shown, the window's frame is known
    return true;
}

int runWindowProgram(int argc, char** argv) {
    // The options are read before the display is opened: --help and --version need none.
    QCoreApplication::setApplicationName("hvr");
    QCoreApplication::setApplicationVersion(HVR_VERSION);
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);

    QCommandLineParser parser;
    parser.setApplicationDescription("无线高压变比监控软件: 实时监控, 历史数据读取, 保存与打印.");
    const QCommandLineOption helpOption = parser.addHelpOption();
    const QCommandLineOption versionOption = parser.addVersionOption();
    const std::string devices = platform::QtSerialPort::deviceExamples();
    const QCommandLineOption portOption(
        {"p", "port"}, QString::fromStdString("设备路径 (" + devices + ") 或端口号 1…16; 不给出时依次扫描."), "端口");
    const QCommandLineOption demoOption("demo", "启动模拟仪器 hvr-sim 并使用它.");
    QCommandLineOption scaleOption("time-scale", "所有定时器间隔乘以 F (用于测试).", "F", "1");
    scaleOption.setFlags(QCommandLineOption::HiddenFromHelp);
    parser.addOptions({portOption, demoOption, scaleOption});
    if (!parser.parse(arguments)) {
        std::cerr << "hvr: " << parser.errorText().toStdString() << " (见 --help)\n";
        return 2;
    }
    if (parser.isSet(helpOption)) {
        std::cout
            << "用法: hvr [-p|--port 端口] [--demo]\n\n"
               "无线高压变比监控软件: 实时监控, 历史数据读取, 曲线, 保存与打印.\n\n"
               "  -p, --port 端口  设备路径 ("
            << devices
            << ") 或端口号 1…16; 不给出时依次扫描 COM1…COM16.\n"
               "  --demo           启动模拟仪器 hvr-sim 并使用它.\n"
               "  -h, --help       本说明.\n"
               "  -v, --version    版本.\n";
        return 0;
    }
    if (parser.isSet(versionOption)) {
        std::cout << "hvr " << HVR_VERSION << "\n";
        return 0;
    }
    if (!parser.positionalArguments().isEmpty()) {
        std::cerr << "hvr: 多余的参数 '" << parser.positionalArguments().constFirst().toStdString()
                  << "' (见 --help)\n";
        return 2;
    }

    WindowOptions options;
    options.demo = parser.isSet(demoOption);
    if (parser.isSet(portOption)) {
        const auto port = platform::parsePort(parser.value(portOption).toStdString());
        if (!port) {
            std::cerr << "hvr: --port 需要设备路径或端口号 1…16\n";
            return 2;
        }
        options.port = *port;
    }
    if (options.demo && options.port.given()) {
        std::cerr << "hvr: --demo 与 --port 不能同时使用\n";
        return 2;
    }
    bool scaleOk = false;
    options.timeScale = parser.value(scaleOption).toDouble(&scaleOk);
    if (!scaleOk || options.timeScale < 0.01 || options.timeScale > 100) {
        std::cerr << "hvr: --time-scale 需要 0.01 到 100 之间的数\n";
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
        qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        std::cerr << "hvr: 没有图形显示 (DISPLAY 与 WAYLAND_DISPLAY 都未设置); 没有窗口时请用 hvr-cli\n";
        return 1;
    }

    QApplication app(argc, argv);
    QCoreApplication::setOrganizationName("hvr"); // settings in ~/.config/hvr/hvr.conf
    QCoreApplication::setApplicationName("hvr");
    platform::installChineseFontSubstitutes();
    platform::installChineseQtTranslations();

    // The splash opens first; a click, Enter or Esc opens the main window, once.
    MainWindowProgram program(options);
    int status = 0;
    platform::QtShell shell;
    platform::QtTimers splashTimers;
    Form2 splash(shell, [&] {
        splashTimers.sync(); // the splash's timer ends with it
        std::string error;
        if (!program.start(error)) {
            std::cerr << "hvr: " << error << "\n";
            status = 1;
            QApplication::quit();
        }
    });
    // The splash at the zoom the main window will open at, as far as the screen allows.
    const auto place = platform::rememberedWindow(QSettings());
    double zoom = place ? place->zoom : 1.0;
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        zoom = std::max(kMinimumZoom, std::min({zoom, (screen->availableGeometry().width() - 16) / 1016.0,
                                                (screen->availableGeometry().height() - 70) / 712.0}));
    QtForm2View splashView(splash, zoom);
    splash.Form_Load();
    splashTimers.setAfterTick([&] { splashView.render(); });
    splashTimers.add(splash.Timer1, [&] { splash.Timer1_Timer(); });
    splashView.render();
    centre(splashView);
    splashView.show();
    const int result = QApplication::exec();
    program.rememberPlace();
    const int exitStatus = status != 0 ? status : result;
    // A database that never answered holds a thread that cannot be ended: the program ends
    // without waiting for it, everything of its own already saved.
    if (!program.finishArchive()) std::_Exit(exitStatus);
    return exitStatus;
}

} // namespace hvr::gui
