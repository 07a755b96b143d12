#include "platform/IcmpEcho.h"

#include "platform/Fd.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <netinet/in.h>
#include <netinet/ip.h>
#include <netinet/ip_icmp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>
#include <vector>

namespace lv {
namespace {

std::uint16_t Checksum(const std::uint8_t* data, std::size_t length) {
    std::uint32_t sum = 0;
    for (std::size_t i = 0; i + 1 < length; i += 2) {
        sum += static_cast<std::uint32_t>(data[i] << 8 | data[i + 1]);
    }
    if (length % 2 != 0) {
        sum += static_cast<std::uint32_t>(data[length - 1] << 8);
    }
    while (sum >> 16 != 0) {
        sum = (sum & 0xFFFF) + (sum >> 16);
    }
    return static_cast<std::uint16_t>(~sum);
}

std::uint16_t NextSequence() {
    static std::uint16_t sequence = 0;
    return ++sequence;
}

} // namespace

std::string LinuxIcmpEcho::Unavailable() const {
    for (const int type : {SOCK_DGRAM, SOCK_RAW}) {
        const int fd = ::socket(AF_INET, type | SOCK_CLOEXEC, IPPROTO_ICMP);
        if (fd >= 0) {
            ::close(fd);
            return {};
        }
    }
    return kNoIcmpText;
}

EchoResult LinuxIcmpEcho::Echo(const std::string& address, int size, int ttl,
                               std::chrono::milliseconds timeout) {
    EchoResult result;
    sockaddr_in to{};
    to.sin_family = AF_INET;
    if (::inet_pton(AF_INET, address.c_str(), &to.sin_addr) != 1) {
        result.error = "Invalid host address";
        return result;
    }
    bool raw = false;
    int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, IPPROTO_ICMP);
    if (fd < 0) {
        fd = ::socket(AF_INET, SOCK_RAW | SOCK_CLOEXEC, IPPROTO_ICMP);
        raw = true;
    }
    if (fd < 0) {
        result.error = std::string("no ICMP socket: ") + std::strerror(errno);
        return result;
    }
    const Fd socket(fd);
    if (ttl > 0) {
        ::setsockopt(fd, IPPROTO_IP, IP_TTL, &ttl, sizeof ttl);
    }
    const std::size_t dataSize = size < 0 ? 0 : static_cast<std::size_t>(size);
    std::vector<std::uint8_t> packet(sizeof(icmphdr) + dataSize, ' ');
    const std::size_t textLength = std::min(dataSize, std::strlen(kEchoText));
    std::memcpy(packet.data() + sizeof(icmphdr), kEchoText, textLength);
    auto* header = reinterpret_cast<icmphdr*>(packet.data());
    header->type = ICMP_ECHO;
    header->code = 0;
    // A datagram socket sets the identifier itself (its local port) and checks the sum.
    const std::uint16_t id = static_cast<std::uint16_t>(::getpid());
    const std::uint16_t sequence = NextSequence();
    header->un.echo.id = htons(id);
    header->un.echo.sequence = htons(sequence);
    header->checksum = 0;
    header->checksum = htons(Checksum(packet.data(), packet.size()));

    const auto start = std::chrono::steady_clock::now();
    if (::sendto(fd, packet.data(), packet.size(), 0, reinterpret_cast<sockaddr*>(&to), sizeof to) <
        0) {
        result.error = std::string("send: ") + std::strerror(errno);
        return result;
    }
    const auto deadline = start + timeout;
    std::vector<std::uint8_t> reply(packet.size() + 128);
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            result.error = "Request timed out";
            return result;
        }
        pollfd wait{fd, POLLIN, 0};
        const int ready = ::poll(&wait, 1, static_cast<int>(left.count()));
        if (ready < 0 && errno == EINTR) {
            continue;
        }
        if (ready <= 0) {
            result.error = "Request timed out";
            return result;
        }
        sockaddr_in from{};
        socklen_t fromLength = sizeof from;
        const ssize_t got = ::recvfrom(fd, reply.data(), reply.size(), 0,
                                       reinterpret_cast<sockaddr*>(&from), &fromLength);
        if (got < 0) {
            continue;
        }
        std::size_t offset = 0;
        if (raw) {
            // A raw socket hands over the IP header too, and every ICMP message of the host.
            if (got < static_cast<ssize_t>(sizeof(iphdr))) {
                continue;
            }
            offset = static_cast<std::size_t>((reply[0] & 0x0F) * 4);
        }
        if (static_cast<std::size_t>(got) < offset + sizeof(icmphdr) ||
            from.sin_addr.s_addr != to.sin_addr.s_addr) {
            continue;
        }
        const auto* answer = reinterpret_cast<const icmphdr*>(reply.data() + offset);
        if (answer->type != ICMP_ECHOREPLY || ntohs(answer->un.echo.sequence) != sequence ||
            (raw && ntohs(answer->un.echo.id) != id)) {
            continue;
        }
        const auto elapsed = std::chrono::steady_clock::now() - start;
        result.replies = 1;
        result.roundTripMs = static_cast<int>(
            std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count());
        return result;
    }
}

} // namespace lv
