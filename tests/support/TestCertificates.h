#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace lvtest {

// A certificate authority made at test time, and server certificates it signs, written as PEM
// files into a directory the test owns. Nothing is read from or written to the system store.
class TestCertificates {
public:
    struct Files {
        std::string certFile; // PEM certificate (the leaf only)
        std::string keyFile;  // PEM private key, unencrypted
    };

    // Creates the CA ("Linkvane Test CA") in dir.
    explicit TestCertificates(const std::filesystem::path& dir);
    ~TestCertificates();
    TestCertificates(const TestCertificates&) = delete;
    TestCertificates& operator=(const TestCertificates&) = delete;

    // The CA certificate, to trust (TWSocket::SetDefaultCaFile, THttpCli::CaFile).
    const std::string& CaFile() const { return caFile_; }

    // A server certificate signed by the CA for the given DNS names and IP addresses, valid
    // from yesterday for a year. stem names the files (<stem>.crt, <stem>.key).
    Files Issue(const std::string& stem, const std::vector<std::string>& dnsNames,
                const std::vector<std::string>& ipAddresses = {});

    // The usual server pair: "localhost" and 127.0.0.1.
    Files Localhost() { return Issue("localhost", {"localhost"}, {"127.0.0.1"}); }

    // A certificate for the same names signed by a CA nobody trusts.
    Files IssueByUnknownCa(const std::string& stem, const std::vector<std::string>& dnsNames,
                           const std::vector<std::string>& ipAddresses = {});

private:
    struct Authority;
    Files IssueWith(Authority& authority, const std::string& stem,
                    const std::vector<std::string>& dnsNames,
                    const std::vector<std::string>& ipAddresses);

    std::filesystem::path dir_;
    std::string caFile_;
    Authority* ca_ = nullptr;
    Authority* unknownCa_ = nullptr;
};

} // namespace lvtest
