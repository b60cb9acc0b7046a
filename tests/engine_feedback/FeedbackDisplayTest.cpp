#include "engine/feedback/FeedbackDisplay.h"
#include "engine/feedback/DisplayModes.h"
#include "engine/feedback/SpectrumFunctions.h"
#include "engine/feedback/TXADisplay.h"

#include "platform/SharedLibrary.h"

#include "support/EventLoop.h"

#include <QApplication>
#include <QBackingStore>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QWidget>
#include <QWindow>

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <map>
#include <string>
#include <thread>
#include <vector>

using namespace engine;

namespace {

struct Environment {
    std::map<std::string, int32_t> values;

    static int lookup(void* context, const char* name, int32_t* value) {
        auto& environment = *static_cast<Environment*>(context);
        const auto found = environment.values.find(name);
        if (found == environment.values.end())
            return XA_FAILURE;
        *value = found->second;
        return XA_SUCCESS;
    }
};

// Lets queued calls and deferred deletes run.
void settle() {
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }
}

std::vector<TXADisplay*> displayWindows() {
    std::vector<TXADisplay*> windows;
    for (QWidget* widget : QApplication::allWidgets())
        if (auto* display = qobject_cast<TXADisplay*>(widget))
            windows.push_back(display);
    return windows;
}

std::vector<int8_t> stereoBlock(uint32_t samples, int8_t left, int8_t right) {
    std::vector<int8_t> block(samples, left);
    block.insert(block.end(), samples, right);
    return block;
}

class FeedbackDisplayModule : public ::testing::Test {
protected:
    void SetUp() override {
        setSpectrumLibraryName("fakespectrum.dll");
        ASSERT_TRUE(m_fake.load("fakespectrum.dll")) << m_fake.lastError();
        m_liveAnalyzers = reinterpret_cast<int (*)()>(m_fake.symbol("fake_spectrum_live_analyzers"));
        m_lastSampleCount = reinterpret_cast<uint32_t (*)()>(m_fake.symbol("fake_spectrum_last_sample_count"));
        m_failCreation = reinterpret_cast<void (*)(int)>(m_fake.symbol("fake_spectrum_fail_creation"));
        ASSERT_TRUE(m_liveAnalyzers && m_lastSampleCount && m_failCreation);
        m_failCreation(-1);
        ASSERT_EQ(feedbackDisplayModuleInit(&m_module), XA_SUCCESS);
        m_mainWindow.setGeometry(0, 0, 400, 300);
        m_mainWindow.show();
        m_environment.values = {{kEnvironmentMainWindow, static_cast<int32_t>(m_mainWindow.winId())},
                                {kEnvironmentLeft, 24},
                                {kEnvironmentTop, 131},
                                {kEnvironmentWidth, 251},
                                {kEnvironmentHeight, 100}};
    }

    void TearDown() override {
        settle();
        EXPECT_TRUE(displayWindows().empty()) << "a display window outlived its instance";
        EXPECT_EQ(m_liveAnalyzers(), 0);
        setSpectrumLibraryName(kSpectrumLibraryName);
    }

    void* start() {
        void* instance = nullptr;
        EXPECT_EQ(m_module.handler_new(&instance, kFeedbackHandlerName, &m_environment, Environment::lookup),
                  XA_SUCCESS);
        return instance;
    }

    TXADisplay* windowOf() {
        const auto windows = displayWindows();
        return windows.size() == 1 ? windows.front() : nullptr;
    }

    int send(void* instance, const std::vector<int8_t>& samples, uint32_t channels) {
        XA_AudioEvent event{channels, static_cast<uint32_t>(samples.size() / channels), samples.data()};
        return m_module.handler_audio_event(instance, &event);
    }

    platform::SharedLibrary m_fake;
    int (*m_liveAnalyzers)() = nullptr;
    uint32_t (*m_lastSampleCount)() = nullptr;
    void (*m_failCreation)(int) = nullptr;
    XA_FeedbackHandlerModule m_module{};
    QWidget m_mainWindow;
    Environment m_environment;
};

} // namespace

TEST(FeedbackDisplayModuleTable, InitialiserFillsTheTableInOrder) {
    XA_FeedbackHandlerModule module{};
    EXPECT_EQ(feedbackDisplayModuleInit(&module), XA_SUCCESS);
    EXPECT_EQ(module.api_version_id, 0x30801u);
    EXPECT_EQ(module.handler_start(nullptr), 0);
    EXPECT_EQ(module.handler_stop(nullptr), 0);
    EXPECT_EQ(feedbackDisplayModuleInit(nullptr), XA_FAILURE);
}

