#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "hid_session.h"

using namespace hidio;

namespace {

// What the fake channels did, kept by the test after the session dropped them.
struct ChannelLog {
    std::wstring path;
    std::vector<std::vector<uint8_t>> sent;
    std::vector<unsigned> timeouts;
    size_t readLength = 0;
    int shutdowns = 0;
    bool destroyed = false;
    IReportChannel::ReportHandler handler;
};

// A feature channel whose send can be held open until the test releases it.
struct SendGate {
    std::mutex mutex;
    std::condition_variable changed;
    bool entered = false;
    bool released = false;
};

class FakeFeatureChannel final : public IFeatureChannel {
public:
    FakeFeatureChannel(std::shared_ptr<ChannelLog> log, bool accept, std::shared_ptr<SendGate> gate)
        : log_(std::move(log)), accept_(accept), gate_(std::move(gate)) {}
    ~FakeFeatureChannel() override { log_->destroyed = true; }
    bool SendFeatureReport(std::span<const uint8_t> report) override {
        if (gate_) {
            std::unique_lock lock(gate_->mutex);
            gate_->entered = true;
            gate_->changed.notify_all();
            gate_->changed.wait(lock, [&] { return gate_->released; });
        }
        EXPECT_FALSE(log_->destroyed) << "send on a destroyed channel";
        log_->sent.emplace_back(report.begin(), report.end());
        return accept_;
    }

private:
    std::shared_ptr<ChannelLog> log_;
    bool accept_;
    std::shared_ptr<SendGate> gate_;
};

class FakeReportChannel final : public IReportChannel {
public:
    FakeReportChannel(std::shared_ptr<ChannelLog> log, bool accept, bool canRead)
        : log_(std::move(log)), accept_(accept), canRead_(canRead) {}
    ~FakeReportChannel() override { log_->destroyed = true; }
    bool WriteReport(std::span<const uint8_t> report, unsigned timeoutMs) override {
        if (log_->shutdowns > 0) return false;
        log_->sent.emplace_back(report.begin(), report.end());
        log_->timeouts.push_back(timeoutMs);
        return accept_;
    }
    bool StartReading(size_t reportLength, ReportHandler onReport) override {
        if (!canRead_) return false;
        log_->readLength = reportLength;
        log_->handler = std::move(onReport);
        return true;
    }
    void Shutdown() override {
        ++log_->shutdowns;
        log_->handler = nullptr;
    }

private:
    std::shared_ptr<ChannelLog> log_;
    bool accept_;
    bool canRead_;
};

class FakeBackend final : public IHidBackend {
public:
    std::vector<HidInterface> interfaces;
    std::vector<std::wstring> unopenable;
    bool devicesAccept = true;
    bool readersStart = true;
    std::shared_ptr<SendGate> featureGate;
    std::vector<std::shared_ptr<ChannelLog>> opened;

    std::vector<HidInterface> EnumerateInterfaces() override { return interfaces; }
    std::unique_ptr<IFeatureChannel> OpenFeatureChannel(const HidInterface& iface) override {
        if (Unopenable(iface.path)) return nullptr;
        return std::make_unique<FakeFeatureChannel>(NewLog(iface.path), devicesAccept, featureGate);
    }
    std::unique_ptr<IReportChannel> OpenReportChannel(const HidInterface& iface) override {
        if (Unopenable(iface.path)) return nullptr;
        return std::make_unique<FakeReportChannel>(NewLog(iface.path), devicesAccept, readersStart);
    }
    std::shared_ptr<ChannelLog> Last() const { return opened.empty() ? nullptr : opened.back(); }

private:
    bool Unopenable(const std::wstring& path) const {
        for (const auto& p : unopenable) {
            if (p == path) return true;
        }
        return false;
    }
    std::shared_ptr<ChannelLog> NewLog(const std::wstring& path) {
        auto log = std::make_shared<ChannelLog>();
        log->path = path;
        opened.push_back(log);
        return log;
    }
};

class RecordingSink final : public IDeviceEventSink {
public:
    std::vector<HidDeviceEvent> events;
    void OnDeviceEvent(HidDeviceEvent event) override { events.push_back(event); }
};

HidInterface Iface(const wchar_t* path, uint16_t vid, uint16_t pid, uint16_t page, uint16_t usage, uint16_t in,
                   uint16_t out, uint16_t feature) {
    return {path, {vid, pid, page, usage, in, out, feature}};
}

// The interfaces a real 7741 shows, plus another vendor's device that uses the
// same vendor page and lengths.
std::vector<HidInterface> MouseAndNeighbours() {
    return {
        Iface(L"other-feature", 0x1234, 0x0001, 0xFF00, 0x01, 0, 0, 9),
        Iface(L"mouse-pointer", 0x5A21, 0x7C03, 0x0001, 0x02, 8, 0, 0),
        Iface(L"mouse-keyboard", 0x5A21, 0x7C03, 0x0001, 0x06, 9, 2, 0),
        Iface(L"mouse-report", 0x5A21, 0x7C03, 0xFF00, 0x02, 5, 65, 0),
        Iface(L"mouse-feature", 0x5A21, 0x7C03, 0xFF00, 0x01, 0, 0, 9),
    };
}

std::vector<uint8_t> Command(uint8_t code, uint8_t a, uint8_t b) {
    const uint8_t sum = static_cast<uint8_t>(code + a + b);
    return {code, a, b, 0, 0, 0, 0, static_cast<uint8_t>(0xFF - sum)};
}

class HidSessionTest : public ::testing::Test {
protected:
    FakeBackend backend;
    RecordingSink sink;
    std::vector<std::string> logLines;

