// The visual-debugger connection: made when someone listens, silent when nobody does.
#include "physics/px/PxPhysicsAPI.h"
#include "support/GLContext.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <cstring>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

using namespace physx;

namespace {

// A loopback listener on a free port.
struct Listener {
    int fd = -1;
    int port = 0;
    explicit Listener(int backlog = 1) {
        fd = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof(a));
        ::listen(fd, backlog);
        socklen_t len = sizeof(a);
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &len);
        port = ntohs(a.sin_port);
    }
    ~Listener() { ::close(fd); }
    int accept(int timeoutMs) const {
        pollfd p{fd, POLLIN, 0};
        return ::poll(&p, 1, timeoutMs) == 1 ? ::accept(fd, nullptr, nullptr) : -1;
    }
};

// Reads up to n bytes, waiting at most timeoutMs for each.
std::vector<unsigned char> readSome(int fd, size_t n, int timeoutMs) {
    std::vector<unsigned char> bytes;
    while (bytes.size() < n) {
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, timeoutMs) != 1)
            break;
        unsigned char buffer[64];
        const ssize_t got = ::recv(fd, buffer, std::min(sizeof(buffer), n - bytes.size()), 0);
        if (got <= 0)
            break;
        bytes.insert(bytes.end(), buffer, buffer + got);
    }
    return bytes;
}

} // namespace

TEST(PxPvd, ConnectsToAListenerAnnouncesTheStreamAndClosesCleanly) {
    PxDefaultAllocator allocator;
    PxDefaultErrorCallback errors;
    PxFoundation* foundation = PxCreateFoundation(PX_PHYSICS_VERSION, allocator, errors);
    Listener listener;
    PxPvd* pvd = PxCreatePvd(*foundation);
    PxPvdTransport* transport = PxDefaultPvdSocketTransportCreate("127.0.0.1", listener.port, 10);
    EXPECT_FALSE(transport->isConnected()); // creating does not connect
    ASSERT_TRUE(pvd->connect(*transport, PxPvdInstrumentationFlag::eALL));
    EXPECT_TRUE(pvd->isConnected());
    EXPECT_EQ(pvd->getInstrumentationFlags(), PxPvdInstrumentationFlag::eDEBUG |
                                                  PxPvdInstrumentationFlag::ePROFILE |
                                                  PxPvdInstrumentationFlag::eMEMORY);
    const int peer = listener.accept(1000);
    ASSERT_GE(peer, 0);
    const std::vector<unsigned char> header = readSome(peer, 28, 1000);
    const std::vector<unsigned char> expected = {0x82, 0xe8, 0xe5, 0x31, 1, 0, 0, 0, 10, 0, 0, 0, 0, 0,
                                                 0,    0,    10,   0,    0, 0, 0, 0, 0,  0, 1, 0, 0, 0};
    EXPECT_EQ(header, expected);
    pvd->release();
    transport->release();
    // The other end sees an orderly end of stream.
    pollfd p{peer, POLLIN, 0};
    ASSERT_EQ(::poll(&p, 1, 1000), 1);
    char c;
    EXPECT_EQ(::recv(peer, &c, 1, 0), 0);
    ::close(peer);
    foundation->release();
}

TEST(PxPvd, NobodyListeningFailsSilently) {
    PxDefaultAllocator allocator;
    PxDefaultErrorCallback errors;
    PxFoundation* foundation = PxCreateFoundation(PX_PHYSICS_VERSION, allocator, errors);
    int freePort;
    {
        Listener closedAgain;
        freePort = closedAgain.port;
    }
    CoutCapture out;
    PxPvd* pvd = PxCreatePvd(*foundation);
    PxPvdTransport* refused = PxDefaultPvdSocketTransportCreate("127.0.0.1", freePort, 10);
    PxPvdTransport* badHost = PxDefaultPvdSocketTransportCreate("", 5425, 10);
    EXPECT_FALSE(pvd->connect(*refused, PxPvdInstrumentationFlag::eALL));
    EXPECT_FALSE(pvd->isConnected());
    EXPECT_FALSE(badHost->connect());
    EXPECT_TRUE(out.lines().empty());
    pvd->release();
    refused->release();
    badHost->release();
    foundation->release();
}
