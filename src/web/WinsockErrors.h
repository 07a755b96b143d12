#pragma once

#include <string>

namespace lv {

// Socket errors are reported with the Winsock numbers and texts the program's users know.
// 0 is "No Error"; an unknown number is "Not a WinSock error".
std::string WinsockErrorText(int error);

// The Winsock number for a POSIX errno met by a socket call (10000 + the BSD number for most).
int WinsockErrorFromErrno(int errnoValue);

// The Winsock number for a getaddrinfo() result (EAI_*); 0 for success.
int WinsockErrorFromGai(int gaiError, int errnoValue);

// Frequently used numbers.
inline constexpr int WSAEINTR = 10004;
inline constexpr int WSAEINVAL = 10022;
inline constexpr int WSAEWOULDBLOCK = 10035;
inline constexpr int WSAEINPROGRESS = 10036;
inline constexpr int WSAECONNABORTED = 10053;
inline constexpr int WSAECONNRESET = 10054;
inline constexpr int WSAENOTCONN = 10057;
inline constexpr int WSAETIMEDOUT = 10060;
inline constexpr int WSAECONNREFUSED = 10061;
inline constexpr int WSAHOST_NOT_FOUND = 11001;
inline constexpr int WSATRY_AGAIN = 11002;
inline constexpr int WSANO_RECOVERY = 11003;
inline constexpr int WSANO_DATA = 11004;

} // namespace lv
