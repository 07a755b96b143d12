#include "web/MailSettings.h"

#include "store/FileIo.h"
#include "store/TIniFile32.h"

#include <filesystem>
#include <sys/stat.h>

#include <array>
#include <cstdint>

namespace lv {
namespace {

constexpr std::string_view kScrambleMark = "x1:";
constexpr std::string_view kScrambleKey = "Linkvane keeps this from a casual glance";
constexpr std::string_view kHex = "0123456789abcdef";

std::uint8_t KeyByte(std::size_t i) {
    return static_cast<std::uint8_t>(kScrambleKey[i % kScrambleKey.size()] + 31 * i);
}

int HexValue(char c) {
    const std::size_t at = kHex.find(c);
    return at == std::string_view::npos ? -1 : static_cast<int>(at);
}

} // namespace

std::string_view SecurityName(MailSecurity security) {
    switch (security) {
    case MailSecurity::StartTls:
        return "STARTTLS";
    case MailSecurity::Tls:
        return "TLS";
    case MailSecurity::None:
        break;
    }
    return "None";
}

MailSecurity SecurityFromName(std::string_view name) {
    if (name == "STARTTLS") {
        return MailSecurity::StartTls;
    }
    if (name == "TLS") {
        return MailSecurity::Tls;
    }
    return MailSecurity::None;
}

MailSettings ReadMailSettings(const std::string& userFile) {
    using namespace mailkeys;
    const TIniFile32 ini(userFile);
    MailSettings settings;
    settings.port = ini.ReadString(kSection, kPort, "");
    settings.security = SecurityFromName(ini.ReadString(kSection, kSecurity, "None"));
    settings.userName = ini.ReadString(kSection, kUser, "");
    const std::string stored = ini.ReadString(kSection, kPassword, "");
    settings.rememberPassword = !stored.empty();
    settings.password = UnscramblePassword(stored);
    return settings;
}

void WriteMailSettings(const std::string& userFile, const MailSettings& settings) {
    using namespace mailkeys;
    const bool storePassword = settings.rememberPassword && !settings.password.empty();
    if (storePassword) {
        // A file that holds a password is the user's alone; saves keep the file's mode.
        std::error_code error;
        if (!std::filesystem::exists(userFile, error)) {
            WriteFileAtomic(userFile, "", S_IRUSR | S_IWUSR);
        } else {
            std::filesystem::permissions(
                userFile, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write,
                error);
        }
    }
    TIniFile32 ini(userFile);
    ini.SetDeferSaves(true);
    ini.WriteString(kSection, kPort, settings.port);
    ini.WriteString(kSection, kSecurity, SecurityName(settings.security));
    ini.WriteString(kSection, kUser, settings.userName);
    if (storePassword) {
        ini.WriteString(kSection, kPassword, ScramblePassword(settings.password));
    } else {
        ini.DeleteKey(kSection, kPassword);
    }
    if (ini.Modified()) {
        ini.UpdateFile();
    }
}

std::string EffectivePort(const MailSettings& settings) {
    const std::string_view port = TIniFile32::Trim(settings.port);
    if (!port.empty()) {
        return std::string(port);
    }
    switch (settings.security) {
    case MailSecurity::StartTls:
        return "587";
    case MailSecurity::Tls:
        return "465";
    case MailSecurity::None:
        break;
    }
    return "25";
}

SmtpSecurity ClientSecurity(MailSecurity security) {
    switch (security) {
    case MailSecurity::StartTls:
        return SmtpSecurity::StartTlsRequired;
    case MailSecurity::Tls:
        return SmtpSecurity::ImplicitTls;
    case MailSecurity::None:
        break;
    }
    return SmtpSecurity::Plain;
}

std::string ScramblePassword(std::string_view password) {
    std::string out(kScrambleMark);
    for (std::size_t i = 0; i < password.size(); ++i) {
        const auto byte =
            static_cast<std::uint8_t>(static_cast<std::uint8_t>(password[i]) ^ KeyByte(i));
        out += kHex[byte >> 4];
        out += kHex[byte & 0x0F];
    }
    return out;
}

std::string UnscramblePassword(std::string_view stored) {
    if (!stored.starts_with(kScrambleMark)) {
        return {};
    }
    stored.remove_prefix(kScrambleMark.size());
    if (stored.size() % 2 != 0) {
        return {};
    }
    std::string out;
    for (std::size_t i = 0; i < stored.size(); i += 2) {
        const int high = HexValue(stored[i]);
        const int low = HexValue(stored[i + 1]);
        if (high < 0 || low < 0) {
            return {};
        }
        out += static_cast<char>(static_cast<std::uint8_t>((high << 4) | low) ^ KeyByte(i / 2));
    }
    return out;
}

} // namespace lv
