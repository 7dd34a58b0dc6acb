#include "physics/px/PxPvd.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <mutex>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <set>
#include <sys/socket.h>
#include <unistd.h>

namespace physx {

namespace {

// Sockets still open when the process exits get a proper shutdown rather than a reset from the kernel.
class OpenSockets {
  public:
    static OpenSockets& get() {
        static OpenSockets instance;
        return instance;
    }
    void add(int fd) {
        std::lock_guard<std::mutex> lock(mutex);
        fds.insert(fd);
    }
    void close(int fd) {
        {
            std::lock_guard<std::mutex> lock(mutex);
            fds.erase(fd);
        }
        shutdownAndClose(fd);
    }
    ~OpenSockets() {
        for (int fd : fds)
            shutdownAndClose(fd);
    }

  private:
    static void shutdownAndClose(int fd) {
        ::shutdown(fd, SHUT_RDWR);
        ::close(fd);
    }
    std::mutex mutex;
    std::set<int> fds;
};

bool resolveIpv4(const std::string& host, int port, sockaddr_in& out) {
    std::memset(&out, 0, sizeof(out));
    out.sin_family = AF_INET;
    out.sin_port = htons(static_cast<uint16_t>(port));
    if (inet_pton(AF_INET, host.c_str(), &out.sin_addr) == 1)
        return true;
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (getaddrinfo(host.c_str(), nullptr, &hints, &found) != 0 || !found)
        return false;
    out.sin_addr = reinterpret_cast<sockaddr_in*>(found->ai_addr)->sin_addr;
    freeaddrinfo(found);
    return true;
}

class SocketTransport : public PxPvdTransport {
  public:
    SocketTransport(const char* h, int p, unsigned int t) : host(h ? h : ""), port(p), timeoutMs(t) {}

    bool connect() override {
        if (fd >= 0)
            return true;
        sockaddr_in address;
        if (port <= 0 || port > 65535 || !resolveIpv4(host, port, address))
            return false;
        const int s = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
        if (s < 0)
            return false;
        if (!finishConnect(s, address)) {
            ::close(s);
            return false;
        }
        // Writes are small and rare: blocking mode keeps them simple.
        ::fcntl(s, F_SETFL, ::fcntl(s, F_GETFL) & ~O_NONBLOCK);
        fd = s;
        OpenSockets::get().add(fd);
        return true;
    }

    void disconnect() override {
        if (fd < 0)
            return;
        OpenSockets::get().close(fd);
        fd = -1;
    }

    bool isConnected() override { return fd >= 0; }

    bool write(const PxU8* bytes, PxU32 length) override {
        while (fd >= 0 && length > 0) {
            const ssize_t sent = ::send(fd, bytes, length, MSG_NOSIGNAL);
            if (sent < 0 && errno == EINTR)
                continue;
            if (sent <= 0) {
                disconnect();
                return false;
            }
            bytes += sent;
            length -= static_cast<PxU32>(sent);
        }
        return fd >= 0;
    }

    void release() override {
        disconnect();
        delete this;
    }

  private:
    bool finishConnect(int s, const sockaddr_in& address) {
        if (::connect(s, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) == 0)
            return true;
        if (errno != EINPROGRESS)
            return false;
        pollfd p{s, POLLOUT, 0};
        int ready;
        do {
            ready = ::poll(&p, 1, static_cast<int>(timeoutMs));
        } while (ready < 0 && errno == EINTR);
        if (ready <= 0)
            return false;
        int error = 0;
        socklen_t len = sizeof(error);
        return ::getsockopt(s, SOL_SOCKET, SO_ERROR, &error, &len) == 0 && error == 0;
    }

    std::string host;
    int port;
    unsigned int timeoutMs;
    int fd = -1;
};

// Stream announcement a debugger expects first: stream id, protocol version 1, a 10/10 tick ratio and the
// 64-bit-pointer flag, all little-endian.
const PxU8 streamHeader[28] = {0x82, 0xe8, 0xe5, 0x31, 0x01, 0x00, 0x00, 0x00, 0x0a, 0x00,
                               0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x0a, 0x00, 0x00, 0x00,
                               0x00, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00};

} // namespace

PxPvdTransport* PxDefaultPvdSocketTransportCreate(const char* host, int port,
                                                  unsigned int timeoutInMilliseconds) {
    return new SocketTransport(host, port, timeoutInMilliseconds);
}

bool PxPvd::connect(PxPvdTransport& t, PxPvdInstrumentationFlags f) {
    if (transport && transport->isConnected())
        return true;
    transport = &t;
    flags = f;
    if (!transport->connect())
        return false;
    return transport->write(streamHeader, sizeof(streamHeader));
}

void PxPvd::disconnect() {
    if (transport)
        transport->disconnect();
}

bool PxPvd::isConnected(bool) {
    return transport && transport->isConnected();
}

void PxPvd::release() {
    disconnect();
    delete this;
}

PxPvd* PxCreatePvd(PxFoundation&) {
    return new PxPvd();
}

} // namespace physx
