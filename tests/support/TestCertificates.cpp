#include "support/TestCertificates.h"

#include <cstdio>
#include <memory>
#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/x509.h>
#include <openssl/x509v3.h>
#include <stdexcept>

namespace lvtest {

namespace {

[[noreturn]] void Fail(const std::string& what) {
    throw std::runtime_error("test certificates: " + what);
}

EVP_PKEY* NewKey() {
    EVP_PKEY* key = EVP_EC_gen("P-256");
    if (key == nullptr) {
        Fail("cannot generate a key");
    }
    return key;
}

void AddExtension(X509* cert, X509* issuer, int nid, const std::string& value) {
    X509V3_CTX ctx;
    X509V3_set_ctx_nodb(&ctx);
    X509V3_set_ctx(&ctx, issuer, cert, nullptr, nullptr, 0);
    X509_EXTENSION* ext = X509V3_EXT_conf_nid(nullptr, &ctx, nid, value.c_str());
    if (ext == nullptr) {
        Fail("bad extension " + value);
    }
    X509_add_ext(cert, ext, -1);
    X509_EXTENSION_free(ext);
}

X509* NewCert(const std::string& commonName, EVP_PKEY* key, long serial) {
    X509* cert = X509_new();
    X509_set_version(cert, 2);
    ASN1_INTEGER_set(X509_get_serialNumber(cert), serial);
    X509_gmtime_adj(X509_getm_notBefore(cert), -24L * 3600);
    X509_gmtime_adj(X509_getm_notAfter(cert), 365L * 24 * 3600);
    X509_set_pubkey(cert, key);
    X509_NAME* name = X509_get_subject_name(cert);
    X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_ASC,
                               reinterpret_cast<const unsigned char*>(commonName.c_str()), -1, -1,
                               0);
    return cert;
}

void WritePem(const std::filesystem::path& file, X509* cert, EVP_PKEY* key) {
    FILE* out = std::fopen(file.c_str(), "wb");
    if (out == nullptr) {
        Fail("cannot write " + file.string());
    }
    const bool ok = cert != nullptr ? PEM_write_X509(out, cert) == 1
                                    : PEM_write_PrivateKey(out, key, nullptr, nullptr, 0, nullptr,
                                                           nullptr) == 1;
    std::fclose(out);
    if (!ok) {
        Fail("cannot encode " + file.string());
    }
}

} // namespace

struct TestCertificates::Authority {
    EVP_PKEY* key = nullptr;
    X509* cert = nullptr;
    long nextSerial = 2;

    explicit Authority(const std::string& name) {
        key = NewKey();
        cert = NewCert(name, key, 1);
        X509_set_issuer_name(cert, X509_get_subject_name(cert));
        AddExtension(cert, cert, NID_basic_constraints, "critical,CA:TRUE");
        AddExtension(cert, cert, NID_key_usage, "critical,keyCertSign,cRLSign");
        AddExtension(cert, cert, NID_subject_key_identifier, "hash");
        if (X509_sign(cert, key, EVP_sha256()) == 0) {
            Fail("cannot sign the CA");
        }
    }
    ~Authority() {
        X509_free(cert);
        EVP_PKEY_free(key);
    }
};

TestCertificates::TestCertificates(const std::filesystem::path& dir) : dir_(dir) {
    std::filesystem::create_directories(dir_);
    ca_ = new Authority("Linkvane Test CA");
    unknownCa_ = new Authority("Untrusted Test CA");
    caFile_ = (dir_ / "test-ca.crt").string();
    WritePem(caFile_, ca_->cert, nullptr);
}

TestCertificates::~TestCertificates() {
    delete ca_;
    delete unknownCa_;
}

TestCertificates::Files TestCertificates::Issue(const std::string& stem,
                                                const std::vector<std::string>& dnsNames,
                                                const std::vector<std::string>& ipAddresses) {
    return IssueWith(*ca_, stem, dnsNames, ipAddresses);
}

TestCertificates::Files
TestCertificates::IssueByUnknownCa(const std::string& stem,
                                   const std::vector<std::string>& dnsNames,
                                   const std::vector<std::string>& ipAddresses) {
    return IssueWith(*unknownCa_, stem, dnsNames, ipAddresses);
}

TestCertificates::Files TestCertificates::IssueWith(Authority& authority, const std::string& stem,
                                                    const std::vector<std::string>& dnsNames,
                                                    const std::vector<std::string>& ipAddresses) {
    EVP_PKEY* key = NewKey();
    X509* cert = NewCert(dnsNames.empty() ? stem : dnsNames.front(), key, authority.nextSerial++);
    X509_set_issuer_name(cert, X509_get_subject_name(authority.cert));
    std::string alt;
    for (const auto& name : dnsNames) {
        alt += (alt.empty() ? "DNS:" : ",DNS:") + name;
    }
    for (const auto& ip : ipAddresses) {
        alt += (alt.empty() ? "IP:" : ",IP:") + ip;
    }
    AddExtension(cert, authority.cert, NID_basic_constraints, "critical,CA:FALSE");
    AddExtension(cert, authority.cert, NID_ext_key_usage, "serverAuth");
    AddExtension(cert, authority.cert, NID_authority_key_identifier, "keyid:always");
    if (!alt.empty()) {
        AddExtension(cert, authority.cert, NID_subject_alt_name, alt);
    }
    if (X509_sign(cert, authority.key, EVP_sha256()) == 0) {
        Fail("cannot sign " + stem);
    }
    Files files{(dir_ / (stem + ".crt")).string(), (dir_ / (stem + ".key")).string()};
    WritePem(files.certFile, cert, nullptr);
    WritePem(files.keyFile, nullptr, key);
    X509_free(cert);
    EVP_PKEY_free(key);
    return files;
}

} // namespace lvtest
