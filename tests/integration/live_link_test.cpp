// The form model on the real serial port, talking to hvr-sim over a pseudo-terminal.
#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>

#include <memory>

#include "link/protocol.h"
#include "main_window/form1.h"
#include "texts/texts.h"
#include "platform/qt_serial_port.h"
#include "tests/support/fake_services.h"
#include "tests/support/qt_wait.h"

namespace hvr {
namespace {

using testing::SimProcess;
using testing::waitUntil;

// A form whose port 1 is the simulator's line.
struct SimulatedLink {
    explicit SimulatedLink(const QStringList& simArguments) : sim(simArguments) {
        const std::string device = sim.device().toStdString();
        port = std::make_unique<platform::QtSerialPort>([device] { return platform::PortTable({device}); });
        form = std::make_unique<Form1>(
            platform::Services{*port, dialogs, events, files, shell, pictures, printing});
        form->MSComm1.setCommPort(1);
        form->MSComm1.setSettings("4800,n,8,1");
    }

    bool linkCheck() {
        form->link_state = Form1::kIdle;
        form->link_mode = Form1::kWordReply;
        form->Text40.setText("");
        form->SetReceiveFraming(protocol::kWordReplyLength);
        form->SendCommandWord(protocol::kLinkCheck);
        return waitUntil([&] { return !form->Text40.text().empty(); });
    }

    bool liveRequest() {
        form->rx_seen = 0;
        form->SetReceiveFraming(protocol::kFrameLength);
        form->SendCommandWord(protocol::kLiveReading);
        return waitUntil([&] { return form->rx_seen == 16; });
    }