TEST(FeedbackDisplayModuleTable, RegistrationNameCarriesTheInitialiserAddressInLowerCaseHex) {
    const QString name = feedbackModuleRegistrationName();
    ASSERT_TRUE(name.startsWith("function@"));
    const QString digits = name.mid(9);
    EXPECT_EQ(digits, digits.toLower());
    bool ok = false;
    const qulonglong address = digits.toULongLong(&ok, 16);
    ASSERT_TRUE(ok);
    auto* init = reinterpret_cast<XA_FeedbackHandlerModuleInit>(static_cast<quintptr>(address));
    XA_FeedbackHandlerModule module{};
    EXPECT_EQ(init(&module), XA_SUCCESS);
    EXPECT_EQ(module.api_version_id, XA_FEEDBACK_HANDLER_API_VERSION);
}

TEST(FeedbackDisplayModuleTable, ProbeAcceptsOnlyItsOwnName) {
    XA_FeedbackHandlerModule module{};
    feedbackDisplayModuleInit(&module);
    EXPECT_EQ(module.handler_probe("Feedback-Display"), 0);
    EXPECT_EQ(module.handler_probe("feedback-display"), -1);
    EXPECT_EQ(module.handler_probe("Feedback-Display "), -1);
    EXPECT_EQ(module.handler_probe(nullptr), -1);
}

TEST(FeedbackDisplayModuleTable, QueryFillsTheTextsTheFlagsAskFor) {
    XA_FeedbackHandlerModule module{};
    feedbackDisplayModuleInit(&module);

    XA_ModuleInfo info{};
    std::memset(&info, 'x', sizeof info);
    info.id = 7;
    EXPECT_EQ(module.handler_query(&info, 1), 0);
    EXPECT_STREQ(info.name, "Feedback Display Module");
    EXPECT_STREQ(info.description, "Version 1");
    EXPECT_EQ(info.id, 7);

    XA_ModuleInfo second{};
    EXPECT_EQ(module.handler_query(&second, 2 | 4), 0);
    EXPECT_EQ(second.id, 1);
    EXPECT_STREQ(second.name, "Feedback-Display");
    EXPECT_STREQ(second.description, "Feedback display module");

    XA_ModuleInfo both{};
    EXPECT_EQ(module.handler_query(&both, 1 | 4), 0);
    EXPECT_STREQ(both.name, "Feedback Display Module");

    XA_ModuleInfo none{};
    EXPECT_EQ(module.handler_query(&none, 0), 0);
    EXPECT_STREQ(none.name, "");
    EXPECT_EQ(none.id, 0);
    EXPECT_NE(module.handler_query(nullptr, 1), 0);
}

TEST(FeedbackDisplayModuleTable, InstanceStartWithoutTheLibraryFailsWithoutAWindow) {
    XA_FeedbackHandlerModule module{};
    feedbackDisplayModuleInit(&module);
    for (const char* library : {"nosuchspectrumlibrary.dll", "fakespectrumpartial.dll"}) {
        setSpectrumLibraryName(library);
        void* instance = reinterpret_cast<void*>(0x1);
        EXPECT_EQ(module.handler_new(&instance, "Feedback-Display", nullptr, nullptr), -1) << library;
        EXPECT_EQ(instance, reinterpret_cast<void*>(0x1)) << library;
        settle();
        EXPECT_TRUE(displayWindows().empty()) << library;
    }
    setSpectrumLibraryName(kSpectrumLibraryName);
}

TEST(FeedbackDisplayModuleTable, OperationsWithoutAnInstanceFail) {
    XA_FeedbackHandlerModule module{};
    feedbackDisplayModuleInit(&module);
    const int8_t samples[4] = {};
    XA_AudioEvent event{1, 4, samples};
    EXPECT_EQ(module.handler_audio_event(nullptr, &event), -1);
    EXPECT_EQ(module.handler_command(nullptr, kFeedbackShowWindow, nullptr, 0), -1);
    EXPECT_NE(module.handler_delete(nullptr), 0);
    EXPECT_NE(module.handler_new(nullptr, "Feedback-Display", nullptr, nullptr), 0);
}

