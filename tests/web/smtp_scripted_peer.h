#pragma once

#include <map>
#include <mutex>
#include <set>
#include <string>
#include <thread>

namespace lvtest {

// A mail server on 127.0.0.1 that answers from a table, for byte-exact conversations. It takes
// one connection, greets, answers each command by its first word (upper-cased), collects the
// message between DATA and "." and records every byte it received.
class ScriptedSmtpPeer {
public:
    ScriptedSmtpPeer();
    ~ScriptedSmtpPeer();
    ScriptedSmtpPeer(const ScriptedSmtpPeer&) = delete;
    ScriptedSmtpPeer& operator=(const ScriptedSmtpPeer&) = delete;

    // Set before Start(). Replies carry their own CR LFs; a missing verb is answered "500 what".
    std::string greeting = "220 scripted ready\r\n";
    std::map<std::string, std::string> replies = {
        {"HELO", "250 hello\r\n"},   {"EHLO", "250 hello\r\n"},    {"MAIL", "250 sender ok\r\n"},
        {"RCPT", "250 rcpt ok\r\n"}, {"DATA", "354 go ahead\r\n"}, {".", "250 queued\r\n"},
        {"QUIT", "221 bye\r\n"},     {"RSET", "250 ok\r\n"}};
    std::set<std::string> silent; // verbs that are never answered
    bool closeAfterGreeting = false;

    void Start();
    std::string Port() const { return std::to_string(port_); }
    // Waits (bounded) until the client has gone, then returns everything it sent.
    std::string Received();
    bool SawClose();

private:
    void Serve();

    int listenFd_ = -1;
    int port_ = 0;
    std::thread thread_;
    std::mutex mutex_;
    std::string received_;
    bool sawClose_ = false;
};

// A port on 127.0.0.1 where nobody listens.
std::string RefusingPort();

} // namespace lvtest