    std::unique_ptr<HidSession> MakeSession() {
        auto session = std::make_unique<HidSession>(backend, sink);
        session->SetDebugLog([this](std::string_view line) { logLines.emplace_back(line); });
        return session;
    }
};

}  // namespace

TEST_F(HidSessionTest, OpensTheFeatureAndReportCollectionsOfTheMouseOnly) {
    backend.interfaces = MouseAndNeighbours();
    auto session = MakeSession();
    ASSERT_TRUE(session->OpenFeature());
    EXPECT_EQ(backend.Last()->path, L"mouse-feature");
    ASSERT_TRUE(session->OpenReport());
    EXPECT_EQ(backend.Last()->path, L"mouse-report");
    EXPECT_EQ(backend.Last()->readLength, 5u);
    EXPECT_EQ(backend.opened.size(), 2u);
}

TEST_F(HidSessionTest, WithoutTheMouseNothingOpensAndNothingIsSent) {
    backend.interfaces = {MouseAndNeighbours()[0]};
    auto session = MakeSession();
    EXPECT_FALSE(session->OpenFeature());
    EXPECT_FALSE(session->OpenReport());
    const auto command = Command(0x01, 0x08, 0x00);
    const std::vector<uint8_t> half(64, 0xAB);
    EXPECT_FALSE(session->SetFeature(command.data(), 8));
    EXPECT_FALSE(session->WriteUsb(const_cast<uint8_t*>(half.data()), 64));
    EXPECT_TRUE(backend.opened.empty());
    EXPECT_TRUE(session->IsIdle());
    EXPECT_FALSE(logLines.empty()) << "a failure leaves a debug line";
}

TEST_F(HidSessionTest, VendorAndProductIdsChooseTheDevice) {
    backend.interfaces = MouseAndNeighbours();
    auto session = MakeSession();
    EXPECT_EQ(session->VendorId(), 0x5A21);
    EXPECT_EQ(session->ProductId(), 0x7C03);
    ASSERT_TRUE(session->SetVidPid(0x1234, 0x0001));
    ASSERT_TRUE(session->OpenFeature());
    EXPECT_EQ(backend.Last()->path, L"other-feature");
    EXPECT_FALSE(session->OpenReport()) << "that device has no report collection";

    // Ids that do not fit in 16 bits are refused and the old ones stay.
    EXPECT_FALSE(session->SetVidPid(0x15A21, 0x7C03));
    EXPECT_FALSE(session->SetVidPid(0x5A21, -1));
    EXPECT_EQ(session->VendorId(), 0x1234);
    EXPECT_EQ(session->ProductId(), 0x0001);
}

TEST_F(HidSessionTest, SetFeatureSendsExactlyTheCommandBehindItsReportId) {
    backend.interfaces = MouseAndNeighbours();
    auto session = MakeSession();
    ASSERT_TRUE(session->OpenFeature());
    auto command = Command(0x04, 0x01, 0x03);
    ASSERT_TRUE(session->SetFeature(command.data(), 8));
    ASSERT_EQ(backend.Last()->sent.size(), 1u);
    EXPECT_EQ(backend.Last()->sent[0],
              (std::vector<uint8_t>{0x05, 0x04, 0x01, 0x03, 0x00, 0x00, 0x00, 0x00, 0xF7}));
}

