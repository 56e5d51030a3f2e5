#include "SheetHarness.h"
#include "res/ControlIds.h"
#include "tests/device/TraceCapture.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>

#include <cstdlib>
#include <string>

namespace {

// The path of the built utility relative to the root folder, as the card
// library gives the driver's path.
const std::string kStampedRelative = std::string(SKERRIN_BIN_DIR "/skerrin").substr(1);

class AboutPage : public testing::Test {
protected:
    CAboutPage& Page() { return h.sheet->m_AboutPage; }

    // Opens the sheet on the About page, or activates it again.
    void ShowAbout() {
        if (!h.sheet->isVisible()) {
            h.Open();
        } else {
            h.SelectTab(0);
        }
        h.SelectTab(4);
    }

    // A mouse move over the page at `pos` with `modifiers` held.
    void MoveMouse(QPoint pos, Qt::KeyboardModifiers modifiers) {
        QWidget* body = Page().findChild<QWidget*>(QStringLiteral("body"));
        QMouseEvent move(QEvent::MouseMove, QPointF(pos), body->mapToGlobal(QPointF(pos)),
                         Qt::NoButton, Qt::NoButton, modifiers);
        QApplication::sendEvent(body, &move);
    }

    bool Traced(const std::string& line) const { return trace.Count(line) > 0; }

    TraceCapture trace;
    SheetHarness h;
};

// The firmware version is read up to four times; the driver's version is
// looked up under the service name of the system the utility runs on.
TEST_F(AboutPage, FirmwareIsReadUpToFourTimesAndTheDriverServiceFollowsTheSystem) {
    struct {
        int failures;
        std::size_t reads;
        const char* shown;
        const char* os;
        const char* service;
    } cases[] = {{0, 1, "1.8.0.31", "nt:5.1", "RVXNDIS5"},
                 {3, 4, "1.8.0.31", "nt:4.0", "RVXNDIS4"},
                 {4, 4, "---", "9x:4.90", "RVXNDIS3"}};
    h.Open();
    for (const auto& c : cases) {
        setenv("SKERRIN_OS_VERSION", c.os, 1);
        h.card.FailGetBits(TAVL_MASK_FIRMWARE_VERSION, c.failures);
        h.card.ClearCalls();
        const std::size_t sleeps = h.clock.Sleeps().size();
        h.SelectTab(4);
        EXPECT_EQ(c.reads, h.card.CountOf("GetWLANConfig")) << c.failures;
        EXPECT_EQ(TAVL_MASK_FIRMWARE_VERSION, h.card.LastCall("GetWLANConfig")->maskIn);
        EXPECT_EQ(c.reads, h.clock.Sleeps().size() - sleeps);
        EXPECT_EQ(c.shown, h.Text(AboutControls::kFirmwareVersionLabel)) << c.failures;
        EXPECT_TRUE(Traced(std::string("Retrieve the Driver version from ") + c.service)) << c.os;
        // The handshake is released however the reads ended.
        EXPECT_TRUE(h.sheet->state.background.IsSet());
        h.SelectTab(0);
    }
    unsetenv("SKERRIN_OS_VERSION");
}

TEST_F(AboutPage, DriverVersionFollowsTheLibraryAndTheFile) {
    // Before any reading: "Unknown" when the file has no stamp.
    h.card.SetDriverPath("drivers/lk2093.sys");
    ShowAbout();
    EXPECT_EQ("Unknown", h.Text(AboutControls::kDriverVersionLabel));
    EXPECT_TRUE(Traced("GetFileVersion: [/drivers/lk2093.sys]\n"));

    // The driver file and the utility carry the build's stamp.
    h.card.SetDriverPath(kStampedRelative);
    ShowAbout();
    EXPECT_EQ((QStringList{"3.0.6.262", "3.0.6.262", "1.8.0.31"}),
              (QStringList{h.Text(AboutControls::kDriverVersionLabel),
                           h.Text(AboutControls::kUtilityVersionLabel),
                           h.Text(AboutControls::kFirmwareVersionLabel)}));
    EXPECT_TRUE(Traced("GetFileVersion: [" SKERRIN_BIN_DIR "/skerrin]\n"));

    // A file without a stamp, or a folder, keeps the last reading.
    for (const char* path : {"tmp", "proc/self/status", "no/such/file"}) {
        h.card.SetDriverPath(path);
        ShowAbout();
        EXPECT_EQ("3.0.6.262", h.Text(AboutControls::kDriverVersionLabel)) << path;
    }

    // No path from the library: empty, not the last reading.
    h.card.SetDriverPath("ignored", 0);
    ShowAbout();
    EXPECT_EQ("", h.Text(AboutControls::kDriverVersionLabel));
}

TEST_F(AboutPage, CtrlShiftAtTheTopLeftCornerShowsTheLibraryVersion) {
    ShowAbout();
    const Qt::KeyboardModifiers both = Qt::ControlModifier | Qt::ShiftModifier;
    MoveMouse({4, 3}, both);
    MoveMouse({3, 4}, both);
    MoveMouse({3, 3}, Qt::ControlModifier);
    MoveMouse({3, 3}, Qt::ShiftModifier);
    EXPECT_TRUE(h.boxes.shown.empty());

    MoveMouse({3, 3}, both);
    MoveMouse({0, 0}, both);
    // The card library file beside the executable carries the build's stamp.
    ASSERT_EQ(2u, h.boxes.shown.size());
    EXPECT_EQ("versoin of TAVL3.DLL is 3.0.6.262", h.boxes.shown[0].text);
}

} // namespace
