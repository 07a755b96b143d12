#pragma once

#include "support/TempDir.h"

#include <filesystem>
#include <string>
#include <sys/types.h>

namespace lvtest {

// A private nginx on 127.0.0.1 for tests and benchmarks: its own prefix, configuration, logs
// and document root in a temporary directory, on free ports. Stopped by Stop() or when the
// object goes away.
class Nginx {
public:
    struct Tls {
        std::string certFile;
        std::string keyFile;
    };

    Nginx();
    ~Nginx();
    Nginx(const Nginx&) = delete;
    Nginx& operator=(const Nginx&) = delete;

    // Whether an nginx binary is installed (tests skip without one).
    static bool Available();

    // Starts nginx serving Docroot(). serverSnippet is placed inside each server block
    // ("location /old { return 301 /new; }"); "{port}" and "{tlsport}" in it become the two
    // ports, so one server can send the client to the other. With tls, a second server speaks
    // https on TlsPort(). Returns the http port; throws std::runtime_error when nginx does not
    // come up.
    int Start(const std::string& serverSnippet = "", const Tls* tls = nullptr);
    void Stop();

    int Port() const { return port_; }
    int TlsPort() const { return tlsPort_; }
    const std::filesystem::path& Docroot() const { return docroot_; }
    // "http://127.0.0.1:<port>" (no trailing "/").
    std::string BaseUrl() const;
    // Puts a file into the document root (folders created as needed).
    void WriteDoc(const std::string& relativePath, const std::string& bytes) const;
    // The error log so far, for failure messages.
    std::string ErrorLog() const;

private:
    TempDir dir_;
    std::filesystem::path docroot_;
    pid_t pid_ = -1;
    int port_ = 0;
    int tlsPort_ = 0;
};

// A port on 127.0.0.1 that nothing listens on at the moment.
int FreeLocalPort();

} // namespace lvtest
