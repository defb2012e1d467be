// cNET, ping and name resolution: an ICMP echo through the system's unprivileged echo
// sockets (no raw socket, so no special rights where the system allows this user to ping)
// and IPv4 look-ups through the resolver. Neither changes the error number.
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

// Sends the echo and waits for its reply; the round trip in milliseconds, or -1 with errno.
int32_t EchoRoundTrip(int fd, const in_addr& address, int32_t timeoutMS, const std::string& data)
{
    std::vector<unsigned char> packet(sizeof(icmphdr) + data.size());
    icmphdr head{};
    head.type = ICMP_ECHO;
    head.un.echo.sequence = htons(1);
    std::memcpy(packet.data(), &head, sizeof head);
    std::memcpy(packet.data() + sizeof head, data.data(), data.size());
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_addr = address;
    const auto start = std::chrono::steady_clock::now();
    if (sendto(fd, packet.data(), packet.size(), 0, reinterpret_cast<sockaddr*>(&to), sizeof to) <
        0) {
        return -1;
    }
    std::vector<unsigned char> reply(sizeof(icmphdr) + data.size() + 8);
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
        const ssize_t n = recv(fd, reply.data(), reply.size(), 0);
        if (n >= static_cast<ssize_t>(sizeof(icmphdr)) && reply[0] == ICMP_ECHOREPLY) {
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
    const int fd = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, IPPROTO_ICMP);
    if (fd < 0) {
        pingReason = kNoSocket;
        pingStatus = errno;
        return false;
    }
    bool result = false;
    const int32_t took = EchoRoundTrip(fd, address, TimeoutMS, Data);
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
