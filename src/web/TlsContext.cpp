#include "web/TlsContext.h"

#include "web/HostResolver.h"
#include "web/WinsockErrors.h"

#include <map>
#include <mutex>
#include <openssl/err.h>
#include <openssl/ssl.h>
#include <openssl/x509v3.h>
#include <stdexcept>

namespace lv {

namespace {

std::string OpenSslErrorText() {
    const unsigned long code = ERR_get_error();
    ERR_clear_error();
    if (code == 0) {
        return {};
    }
    const char* reason = ERR_reason_error_string(code);
    if (reason != nullptr) {
        return reason;
    }
    char text[256];
    ERR_error_string_n(code, text, sizeof text);
    return text;
}

} // namespace

SSL_CTX* ClientTlsContext(const std::string& caFile) {
    static std::mutex mutex;
    // Contexts live until the program ends; there is one per distinct CA file.
    static auto* contexts = new std::map<std::string, SSL_CTX*>;
    std::lock_guard<std::mutex> lock(mutex);
    auto it = contexts->find(caFile);
    if (it != contexts->end()) {
        return it->second;
    }
    SSL_CTX* ctx = SSL_CTX_new(TLS_client_method());
    if (ctx == nullptr) {
        throw std::runtime_error("TLS: cannot create a context: " + OpenSslErrorText());
    }
    SSL_CTX_set_min_proto_version(ctx, TLS1_2_VERSION);
    SSL_CTX_set_mode(ctx, SSL_MODE_ENABLE_PARTIAL_WRITE | SSL_MODE_ACCEPT_MOVING_WRITE_BUFFER);
    SSL_CTX_set_options(ctx, SSL_OP_IGNORE_UNEXPECTED_EOF);
    SSL_CTX_set_default_verify_paths(ctx);
    if (!caFile.empty() && SSL_CTX_load_verify_locations(ctx, caFile.c_str(), nullptr) != 1) {
        const std::string why = OpenSslErrorText();
        SSL_CTX_free(ctx);
        throw std::runtime_error("TLS: cannot load the CA file " + caFile + ": " + why);
    }
    ERR_clear_error();
    (*contexts)[caFile] = ctx;
    return ctx;
}

SSL* NewClientTlsSession(const std::string& caFile, int fd, const std::string& hostName,
                         bool verify) {
    SSL* ssl = SSL_new(ClientTlsContext(caFile));
    if (ssl == nullptr) {
        throw std::runtime_error("TLS: cannot create a session: " + OpenSslErrorText());
    }
    SSL_set_fd(ssl, fd);
    const std::string numeric = HostResolver::NumericAddress(hostName);
    if (numeric.empty() && !hostName.empty()) {
        SSL_set_tlsext_host_name(ssl, hostName.c_str());
    }
    if (verify) {
        SSL_set_verify(ssl, SSL_VERIFY_PEER, nullptr);
        X509_VERIFY_PARAM* param = SSL_get0_param(ssl);
        if (!numeric.empty()) {
            X509_VERIFY_PARAM_set1_ip_asc(param, numeric.c_str());
        } else {
            X509_VERIFY_PARAM_set_hostflags(param, X509_CHECK_FLAG_NO_PARTIAL_WILDCARDS);
            SSL_set1_host(ssl, hostName.c_str());
        }
    } else {
        SSL_set_verify(ssl, SSL_VERIFY_NONE, nullptr);
    }
    SSL_set_connect_state(ssl);
    return ssl;
}

std::string TlsFailureText(SSL* ssl, int sslError, int sysErrno, bool& verifyFailed) {
    verifyFailed = false;
    const long verifyResult = SSL_get_verify_result(ssl);
    if (verifyResult != X509_V_OK) {
        verifyFailed = true;
        ERR_clear_error();
        return std::string("TLS certificate verify failed: ") +
               X509_verify_cert_error_string(verifyResult);
    }
    std::string reason = OpenSslErrorText();
    if (reason.empty()) {
        if (sslError == SSL_ERROR_SYSCALL && sysErrno != 0) {
            reason = WinsockErrorText(WinsockErrorFromErrno(sysErrno));
        } else if (sslError == SSL_ERROR_SYSCALL || sslError == SSL_ERROR_ZERO_RETURN) {
            reason = "connection closed by the peer";
        } else {
            reason = "protocol error";
        }
    }
    return "TLS handshake failed: " + reason;
}

} // namespace lv
