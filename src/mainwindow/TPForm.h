#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace lv {

class IcmpEcho;

// Platform colour values (0x00BBGGRR; negative: a system colour by index).
inline constexpr int kColorRed = 0x0000FF;
inline constexpr int kColorMaroon = 0x000080;
inline constexpr int kColorGreen = 0x008000;
inline constexpr int kColorBtnFace = static_cast<int>(0x8000000F);

// Resolves a host name or dotted address to a dotted IPv4 address; false when it cannot.
bool ResolveIpv4(const std::string& host, std::string& dotted);

// A bar of the access-speed dialog (TEnhancedGauge as the dialog uses it).
struct TEnhancedGauge {
    std::string Name; // "SB" + index
    int MinValue = 0;
    int MaxValue = 100;
    int Progress = 0;
    std::string ProgressText;
    int BackColor = kColorBtnFace;
    int Color = kColorRed;
    int ForeColor = kColorMaroon;
    std::string Hint = "Click to Launch";
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;

    // The filled share in per cent (0 when the range is empty).
    int Percent() const;
    // "NN% : text": the percentage, then the progress text.
    std::string Text() const;
};

// "Access Speed": pings the hosts of the selected bookmarks one after the other and shows their
// round-trip times as bars, the fastest in green; a click on a bar launches that bookmark.
class TPForm {
public:
    static constexpr int kSize = 56;      // bytes of echo data
    static constexpr int kTimeout = 4000; // milliseconds
    static constexpr int kTTL = 64;

    // The echo the pings go through (none: every host is silent), and the name look-up.
    IcmpEcho* icmp = nullptr;
    std::function<bool(const std::string& host, std::string& dotted)> resolve = ResolveIpv4;

    // Filled by the page options' "Ping Selected Bookmarks": a host and a button name each.
    std::vector<std::string> HostEditItems;
    std::vector<std::string> ListBox3;

    // Called before each host is pinged (the view draws the label).
    std::function<void()> onProgress;

    // Opening: colours from the tab row, then every host pinged and the bars made.
    void FormActivate(int color, int fontColor);
    // A bar's click: the button name of its bookmark (empty for an unknown bar) becomes
    // Chosen(), and the dialog closes.
    std::string Launch(const std::string& gaugeName);
    const std::string& Chosen() const { return chosen_; }
    void FormClose();

    const std::string& Caption() const { return caption_; }
    const std::string& HostEdit() const { return hostEdit_; }
    const std::string& Label() const { return label_; }
    bool LabelVisible() const { return labelVisible_; }
    const std::string& SpeedLabel() const { return speedLabel_; }
    bool Busy() const { return busy_; }
    int Height() const { return height_; }
    int Color() const { return color_; }
    int FontColor() const { return fontColor_; }
    bool Closed() const { return closed_; }
    const std::vector<std::string>& ListBox1() const { return listBox1_; }
    const std::vector<std::string>& ListBox2() const { return listBox2_; }
    const std::vector<TEnhancedGauge>& Gauges() const { return gauges_; }

private:
    void PingButtonClick();
    void Ping1DnsLookupDone(bool failed, const std::string& dnsResult);
    void Ping1EchoReply(int replies, int roundTripMs);
    void CreateGauges();

    std::string chosen_;
    std::string caption_ = "Access Speed";
    std::string hostEdit_;
    std::string label_;
    bool labelVisible_ = true;
    std::string speedLabel_ = "Smaller % is faster Site";
    bool busy_ = false;
    int height_ = 0;
    int color_ = 0;
    int fontColor_ = 0;
    bool closed_ = false;
    std::vector<std::string> listBox1_;
    std::vector<std::string> listBox2_;
    std::vector<TEnhancedGauge> gauges_;
    int index_ = 0;
    int hosts_ = 0;
    int largest_ = 0;
    int smallest_ = 1000000;
};

// The host "Ping Selected Bookmarks" takes from a target: what follows "://", then what
// follows "www.", up to the first "/".
std::string PingHost(std::string_view target);

} // namespace lv