    SimProcess sim;
    testing::FakeDialogs dialogs;
    testing::FakeEvents events;
    testing::FakeFileSystem files;
    testing::FakeShell shell;
    testing::FakePictureFiles pictures;
    testing::FakePrinting printing;
    std::unique_ptr<platform::QtSerialPort> port;
    std::unique_ptr<Form1> form;
};

QStringList liveScenario() {
    return {"--scenario", HVR_TEST_DATA "/live_scenario.txt"};
}

TEST(LiveLink, LinkCheckIsAnsweredAndLiveFramesFillThePanel) {
    SimulatedLink link(liveScenario());
    ASSERT_FALSE(link.sim.device().isEmpty());
    ASSERT_TRUE(link.form->MSComm1.setPortOpen(true));
    ASSERT_TRUE(link.linkCheck());
    EXPECT_EQ(link.form->Text40.text(), texts::kLinkUp);

    Form1& form = *link.form;
    form.link_state = Form1::kExchanging;
    form.link_mode = Form1::kLiveFrames;
    form.live_polling = 1;
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(link.liveRequest()) << "live request " << i;

    // The first two frames after a start are only counted; the third is shown.
    EXPECT_EQ(form.Label10.text(), "5.01A");
    EXPECT_EQ(form.Label9.text(), "600.5A");
    EXPECT_EQ(form.Label11.text(), "变 比:119.8");
    EXPECT_EQ(form.Label16.text(), "二次电流5A折算: 599.3/ 5A ");
    EXPECT_EQ(form.Label17.text(), "10KV-YY折算变比: 4.5");
    EXPECT_EQ(form.Label12.text(), "一次电流频率:50HZ");
    EXPECT_EQ(form.Label18.text(), "二次电流频率:60HZ");
    EXPECT_EQ(form.Label1.text(), "最大电流值: 5.01A");
    EXPECT_EQ(form.Label2.text(), "最小电流值: 5.01A");
    EXPECT_EQ(form.Label5.text(), "平均电流值: 5.01A");
    EXPECT_EQ(form.Label13.text(), "最大电流值: 600.5A");
    EXPECT_EQ(form.Text41.text(), "");

    ASSERT_TRUE(link.liveRequest());
    EXPECT_EQ(form.Label9.text(), " 无信号");
    EXPECT_EQ(form.Label10.text(), "5A");
    EXPECT_EQ(form.Text41.text(), "电池电压低");
    EXPECT_EQ(form.Label5.text(), "平均电流值: 5A");

    EXPECT_EQ(link.sim.stop(), 0) << "the simulator ends cleanly on SIGTERM";
}

TEST(LiveLink, FailedLinkChecksOnRequest) {
    SimulatedLink link({"--fail-checks", "1"});
    ASSERT_TRUE(link.form->MSComm1.setPortOpen(true));
    ASSERT_TRUE(link.linkCheck());
    EXPECT_EQ(link.form->Text40.text(), texts::kLinkDown);
    ASSERT_TRUE(link.linkCheck());
    EXPECT_EQ(link.form->Text40.text(), texts::kLinkUp);
}

TEST(LiveLink, SimulatorSurvivesTheLineClosingAndOpeningAgain) {
    SimulatedLink link(liveScenario());
    for (int round = 0; round < 3; ++round) {
        ASSERT_TRUE(link.form->MSComm1.setPortOpen(true)) << round;
        ASSERT_TRUE(link.linkCheck()) << round;
        EXPECT_EQ(link.form->Text40.text(), texts::kLinkUp) << round;
        link.form->MSComm1.setPortOpen(false);
        testing::settle(50);
    }
    EXPECT_EQ(link.sim.stop(), 0);
}

TEST(LiveLink, SimulatorLinksItsDeviceWhereAsked) {
    const QString link =
        QDir::temp().filePath(QString("hvr-sim-link-%1").arg(QCoreApplication::applicationPid()));
    {
        SimProcess sim({"--link", link});
        ASSERT_TRUE(QFileInfo(link).isSymLink());
        EXPECT_EQ(QFileInfo(link).symLinkTarget(), sim.device());
        platform::QtSerialPort port([p = link.toStdString()] { return platform::PortTable({p}); });
        testing::FakeDialogs dialogs;
        testing::FakeEvents events;
        testing::FakeFileSystem files;
        testing::FakeShell shell;
        testing::FakePictureFiles pictures;
        testing::FakePrinting printing;
        auto form = std::make_unique<Form1>(
            platform::Services{port, dialogs, events, files, shell, pictures, printing});
        form->MSComm1.setCommPort(1);
        form->MSComm1.setSettings("4800,n,8,1");
        ASSERT_TRUE(form->MSComm1.setPortOpen(true));
        form->SetReceiveFraming(2);
        form->link_mode = Form1::kWordReply;
        form->SendCommandWord(protocol::kLinkCheck);
        EXPECT_TRUE(waitUntil([&] { return form->Text40.text() == texts::kLinkUp; }));
        EXPECT_EQ(sim.stop(), 0);
    }
    EXPECT_FALSE(QFileInfo(link).isSymLink()) << "the link goes with the simulator";
}

TEST(LiveLink, AReplyToAnotherRequestIsReadWholeAndNeverFiled) {
    SimulatedLink link(liveScenario());
    ASSERT_TRUE(link.form->MSComm1.setPortOpen(true));
    Form1& form = *link.form;
    // Ask for a live frame while the state expects a word reply: the frame is read whole as
    // the answer to what was asked, filed as nothing, and the next link check reads its own.
    form.link_state = Form1::kIdle;
    form.link_mode = Form1::kWordReply;
    form.Text40.setText(texts::kLinkUp);
    form.SetReceiveFraming(protocol::kWordReplyLength);
    form.SendCommandWord(protocol::kLiveReading);
    ASSERT_TRUE(waitUntil([&] { return form.rx_seen == 16; }));
    EXPECT_EQ(form.rx_bytes.size(), 8u);
    EXPECT_EQ(form.Text40.text(), texts::kLinkUp) << "a live frame is no failed link check";
    testing::settle(50);
    ASSERT_TRUE(link.linkCheck());
    EXPECT_EQ(form.Text40.text(), texts::kLinkUp);
}

} // namespace
} // namespace hvr
