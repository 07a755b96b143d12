// Real ICMP echo and the real routing table, inside the private network namespace only.
#include "mainwindow/TPForm.h"
#include "platform/IcmpEcho.h"
#include "platform/NetworkState.h"
#include "platform/PollEventLoop.h"

#include "mainwindow/web_fakes.h"

#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>

namespace {

const char* const kIgnoreEcho = "/proc/sys/net/ipv4/icmp_echo_ignore_all";

bool InPrivateNamespace() {
    const char* inside = std::getenv("LINKVANE_NETNS");
    return inside != nullptr && std::string(inside) == "1";
}

// Loopback that drops every echo request while the object lives: the silent address of these
// tests, which lives on this machine.
class EchoDropped {
public:
    EchoDropped() { ok_ = Write("1"); }
    ~EchoDropped() { Write("0"); }
    bool Ok() const { return ok_; }

private:
    static bool Write(const char* value) {
        std::ofstream out(kIgnoreEcho);
        out << value;
        out.flush();
        return out.good();
    }
    bool ok_ = false;
};

// Pings through the system, with the second address silenced.
class SilencingEcho : public lv::IcmpEcho {
public:
    std::string silent;
    lv::EchoResult Echo(const std::string& address, int size, int ttl,
                        std::chrono::milliseconds timeout) override {
        if (address == silent) {
            EchoDropped dropped;
            return real_.Echo(address, size, ttl, timeout);
        }
        return real_.Echo(address, size, ttl, timeout);
    }

private:
    lv::LinuxIcmpEcho real_;
};

class NetState : public ::testing::Test {
protected:
    void SetUp() override {
        if (!InPrivateNamespace()) {
            GTEST_SKIP() << "only inside the private network namespace";
        }
    }
};

TEST_F(NetState, EchoOfLoopbackAnswersAndADroppingLoopbackStaysSilent) {
    lv::LinuxIcmpEcho echo;
    const lv::EchoResult answered = echo.Echo("127.0.0.1", 56, 64, std::chrono::milliseconds(2000));
    ASSERT_EQ(answered.replies, 1) << answered.error;
    EXPECT_GE(answered.roundTripMs, 0);
    EchoDropped dropped;
    if (!dropped.Ok()) {
        GTEST_SKIP() << "cannot drop echo requests here";
    }
    const auto start = std::chrono::steady_clock::now();
    const lv::EchoResult silent = echo.Echo("127.0.0.1", 56, 64, std::chrono::milliseconds(300));
    EXPECT_EQ(silent.replies, 0);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(290));
    EXPECT_EQ(echo.Echo("not an address", 56, 64, std::chrono::milliseconds(300)).replies, 0);
}

TEST_F(NetState, AccessSpeedBarsForAnAnsweringAndASilentHost) {
    {
        EchoDropped probe;
        if (!probe.Ok()) {
            GTEST_SKIP() << "cannot drop echo requests here";
        }
    }
    SilencingEcho echo;
    echo.silent = "127.0.0.2";
    lv::TPForm form;
    form.icmp = &echo;
    form.HostEditItems = {"127.0.0.1", "127.0.0.2"};
    form.ListBox3 = {"B01", "B02"};
    form.FormActivate(0, 0);
    ASSERT_EQ(form.Gauges().size(), 2u);
    const lv::TEnhancedGauge& fast = form.Gauges()[0];
    const lv::TEnhancedGauge& silent = form.Gauges()[1];
    EXPECT_EQ(fast.ForeColor, lv::kColorGreen);
    EXPECT_EQ(fast.Text(), "100% : 127.0.0.1 : 127.0.0.1");
    EXPECT_EQ(silent.ForeColor, lv::kColorMaroon);
    EXPECT_EQ(silent.Text(), "0% : 127.0.0.2 : 127.0.0.2 unverified speed.");
    EXPECT_EQ(form.Launch("SB1"), "B02");
}

TEST_F(NetState, TheLampFollowsTheDefaultRoute) {
    lv::LinuxNetworkState network;
    ASSERT_EQ(network.Online(), false) << "the namespace has only loopback";
    lv::PollEventLoop loop;
    lvtest::WebHarness h;
    auto& form = h.Start("Count=1\r\nTab1=Page1\r\n", "", &loop);
    // The harness's fixed state stands in until the real one is handed over here.
    lv::MainWindowPorts ports{h.dialogs, h.screen, h.clock, {}};
    ports.loop = &loop;
    ports.network = &network;
    lv::TForm1 real(ports, h.dir.Path().string() + "/");
    real.FormCreate({});
    EXPECT_EQ(real.State().DialUp.image, lv::ConnectionLamp::Image::LedOff);
    auto waitFor = [&](lv::ConnectionLamp::Image image) {
        for (int i = 0; i < 40 && real.State().DialUp.image != image; ++i) {
            loop.ProcessPending(std::chrono::milliseconds(100));
        }
        return real.State().DialUp.image == image;
    };
    ASSERT_EQ(std::system("ip route add default dev lo"), 0);
    EXPECT_TRUE(waitFor(lv::ConnectionLamp::Image::LedOn));
    EXPECT_EQ(real.State().DialUp.hint, "Dialup = OnLine");
    ASSERT_EQ(std::system("ip route del default dev lo"), 0);
    EXPECT_TRUE(waitFor(lv::ConnectionLamp::Image::LedOff));
    EXPECT_EQ(real.State().DialUp.hint, "Dialup = OffLine");
    (void)form;
}

} // namespace
