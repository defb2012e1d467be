// cNET, ping and name resolution: an ICMP echo through the system's unprivileged echo
// sockets where the system allows this user to ping, else through a raw socket where the
// process may open one (the superuser, or the right to use raw sockets), and IPv4 look-ups
// through the resolver. Neither changes the error number.
#include "foundation/cNET.h"

#include <algorithm>
#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/ip_icmp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kNoAddress = 1;
constexpr int kNoSocket = 2;
constexpr int kNoReply = 3;
constexpr int kCloseFailed = 4;

// A dotted IPv4 address; false for anything else, the all-ones address included.
bool DottedAddress(const std::string& text, in_addr& address)
{
    return inet_pton(AF_INET, text.c_str(), &address) == 1 && address.s_addr != htonl(INADDR_NONE);
}

std::string TrimBlanks(const std::string& s)
{
    const size_t first = s.find_first_not_of(' ');
    return first == std::string::npos ? std::string()
                                      : s.substr(first, s.find_last_not_of(' ') - first + 1);
}

// The Internet checksum of the bytes.
uint16_t Checksum(const std::vector<unsigned char>& bytes)
{
    uint32_t sum = 0;
    for (size_t i = 0; i < bytes.size(); i += 2) {
        sum += static_cast<uint32_t>(bytes[i] << 8) + (i + 1 < bytes.size() ? bytes[i + 1] : 0);
    }
    while ((sum >> 16) != 0) {
        sum = (sum & 0xFFFF) + (sum >> 16);
    }
    return static_cast<uint16_t>(~sum);
}

// An echo socket: the unprivileged kind (the system fills in the identifier and checksum and
// passes on only this socket's replies), else a raw one; -1 with errno when neither opens.
int OpenEchoSocket(bool& raw)
{
    raw = false;
    int fd = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, IPPROTO_ICMP);
    if (fd < 0) {
        const int refused = errno;
        fd = socket(AF_INET, SOCK_RAW | SOCK_CLOEXEC, IPPROTO_ICMP);
        raw = fd >= 0;
        errno = fd >= 0 ? errno : refused;
    }
    return fd;
}

// The ICMP message of a received packet: a raw socket's packets begin with the IP header.
const unsigned char* IcmpOf(const std::vector<unsigned char>& packet, ssize_t n, bool raw,
                            ssize_t& length)
{
    const ssize_t skip = raw && n > 0 ? (packet[0] & 0x0F) * 4 : 0;
    length = n - skip;
    return packet.data() + skip;
}

// Sends the echo and waits for its reply; the round trip in milliseconds, or -1 with errno.
int32_t EchoRoundTrip(int fd, bool raw, const in_addr& address, int32_t timeoutMS,
                      const std::string& data)
{
    std::vector<unsigned char> packet(sizeof(icmphdr) + data.size());
    icmphdr head{};
    head.type = ICMP_ECHO;
    head.un.echo.sequence = htons(1);
    const auto id = static_cast<uint16_t>(getpid() & 0xFFFF);
    head.un.echo.id = htons(id);
    std::memcpy(packet.data(), &head, sizeof head);
    std::memcpy(packet.data() + sizeof head, data.data(), data.size());
    if (raw) {
        const uint16_t sum = Checksum(packet);
        packet[2] = static_cast<unsigned char>(sum >> 8);
        packet[3] = static_cast<unsigned char>(sum & 0xFF);
    }
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_addr = address;
    const auto start = std::chrono::steady_clock::now();
    if (sendto(fd, packet.data(), packet.size(), 0, reinterpret_cast<sockaddr*>(&to), sizeof to) <
        0) {
        return -1;
    }
    std::vector<unsigned char> reply(60 + sizeof(icmphdr) + data.size() + 8);
    for (;;) {
        const auto spent = std::chrono::duration_cast<std::chrono::milliseconds>(
                               std::chrono::steady_clock::now() - start)
                               .count();
        pollfd p{fd, POLLIN, 0};
        const int left = static_cast<int>(std::max<long long>(0, timeoutMS - spent));
        const int ready = poll(&p, 1, left);
        if (ready <= 0) {
            errno = ready == 0 ? ETIMEDOUT : errno;
            return -1;
        }
        ssize_t length = 0;
        const unsigned char* icmp = IcmpOf(reply, recv(fd, reply.data(), reply.size(), 0), raw,
                                           length);
        // A raw socket sees every echo reply of the machine: only ours counts.
        const bool ours = !raw || (length >= 6 && icmp[4] == (id >> 8) && icmp[5] == (id & 0xFF));
        if (length >= static_cast<ssize_t>(sizeof(icmphdr)) && icmp[0] == ICMP_ECHOREPLY && ours) {
            return static_cast<int32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                            std::chrono::steady_clock::now() - start)
                                            .count());
        }
    }
}

} // namespace

bool cNET::Ping(const std::string& IP, int32_t TimeoutMS, const std::string& Data)
{
    pingStatus = 0;
    in_addr address{};
    if (!DottedAddress(IP, address)) {
        pingReason = kNoAddress;
        return false;
    }
    bool raw = false;
    const int fd = OpenEchoSocket(raw);
    if (fd < 0) {
        pingReason = kNoSocket;
        pingStatus = errno;
        return false;
    }
    bool result = false;
    const int32_t took = EchoRoundTrip(fd, raw, address, TimeoutMS, Data);
    if (took < 0) {
        pingReason = kNoReply;
        pingStatus = errno;
    } else {
        pingTime = took;
        result = true;
    }
    if (close(fd) != 0) {
        pingReason = kCloseFailed;
        pingStatus = errno;
        result = false;
    }
    return result;
}

int32_t cNET::Resolve(const std::string& NameOrIP, std::string& IP)
{
    const std::string name = TrimBlanks(NameOrIP);
    in_addr address{};
    if (inet_pton(AF_INET, name.c_str(), &address) == 1) {
        IP = name;
        return 0;
    }
    if (name.empty()) {
        return EAI_NONAME;
    }
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    const int code = getaddrinfo(name.c_str(), nullptr, &hints, &found);
    if (code != 0 || found == nullptr) {
        return code != 0 ? code : 1;
    }
    char text[INET_ADDRSTRLEN] = {};
    const auto* in = reinterpret_cast<const sockaddr_in*>(found->ai_addr);
    const bool ok = inet_ntop(AF_INET, &in->sin_addr, text, sizeof text) != nullptr;
    freeaddrinfo(found);
    if (!ok) {
        return 1;
    }
    IP = text;
    return 0;
}