TEST_F(HidSessionTest, WrongLengthsAndNullBuffersAreRefusedBeforeReachingTheDevice) {
    backend.interfaces = MouseAndNeighbours();
    auto session = MakeSession();
    ASSERT_TRUE(session->OpenFeature());
    ASSERT_TRUE(session->OpenReport());
    std::vector<uint8_t> buffer(128, 0x11);
    for (int length : {0, 7, 9, 64, -8}) EXPECT_FALSE(session->SetFeature(buffer.data(), length)) << length;
    for (int length : {0, 8, 63, 65, 128, -64}) EXPECT_FALSE(session->WriteUsb(buffer.data(), length)) << length;
    EXPECT_FALSE(session->SetFeature(nullptr, 8));
    EXPECT_FALSE(session->WriteUsb(nullptr, 64));
    for (const auto& log : backend.opened) EXPECT_TRUE(log->sent.empty()) << "sent on " << log->path.size();
}

TEST_F(HidSessionTest, WriteUsbSendsTheHalfBehindItsReportIdWithATimeLimit) {
    backend.interfaces = MouseAndNeighbours();
    auto session = MakeSession();
    ASSERT_TRUE(session->OpenReport());
    std::vector<uint8_t> half(64);
    for (size_t i = 0; i < half.size(); ++i) half[i] = static_cast<uint8_t>(i * 3);
    ASSERT_TRUE(session->WriteUsb(half.data(), 64));
    const auto& log = *backend.Last();
    ASSERT_EQ(log.sent.size(), 1u);
    ASSERT_EQ(log.sent[0].size(), 65u);
    EXPECT_EQ(log.sent[0][0], 0x06);
    EXPECT_TRUE(std::equal(half.begin(), half.end(), log.sent[0].begin() + 1));
    EXPECT_EQ(log.timeouts[0], HidSession::kWriteTimeoutMs);
}

TEST_F(HidSessionTest, ADeviceThatRefusesIsReportedAsAFailure) {
    backend.interfaces = MouseAndNeighbours();
    backend.devicesAccept = false;
    auto session = MakeSession();
    ASSERT_TRUE(session->OpenFeature());
    ASSERT_TRUE(session->OpenReport());
    auto command = Command(0x02, 0x01, 0x00);
    std::vector<uint8_t> half(64);
    EXPECT_FALSE(session->SetFeature(command.data(), 8));
    EXPECT_FALSE(session->WriteUsb(half.data(), 64));
}

TEST_F(HidSessionTest, InputReportsBecomeDeviceEvents) {
    backend.interfaces = MouseAndNeighbours();
    auto session = MakeSession();
    ASSERT_TRUE(session->OpenReport());
    auto& handler = backend.Last()->handler;
    ASSERT_TRUE(handler);
    const std::vector<uint8_t> dpi = {0x07, 0x01, 0x07, 0x03, 0x00};
    const std::vector<uint8_t> launch = {0x07, 0x0A, 0x00, 0x10, 0x00};
    const std::vector<uint8_t> foreign = {0x03, 0x0A, 0x00, 0x10, 0x00};
    const std::vector<uint8_t> cut = {0x07, 0x0A};
    handler(dpi);
    handler(foreign);
    handler(cut);
    handler(launch);
    EXPECT_EQ(sink.events, (std::vector<HidDeviceEvent>{{0x0701, 3}, {0x000A, 16}}));
}

