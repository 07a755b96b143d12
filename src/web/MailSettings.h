#pragma once

#include "web/SmtpClient.h"

#include <string>
#include <string_view>

namespace lv {

// How the connection to the user's mail server is protected, as the user chose it.
enum class MailSecurity { None, StartTls, Tls };

// What today's mail servers need besides the server name: kept in the UserFile's "User"
// section beside "MailS". The password is written only when the user asked for it, and then
// scrambled: anyone who can read the file and this source can read it back.
struct MailSettings {
    std::string port; // empty: the usual port of the security
    MailSecurity security = MailSecurity::None;
    std::string userName;
    bool rememberPassword = false;
    std::string password;
};

namespace mailkeys {
inline constexpr std::string_view kSection = "User";
inline constexpr std::string_view kPort = "MailPort";
inline constexpr std::string_view kSecurity = "MailSecurity";
inline constexpr std::string_view kUser = "MailUser";
inline constexpr std::string_view kPassword = "MailPass";
} // namespace mailkeys

// "None", "STARTTLS", "TLS" in the file; anything else reads as None.
std::string_view SecurityName(MailSecurity security);
MailSecurity SecurityFromName(std::string_view name);

MailSettings ReadMailSettings(const std::string& userFile);
// One save of the UserFile. Without rememberPassword the stored password is removed.
void WriteMailSettings(const std::string& userFile, const MailSettings& settings);

// The port to connect to: the user's, else 25, 587 or 465 for the security.
std::string EffectivePort(const MailSettings& settings);
SmtpSecurity ClientSecurity(MailSecurity security);

// Reversible scrambling of the stored password (not encryption): printable ASCII, so the
// Windows-1252 file stays clean whatever the password holds.
std::string ScramblePassword(std::string_view password);
// An empty text for anything ScramblePassword did not write.
std::string UnscramblePassword(std::string_view stored);

} // namespace lv
