#pragma once

#include "physics/px/PxFlags.h"
#include "physics/px/PxFoundation.h"

#include <string>

namespace physx {

struct PxPvdInstrumentationFlag {
    enum Enum { eDEBUG = 1 << 0, ePROFILE = 1 << 1, eMEMORY = 1 << 2, eALL = (eDEBUG | ePROFILE | eMEMORY) };
};
typedef PxFlags<PxPvdInstrumentationFlag::Enum, PxU8> PxPvdInstrumentationFlags;
PX_FLAGS_OPERATORS(PxPvdInstrumentationFlag::Enum, PxU8)

// Byte stream to a visual debugger.
class PxPvdTransport {
  public:
    // Tries to reach the other end once; false, silently, if nobody answers in time.
    virtual bool connect() = 0;
    virtual void disconnect() = 0;
    virtual bool isConnected() = 0;
    virtual bool write(const PxU8* inBytes, PxU32 inLength) = 0;
    virtual void release() = 0;

  protected:
    virtual ~PxPvdTransport() {}
};

// TCP transport. Creation only stores host, port and the connect time-out in milliseconds; connect() makes a
// non-blocking connection and waits at most that long. An open connection is closed by disconnect(),
// release() or, at the latest, when the process exits.
PxPvdTransport* PxDefaultPvdSocketTransportCreate(const char* host, int port,
                                                  unsigned int timeoutInMilliseconds);

// The visual-debugger client. It only opens the connection and announces the stream (the 28-byte stream
// header); no scene data is sent.
class PxPvd {
  public:
    // Returns whether the transport connected. Failure prints nothing.
    bool connect(PxPvdTransport& transport, PxPvdInstrumentationFlags flags);
    void disconnect();
    bool isConnected(bool useCachedStatus = true);
    PxPvdTransport* getTransport() { return transport; }
    PxPvdInstrumentationFlags getInstrumentationFlags() { return flags; }
    // Disconnects; the transport stays alive and is released by its owner.
    void release();

  private:
    friend PxPvd* PxCreatePvd(PxFoundation&);
    PxPvd() = default;
    ~PxPvd() = default;

    PxPvdTransport* transport = nullptr;
    PxPvdInstrumentationFlags flags;
};

PxPvd* PxCreatePvd(PxFoundation& foundation);

} // namespace physx