TEST_F(HidSessionTest, ClosingReleasesOnceAndLaterSendsFail) {
    backend.interfaces = MouseAndNeighbours();
    auto session = MakeSession();
    // Closing what was never opened is harmless.
    EXPECT_FALSE(session->CloseFeature());
    EXPECT_FALSE(session->CloseReport());

    ASSERT_TRUE(session->OpenFeature());
    ASSERT_TRUE(session->OpenReport());
    auto feature = backend.opened[0];
    auto report = backend.opened[1];
    EXPECT_TRUE(session->CloseFeature());
    EXPECT_TRUE(session->CloseReport());
    EXPECT_TRUE(feature->destroyed);
    EXPECT_TRUE(report->destroyed);
    EXPECT_EQ(report->shutdowns, 1) << "the reader is stopped";
    EXPECT_FALSE(session->CloseFeature());
    EXPECT_FALSE(session->CloseReport());
    EXPECT_EQ(report->shutdowns, 1);
    EXPECT_TRUE(session->IsIdle());

    auto command = Command(0x01, 0x08, 0x00);
    std::vector<uint8_t> half(64);
    EXPECT_FALSE(session->SetFeature(command.data(), 8));
    EXPECT_FALSE(session->WriteUsb(half.data(), 64));
    EXPECT_TRUE(feature->sent.empty());
    EXPECT_TRUE(report->sent.empty());
}

TEST_F(HidSessionTest, ReopeningReplacesTheOldChannels) {
    backend.interfaces = MouseAndNeighbours();
    auto session = MakeSession();
    ASSERT_TRUE(session->OpenReport());
    auto first = backend.Last();
    ASSERT_TRUE(session->OpenReport());
    auto second = backend.Last();
    EXPECT_NE(first, second);
    EXPECT_EQ(first->shutdowns, 1);
    EXPECT_TRUE(first->destroyed);
    std::vector<uint8_t> half(64);
    ASSERT_TRUE(session->WriteUsb(half.data(), 64));
    EXPECT_TRUE(first->sent.empty());
    EXPECT_EQ(second->sent.size(), 1u);
}

TEST_F(HidSessionTest, TriesTheNextMatchingCollectionWhenOneCannotBeUsed) {
    backend.interfaces = MouseAndNeighbours();
    backend.interfaces.push_back(Iface(L"second-feature", 0x5A21, 0x7C03, 0xFF00, 0x01, 0, 0, 9));
    backend.unopenable = {L"mouse-feature"};
    auto session = MakeSession();
    ASSERT_TRUE(session->OpenFeature());
    EXPECT_EQ(backend.Last()->path, L"second-feature");
}

TEST_F(HidSessionTest, AReportChannelWhoseReaderCannotStartIsNotKept) {
    backend.interfaces = MouseAndNeighbours();
    backend.readersStart = false;
    auto session = MakeSession();
    EXPECT_FALSE(session->OpenReport());
    ASSERT_EQ(backend.opened.size(), 1u);
    EXPECT_TRUE(backend.opened[0]->destroyed);
    EXPECT_EQ(backend.opened[0]->shutdowns, 1);
    EXPECT_TRUE(session->IsIdle());
}

TEST_F(HidSessionTest, DestroyingTheSessionClosesWhatIsOpen) {
    backend.interfaces = MouseAndNeighbours();
    auto session = MakeSession();
    ASSERT_TRUE(session->OpenFeature());
    ASSERT_TRUE(session->OpenReport());
    session.reset();
    for (const auto& log : backend.opened) EXPECT_TRUE(log->destroyed);
    EXPECT_EQ(backend.opened[1]->shutdowns, 1);
}

// The Monitor closes the channels on its main thread while its worker may be in
// the middle of a send: the channel must outlive that send.
TEST_F(HidSessionTest, ACloseDuringASendKeepsTheChannelAliveUntilTheSendReturns) {
    backend.interfaces = MouseAndNeighbours();
    backend.featureGate = std::make_shared<SendGate>();
    auto gate = backend.featureGate;
    auto session = MakeSession();
    ASSERT_TRUE(session->OpenFeature());
    auto log = backend.Last();

    std::atomic<int> result{-1};
    std::thread worker([&] {
        auto command = Command(0x01, 0x08, 0x00);
        result = session->SetFeature(command.data(), 8) ? 1 : 0;
    });
    {
        std::unique_lock lock(gate->mutex);
        gate->changed.wait(lock, [&] { return gate->entered; });
    }
    EXPECT_TRUE(session->CloseFeature());
    EXPECT_FALSE(log->destroyed) << "closed under a send in flight";
    {
        std::lock_guard lock(gate->mutex);
        gate->released = true;
    }
    gate->changed.notify_all();
    worker.join();
    EXPECT_EQ(result, 1);
    EXPECT_TRUE(log->destroyed) << "released once the send returned";
    auto command = Command(0x01, 0x08, 0x00);
    EXPECT_FALSE(session->SetFeature(command.data(), 8));
}
