#pragma once

#include <string>

typedef struct ssl_ctx_st SSL_CTX;
typedef struct ssl_st SSL;

namespace lv {

// Client TLS contexts, one per extra CA file, shared by every socket of the process (loading the
// system trust store costs milliseconds; a link check makes hundreds of connections). Each trusts
// the system store plus the CA file. Thread-safe. Throws std::runtime_error when OpenSSL cannot
// build a context or the CA file cannot be loaded.
SSL_CTX* ClientTlsContext(const std::string& caFile);

// Creates a client session on fd for hostName: SNI (for names, not addresses) and the name
// check of the peer's certificate when verify is set. Throws std::runtime_error on failure.
SSL* NewClientTlsSession(const std::string& caFile, int fd, const std::string& hostName,
                         bool verify);

// A readable reason for a failed handshake: "TLS certificate verify failed: <reason>" when the
// certificate was rejected, else "TLS handshake failed: <reason>". Clears the OpenSSL error
// queue. sslError is the SSL_get_error() result, sysErrno the errno after the call.
std::string TlsFailureText(SSL* ssl, int sslError, int sysErrno, bool& verifyFailed);

} // namespace lv