TEST_F(FeedbackDisplayModule, InstanceStartCreatesAVisibleChildOfTheMainWindow) {
    displayModeFlags().store(kDisplayLevelMeter);
    void* instance = start();
    ASSERT_NE(instance, nullptr);
    TXADisplay* window = windowOf();
    ASSERT_NE(window, nullptr);
    EXPECT_STREQ(window->metaObject()->className(), "TXADisplay");
    EXPECT_EQ(window->parentWidget(), &m_mainWindow);
    EXPECT_EQ(window->geometry(), QRect(24, 131, 251, 100));
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->state().scale, 3);
    EXPECT_EQ(displayModeFlags().load(), kDisplaySpectrum);
    EXPECT_EQ(m_liveAnalyzers(), 2);

    EXPECT_EQ(m_module.handler_delete(instance), 0);
    EXPECT_EQ(m_liveAnalyzers(), 0);
}

TEST_F(FeedbackDisplayModule, WithoutEnvironmentTheDisplayIsATopMostToolWindowAtTheDefaults) {
    void* instance = nullptr;
    ASSERT_EQ(m_module.handler_new(&instance, kFeedbackHandlerName, nullptr, nullptr), XA_SUCCESS);
    TXADisplay* window = windowOf();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isWindow());
    EXPECT_TRUE(window->windowFlags().testFlag(Qt::Tool));
    EXPECT_TRUE(window->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_EQ(window->pos(), QPoint(100, 100));
    EXPECT_EQ(window->width(), 251);
    EXPECT_EQ(window->state().scale, 255);
    m_module.handler_delete(instance);
}

TEST_F(FeedbackDisplayModule, UnknownMainWindowGivesATopLevelDisplay) {
    m_environment.values[kEnvironmentMainWindow] = 0x7ffffff0;
    void* instance = start();
    TXADisplay* window = windowOf();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->parentWidget(), nullptr);
    m_module.handler_delete(instance);
}

TEST_F(FeedbackDisplayModule, FailedAnalyserCreationUndoesEverythingAndReturnsItsStatus) {
    for (int failing : {0, 1}) {
        m_failCreation(failing);
        void* instance = nullptr;
        EXPECT_EQ(m_module.handler_new(&instance, kFeedbackHandlerName, &m_environment, Environment::lookup),
                  XA_ERROR_OUT_OF_MEMORY)
            << failing;
        EXPECT_EQ(instance, nullptr);
        EXPECT_EQ(m_liveAnalyzers(), 0) << failing;
        settle();
        EXPECT_TRUE(displayWindows().empty()) << failing;
    }
}

TEST_F(FeedbackDisplayModule, StereoEventFillsEachChannelFromItsOwnBlock) {
    void* instance = start();
    const auto block = stereoBlock(300, 40, -100);
    EXPECT_EQ(send(instance, block, 2), 0);
    EXPECT_EQ(m_lastSampleCount(), 128u) << "the analyser takes at most 128 samples";

    const DisplayState& state = windowOf()->state();
    EXPECT_EQ(state.left.data.waveformLength, 251);
    EXPECT_EQ(state.right.data.waveformLength, 251);
    EXPECT_EQ(state.left.data.waveform[250], 40);
    EXPECT_EQ(state.right.data.waveform[0], -100);
    EXPECT_EQ(state.left.data.spectrum[63], 80);
    EXPECT_EQ(state.right.data.spectrum[0], 200);

    send(instance, stereoBlock(20, 5, 5), 2);
    EXPECT_EQ(m_lastSampleCount(), 20u);
    m_module.handler_delete(instance);
}

TEST_F(FeedbackDisplayModule, MonoEventShowsTheSameDataOnBothChannels) {
    void* instance = start();
    std::vector<int8_t> samples(200);
    for (std::size_t i = 0; i < samples.size(); ++i)
        samples[i] = static_cast<int8_t>(static_cast<int>(i % 100) - 50);
    EXPECT_EQ(send(instance, samples, 1), 0);

    const DisplayState& state = windowOf()->state();
    EXPECT_EQ(state.right.data.waveformLength, state.left.data.waveformLength);
    EXPECT_TRUE(std::equal(state.left.data.waveform.begin(), state.left.data.waveform.begin() + 251,
                           state.right.data.waveform.begin()));
    EXPECT_EQ(state.right.data.spectrum, state.left.data.spectrum);
    EXPECT_EQ(state.left.data.spectrum[0], 100);
    m_module.handler_delete(instance);
}

