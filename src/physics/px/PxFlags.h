#pragma once

#include "physics/px/PxSimpleTypes.h"

namespace physx {

// A set of bits of one enum, combined with | and tested with & or isSet.
template <typename EnumT, typename StorageT> class PxFlags {
  public:
    PxFlags() : bits(0) {}
    PxFlags(EnumT e) : bits(static_cast<StorageT>(e)) {}
    explicit PxFlags(StorageT b) : bits(b) {}

    bool isSet(EnumT e) const { return (bits & static_cast<StorageT>(e)) == static_cast<StorageT>(e); }
    PxFlags& raise(EnumT e) {
        bits |= static_cast<StorageT>(e);
        return *this;
    }
    PxFlags& clear(EnumT e) {
        bits &= ~static_cast<StorageT>(e);
        return *this;
    }

    PxFlags operator|(EnumT e) const {
        return PxFlags(static_cast<StorageT>(bits | static_cast<StorageT>(e)));
    }
    PxFlags operator|(PxFlags f) const { return PxFlags(static_cast<StorageT>(bits | f.bits)); }
    PxFlags& operator|=(EnumT e) { return raise(e); }
    PxFlags& operator|=(PxFlags f) {
        bits |= f.bits;
        return *this;
    }
    PxFlags operator&(EnumT e) const {
        return PxFlags(static_cast<StorageT>(bits & static_cast<StorageT>(e)));
    }
    PxFlags operator&(PxFlags f) const { return PxFlags(static_cast<StorageT>(bits & f.bits)); }
    PxFlags& operator&=(PxFlags f) {
        bits &= f.bits;
        return *this;
    }
    PxFlags operator~() const { return PxFlags(static_cast<StorageT>(~bits)); }
    bool operator==(PxFlags f) const { return bits == f.bits; }
    bool operator!=(PxFlags f) const { return bits != f.bits; }
    bool operator==(EnumT e) const { return bits == static_cast<StorageT>(e); }
    bool operator!=(EnumT e) const { return bits != static_cast<StorageT>(e); }
    explicit operator bool() const { return bits != 0; }
    explicit operator StorageT() const { return bits; }

  private:
    StorageT bits;
};

// Lets two enumerators of a flag enum combine into its flag set, as in A::eX | A::eY.
#define PX_FLAGS_OPERATORS(EnumT, StorageT)                                                                  \
    inline PxFlags<EnumT, StorageT> operator|(EnumT a, EnumT b) {                                            \
        return PxFlags<EnumT, StorageT>(a) | b;                                                              \
    }                                                                                                        \
    inline PxFlags<EnumT, StorageT> operator&(EnumT a, EnumT b) {                                            \
        return PxFlags<EnumT, StorageT>(a) & b;                                                              \
    }

} // namespace physx
