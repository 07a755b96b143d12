#include "web/SmtpClient.h"

#include <cctype>
#include <ctime>
#include <filesystem>
#include <fstream>

namespace lv {

bool TSmtpClient::PrepareMail() {
    MailEnded();
    boundary_.clear();
    if (EmailFiles.empty()) {
        return true;
    }
    // Refuse before the first command: a message that silently lacks a file it promised is
    // worse than none.
    for (const std::string& name : EmailFiles) {
        // Only a regular file: a FIFO would block the open, a device would never end the mail.
        std::error_code error;
        std::ifstream probe;
        if (std::filesystem::is_regular_file(name, error)) {
            probe.open(name, std::ios::binary);
        }
        if (!probe.is_open()) {
            SetError("Cannot open file " + name);
            Display(ErrorMessage());
            return false;
        }
    }
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    boundary_ = SmtpBoundary(local);
    queue_ = {"This is a multipart MIME message.",
              "",
              "--" + boundary_,
              std::string(kSmtpTextContentType) + CharSet + "\"",
              "Content-Transfer-Encoding: 7bit",
              ""};
    sendingUserText_ = true;
    userLine_ = 0;
    return true;
}

void TSmtpClient::HeaderLine(std::string& line) {
    if (boundary_.empty() || line.size() < 13) {
        return;
    }
    std::string start = line.substr(0, 13);
    for (char& c : start) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    if (start == "content-type:") {
        line = "Content-Type: multipart/mixed;\r\n\t" + std::string(kSmtpBoundaryParam) +
               boundary_ + "\"";
    }
}

void TSmtpClient::QueuePartHeader(const std::string& fileName) {
    const std::string base = std::filesystem::path(fileName).filename().string();
    queue_.insert(queue_.end(),
                  {"", "--" + boundary_, "Content-Type: application/octet-stream;",
                   "\t" + std::string(kSmtpNameParam) + base + "\"",
                   "Content-Transfer-Encoding: base64", "Content-Disposition: attachment;",
                   "\t" + std::string(kSmtpFileNameParam) + base + "\"", ""});
}

bool TSmtpClient::NextBodyLine(int lineNum, std::string& line) {
    if (boundary_.empty()) {
        return TCustomSmtpClient::NextBodyLine(lineNum, line);
    }
    for (;;) {
        if (!queue_.empty()) {
            line = std::move(queue_.front());
            queue_.pop_front();
            return true;
        }
        if (sendingUserText_) {
            if (AskOnGetData(++userLine_, line)) {
                return true;
            }
            sendingUserText_ = false;
        }
        if (!encoding_ && nextFile_ < EmailFiles.size()) {
            const std::string& name = EmailFiles[nextFile_++];
            QueuePartHeader(name);
            if (!file_.Open(name)) {
                AbortMessage("Cannot open file " + name);
                return false;
            }
            encoding_ = true;
            continue;
        }
        if (encoding_) {
            if (!file_.NextLine(line)) {
                AbortMessage("Cannot read file " + EmailFiles[nextFile_ - 1]);
                return false;
            }
            if (file_.AtEnd()) {
                file_.Close();
                encoding_ = false;
                if (nextFile_ >= EmailFiles.size()) {
                    queue_.insert(queue_.end(), {"", "--" + boundary_ + "--"});
                }
            }
            return true;
        }
        return false;
    }
}

void TSmtpClient::MailEnded() {
    queue_.clear();
    file_.Close();
    encoding_ = false;
    nextFile_ = 0;
    sendingUserText_ = false;
    userLine_ = 0;
}

} // namespace lv
