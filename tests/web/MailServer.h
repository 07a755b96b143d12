#pragma once

// tests/web/smtp_server.py (a real mail server from the distribution's aiosmtpd) as a child of
// the test, and the test CA its certificate is signed by.

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <poll.h>
#include <string>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace lvtest::mail {

namespace fs = std::filesystem;

inline std::string Python() {
    // The distribution's interpreter: the one that has aiosmtpd.
    return fs::exists("/usr/bin/python3") ? "/usr/bin/python3" : "python3";
}

inline bool RunShell(const std::string& command) {
    return std::system(command.c_str()) == 0;
}

// A test CA and a certificate for localhost / 127.0.0.1 signed by it.
inline bool MakeCertificates(const fs::path& dir) {
    const std::string d = dir.string();
    const std::string key = "-newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes ";
    return RunShell(
               "cd '" + d + "' && openssl req -x509 " + key +
               "-keyout ca.key -out ca.pem -days 2 -subj '/CN=Linkvane Test CA' 2>/dev/null") &&
           RunShell("cd '" + d + "' && openssl req " + key +
                    "-keyout server.key -out server.csr -subj '/CN=localhost' 2>/dev/null") &&
           RunShell("cd '" + d +
                    "' && printf 'subjectAltName=DNS:localhost,IP:127.0.0.1\\n' > san && "
                    "openssl x509 -req -in server.csr -CA ca.pem -CAkey ca.key "
                    "-CAcreateserial -out server.pem -days 2 -extfile san 2>/dev/null");
}

// The server as a child process, ended with the test.
class MailServer {
public:
    // implicitTls: TLS from the first byte; plain: neither TLS nor AUTH.
    MailServer(const fs::path& certs, const fs::path& maildir, bool implicitTls,
               bool plain = false) {
        int out[2];
        if (::pipe(out) != 0) {
            return;
        }
        const char* source = std::getenv("LINKVANE_SOURCE_DIR");
        const std::string script =
            std::string(source != nullptr ? source : ".") + "/tests/web/smtp_server.py";
        const std::string python = Python();
        const std::string cert = (certs / "server.pem").string();
        const std::string key = (certs / "server.key").string();
        const std::string mail = maildir.string();
        pid_ = ::fork();
        if (pid_ == 0) {
            ::prctl(PR_SET_PDEATHSIG, SIGTERM); // never outlive a crashed test
            ::dup2(out[1], STDOUT_FILENO);
            ::close(out[0]);
            ::close(out[1]);
            std::vector<const char*> argv = {python.c_str(), script.c_str(), "--cert",
                                             cert.c_str(),   "--key",        key.c_str(),
                                             "--maildir",    mail.c_str()};
            if (implicitTls) {
                argv.push_back("--implicit-tls");
            }
            if (plain) {
                argv.push_back("--plain");
            }
            argv.push_back(nullptr);
            ::execvp(python.c_str(), const_cast<char* const*>(argv.data()));
            ::_exit(127);
        }
        ::close(out[1]);
        // The first line is the port; wait for it with a bound.
        std::string line;
        pollfd pfd{out[0], POLLIN, 0};
        while (line.find('\n') == std::string::npos && ::poll(&pfd, 1, 15000) > 0) {
            char buffer[64];
            const ssize_t n = ::read(out[0], buffer, sizeof buffer);
            if (n <= 0) {
                break;
            }
            line.append(buffer, static_cast<std::size_t>(n));
        }
        ::close(out[0]);
        if (line.find('\n') != std::string::npos) {
            port_ = line.substr(0, line.find('\n'));
        }
    }
    ~MailServer() {
        if (pid_ > 0) {
            ::kill(pid_, SIGTERM);
            ::waitpid(pid_, nullptr, 0);
        }
    }
    const std::string& Port() const { return port_; }

private:
    pid_t pid_ = -1;
    std::string port_;
};

} // namespace lvtest::mail
