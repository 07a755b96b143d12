#include "mainwindow/TPForm.h"

#include "platform/IcmpEcho.h"

#include <arpa/inet.h>
#include <chrono>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>

namespace lv {

int TEnhancedGauge::Percent() const {
    if (MaxValue == MinValue) {
        return 0;
    }
    return static_cast<int>(static_cast<long long>(Progress - MinValue) * 100 /
                            (MaxValue - MinValue));
}

std::string TEnhancedGauge::Text() const {
    std::string text = std::to_string(Percent()) + "%";
    if (!ProgressText.empty()) {
        text += " : " + ProgressText;
    }
    return text;
}

std::string PingHost(std::string_view target) {
    std::string_view host = target;
    if (const auto scheme = host.find("://"); scheme != std::string_view::npos) {
        host.remove_prefix(scheme + 3);
    }
    if (const auto www = host.find("www."); www != std::string_view::npos) {
        host.remove_prefix(www + 4);
    }
    return std::string(host.substr(0, host.find('/')));
}

bool ResolveIpv4(const std::string& host, std::string& dotted) {
    dotted.clear();
    in_addr direct{};
    if (::inet_pton(AF_INET, host.c_str(), &direct) == 1) {
        dotted = host;
        return true;
    }
    if (host.empty()) {
        return false;
    }
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_DGRAM;
    addrinfo* found = nullptr;
    if (::getaddrinfo(host.c_str(), nullptr, &hints, &found) != 0 || found == nullptr) {
        return false;
    }
    char text[INET_ADDRSTRLEN] = {};
    const auto* address = reinterpret_cast<const sockaddr_in*>(found->ai_addr);
    const bool ok = ::inet_ntop(AF_INET, &address->sin_addr, text, sizeof text) != nullptr;
    ::freeaddrinfo(found);
    if (ok) {
        dotted = text;
    }
    return ok;
}

void TPForm::FormActivate(int color, int fontColor) {
    color_ = color;
    fontColor_ = fontColor;
    closed_ = false;
    chosen_.clear();
    hosts_ = static_cast<int>(ListBox3.size());
    busy_ = true;
    largest_ = 0;
    smallest_ = 1000000;
    index_ = 0;
    listBox1_.clear();
    listBox2_.clear();
    gauges_.clear();
    if (hosts_ == 0 || HostEditItems.empty()) {
        busy_ = false;
        return;
    }
    PingButtonClick();
}

void TPForm::PingButtonClick() {
    // One host after the other; the chain of the lookups and echoes, as a loop.
    for (;;) {
        const std::size_t at = static_cast<std::size_t>(index_);
        const std::string host = at < HostEditItems.size() ? HostEditItems[at] : std::string();
        hostEdit_ = host;
        label_ = "Checking speed of the " + host + " site";
        if (onProgress) {
            onProgress();
        }
        std::string dotted;
        const bool resolved = resolve && resolve(host, dotted);
        Ping1DnsLookupDone(!resolved, dotted);
        if (index_ >= hosts_ - 1) {
            height_ = hosts_ * 20 + 50;
            CreateGauges();
            return;
        }
        ++index_;
    }
}

void TPForm::Ping1DnsLookupDone(bool failed, const std::string& dnsResult) {
    listBox1_.push_back(failed ? hostEdit_ + " : No Ping reply and"
                               : hostEdit_ + " : " + dnsResult);
    EchoResult echo;
    if (!failed && icmp != nullptr) {
        echo = icmp->Echo(dnsResult, kSize, kTTL, std::chrono::milliseconds(kTimeout));
    }
    Ping1EchoReply(echo.replies, echo.roundTripMs);
}

void TPForm::Ping1EchoReply(int replies, int roundTripMs) {
    int time = 0;
    if (replies > 0) {
        // A reply under a millisecond is still a reply: it counts as 1 ms, not as none.
        time = roundTripMs < 1 ? 1 : roundTripMs;
    }
    listBox2_.push_back(std::to_string(time));
    if (time > largest_) {
        largest_ = time;
    }
    if (time >= 1 && time < smallest_) {
        smallest_ = time;
    }
}

void TPForm::CreateGauges() {
    busy_ = false;
    labelVisible_ = false;
    gauges_.clear();
    for (int i = 0; i < hosts_; ++i) {
        const auto at = static_cast<std::size_t>(i);
        const int time = at < listBox2_.size() ? std::stoi(listBox2_[at]) : 0;
        TEnhancedGauge gauge;
        gauge.Name = "SB" + std::to_string(i);
        gauge.MinValue = 0;
        gauge.MaxValue = largest_;
        gauge.Progress = time;
        gauge.ProgressText = at < listBox1_.size() ? listBox1_[at] : std::string();
        if (time == 0) {
            gauge.ProgressText += " unverified speed.";
        }
        gauge.BackColor = kColorBtnFace;
        gauge.Color = kColorRed;
        gauge.ForeColor = time == smallest_ ? kColorGreen : kColorMaroon;
        gauge.Left = 5;
        gauge.Top = 20 + 18 * i;
        gauge.Width = 400;
        gauge.Height = 18;
        gauges_.push_back(std::move(gauge));
    }
}

std::string TPForm::Launch(const std::string& gaugeName) {
    std::string button;
    if (gaugeName.rfind("SB", 0) == 0) {
        try {
            const std::size_t i = std::stoul(gaugeName.substr(2));
            if (i < ListBox3.size()) {
                button = ListBox3[i];
            }
        } catch (const std::exception&) {
        }
    }
    closed_ = true;
    chosen_ = button;
    return button;
}

void TPForm::FormClose() {
    labelVisible_ = true;
    hostEdit_.clear();
    HostEditItems.clear();
    listBox1_.clear();
    listBox2_.clear();
    ListBox3.clear();
    gauges_.clear();
    closed_ = true;
}

} // namespace lv