TEST_F(FeedbackDisplayModule, BadEventsAreRefusedAndChangeNothing) {
    void* instance = start();
    send(instance, stereoBlock(100, 30, 30), 2);
    XA_AudioEvent empty{2, 0, nullptr};
    EXPECT_NE(m_module.handler_audio_event(instance, &empty), 0);
    EXPECT_NE(m_module.handler_audio_event(instance, nullptr), 0);
    const int8_t one = 9;
    XA_AudioEvent silentChannels{0, 1, &one};
    EXPECT_NE(m_module.handler_audio_event(instance, &silentChannels), 0);
    EXPECT_EQ(windowOf()->state().left.data.waveform[0], 30);
    m_module.handler_delete(instance);
}

TEST_F(FeedbackDisplayModule, WindowPaintsTheBarsOfAnAudioEventOverTheBackgroundBitmap) {
    void* instance = start();
    send(instance, stereoBlock(128, 127, -127), 2);
    const QImage image = windowOf()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    int leftBars = 0;
    int rightBars = 0;
    int firstRight = -1;
    for (int x = 0; x < image.width(); ++x) {
        if (image.pixel(x, 90) == qRgb(125, 0, 0))
            ++leftBars;
        if (image.pixel(x, 90) == qRgb(0, 125, 0)) {
            ++rightBars;
            if (firstRight < 0)
                firstRight = x;
        }
    }
    EXPECT_EQ(leftBars, 59);
    EXPECT_EQ(rightBars, 59);
    EXPECT_EQ(firstRight, 129);
    EXPECT_EQ(image.pixel(0, 0), qRgb(10, 26, 42)) << "the top of the DISPLAYIMAGE gradient";
    m_module.handler_delete(instance);
}

TEST_F(FeedbackDisplayModule, RepaintInTheMainWindowShowsWhatAGrabShowsAndLeavesTheRestAlone) {
    void* instance = start();
    send(instance, stereoBlock(128, 127, -127), 2);
    // A repaint of the main window paints the display into the window's own
    // pixels; a grab paints it into a pixmap with a painter.
    ASSERT_TRUE(test_support::processEventsUntil([this] { return m_mainWindow.windowHandle()->isExposed(); }));
    m_mainWindow.repaint();
    const QImage window =
        static_cast<QImage*>(m_mainWindow.backingStore()->paintDevice())->convertToFormat(QImage::Format_RGB32);
    const QImage grabbed = windowOf()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(grabbed.size(), QSize(251, 100));
    EXPECT_EQ(window.copy(24, 131, 251, 100), grabbed);
    const QRgb around = m_mainWindow.palette().color(QPalette::Window).rgb();
    for (const QPoint& outside : {QPoint(23, 131), QPoint(24, 130), QPoint(275, 230), QPoint(24, 231)})
        EXPECT_EQ(window.pixel(outside), around) << outside.x() << "," << outside.y();
    m_module.handler_delete(instance);
}

TEST_F(FeedbackDisplayModule, CommandsShowHideSetModesAndRunTheClearingTimer) {
    void* instance = start();
    TXADisplay* window = windowOf();
    ASSERT_NE(window, nullptr);

    EXPECT_EQ(m_module.handler_command(instance, kFeedbackHideWindow, nullptr, 0), 0);
    settle();
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(m_module.handler_command(instance, kFeedbackShowWindow, nullptr, 0), 0);
    settle();
    EXPECT_TRUE(window->isVisible());

    const uint8_t modes[2] = {kDisplayOscilloscope | kDisplayLevelMeter, 0xff};
    EXPECT_EQ(m_module.handler_command(instance, kFeedbackSetModes, modes, 2), 0);
    EXPECT_EQ(displayModeFlags().load(), kDisplayOscilloscope | kDisplayLevelMeter);
    EXPECT_NE(m_module.handler_command(instance, kFeedbackSetModes, nullptr, 0), 0);
    EXPECT_EQ(displayModeFlags().load(), kDisplayOscilloscope | kDisplayLevelMeter);

    send(instance, stereoBlock(128, 100, 100), 2);
    EXPECT_EQ(m_module.handler_command(instance, kFeedbackStartClearing, nullptr, 0), 0);
    settle();
    EXPECT_TRUE(window->clearingTimerActive());
    QElapsedTimer clock;
    clock.start();
    while (window->state().left.data.spectrum[0] != 0 && clock.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    EXPECT_EQ(window->state().left.data.spectrum[0], 0);
    EXPECT_EQ(window->state().right.data.waveform[0], 0);
    EXPECT_EQ(m_module.handler_command(instance, kFeedbackStopClearing, nullptr, 0), 0);
    settle();
    EXPECT_FALSE(window->clearingTimerActive());

    m_module.handler_delete(instance);
}

TEST_F(FeedbackDisplayModule, UnknownCommandReturnsMinusOneAndChangesNothing) {
    void* instance = start();
    TXADisplay* window = windowOf();
    const uint8_t data = kDisplayLevelMeter;
    for (uint32_t code : {0u, 2048u, 2053u, 3071u, 3074u, 0xffffffffu}) {
        EXPECT_EQ(m_module.handler_command(instance, code, &data, 1), -1) << code;
        settle();
        EXPECT_EQ(displayModeFlags().load(), kDisplaySpectrum) << code;
        EXPECT_TRUE(window->isVisible()) << code;
        EXPECT_FALSE(window->clearingTimerActive()) << code;
    }
    m_module.handler_delete(instance);
}

TEST_F(FeedbackDisplayModule, InformationCommandOpensAnInformationBox) {
    void* instance = start();
    EXPECT_EQ(m_module.handler_command(instance, kFeedbackShowInformation, nullptr, 0), 0);
    settle();
    QMessageBox* box = windowOf()->findChild<QMessageBox*>();
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(box->text().contains("Feedback Display Module"));
    box->close();
    m_module.handler_delete(instance);
}

TEST_F(FeedbackDisplayModule, EngineThreadCallsReachTheWindowOnTheGuiThread) {
    std::atomic<bool> finished{false};
    std::atomic<int> newStatus{1};
    std::atomic<int> eventStatus{1};
    void* instance = nullptr;
    std::thread engine([&] {
        newStatus = m_module.handler_new(&instance, kFeedbackHandlerName, &m_environment, Environment::lookup);
        if (newStatus == XA_SUCCESS)
            eventStatus = send(instance, stereoBlock(64, 20, -20), 2);
        finished = true;
    });
    QElapsedTimer clock;
    clock.start();
    while (!finished && clock.elapsed() < 20000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    engine.join();
    ASSERT_EQ(newStatus, XA_SUCCESS);
    EXPECT_EQ(eventStatus, XA_SUCCESS);
    TXADisplay* window = windowOf();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->thread(), QCoreApplication::instance()->thread());
    // The audio event was posted, not waited for: the window has it once the
    // GUI thread has taken its queue, which may be after the engine finished.
    while (window->state().right.data.waveform[5] != -20 && clock.elapsed() < 20000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    EXPECT_EQ(window->state().right.data.waveform[5], -20);

    std::thread ending([&] { m_module.handler_delete(instance); });
    ending.join();
}

TEST_F(FeedbackDisplayModule, AudioEventsNeverWaitForABusyGuiThreadWhichSkipsFramesItFallsBehindOn) {
    void* instance = start();
    std::vector<int8_t> delivered;
    TXADisplay::setFrameObserver(
        [&](QWidget*, const engine::DisplayFrame& frame) { delivered.push_back(frame.left.waveform[0]); });
    std::atomic<int> status{1};
    // The GUI thread is busy joining the engine thread, as when a player is
    // deleted; were the engine's thread waiting for it, neither would go on.
    std::thread engine([&] {
        for (int8_t level = 11; level <= 55; level += 11)
            status = std::min(status.load(), send(instance, stereoBlock(64, level, level), 2));
    });
    engine.join();
    EXPECT_EQ(status, XA_SUCCESS);
    settle();
    TXADisplay::setFrameObserver({});
    // A window that falls behind gets the first frames in flight and loses
    // the rest instead of piling them up.
    EXPECT_EQ(delivered, (std::vector<int8_t>{11, 22}));
    EXPECT_EQ(windowOf()->state().left.data.waveform[0], 22);
    m_module.handler_delete(instance);
}

TEST(TXADisplayFrameObserver, EveryAcceptedFrameIsToldWithTheWindowItBelongsTo) {
    QWidget owner;
    TXADisplay display(251, 40, &owner);
    QWidget* seenOwner = nullptr;
    int seenLength = -1;
    TXADisplay::setFrameObserver([&](QWidget* frameOwner, const engine::DisplayFrame& frame) {
        seenOwner = frameOwner;
        seenLength = frame.left.waveformLength;
    });
    engine::DisplayFrame frame;
    frame.left.waveformLength = 7;
    platform::SendMessage(&display, messages::kDisplayData, 0, reinterpret_cast<intptr_t>(&frame));
    TXADisplay::setFrameObserver({});
    EXPECT_EQ(seenOwner, &owner);
    EXPECT_EQ(seenLength, 7);
}
