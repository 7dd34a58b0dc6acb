#pragma once

#include "physics/px/PxSimpleTypes.h"

#include <cmath>

namespace physx {

class PxVec3 {
  public:
    PxReal x, y, z;

    PxVec3() : x(0), y(0), z(0) {}
    explicit PxVec3(PxReal a) : x(a), y(a), z(a) {}
    PxVec3(PxReal nx, PxReal ny, PxReal nz) : x(nx), y(ny), z(nz) {}

    PxReal& operator[](unsigned i) { return (&x)[i]; }
    const PxReal& operator[](unsigned i) const { return (&x)[i]; }

    PxVec3 operator-() const { return PxVec3(-x, -y, -z); }
    PxVec3 operator+(const PxVec3& v) const { return PxVec3(x + v.x, y + v.y, z + v.z); }
    PxVec3 operator-(const PxVec3& v) const { return PxVec3(x - v.x, y - v.y, z - v.z); }
    PxVec3 operator*(PxReal f) const { return PxVec3(x * f, y * f, z * f); }
    PxVec3 operator/(PxReal f) const { return PxVec3(x / f, y / f, z / f); }
    PxVec3& operator+=(const PxVec3& v) {
        x += v.x, y += v.y, z += v.z;
        return *this;
    }
    PxVec3& operator-=(const PxVec3& v) {
        x -= v.x, y -= v.y, z -= v.z;
        return *this;
    }
    PxVec3& operator*=(PxReal f) {
        x *= f, y *= f, z *= f;
        return *this;
    }
    bool operator==(const PxVec3& v) const { return x == v.x && y == v.y && z == v.z; }
    bool operator!=(const PxVec3& v) const { return !(*this == v); }

    PxReal dot(const PxVec3& v) const { return x * v.x + y * v.y + z * v.z; }
    PxVec3 cross(const PxVec3& v) const {
        return PxVec3(y * v.z - z * v.y, z * v.x - x * v.z, x * v.y - y * v.x);
    }
    PxVec3 multiply(const PxVec3& v) const { return PxVec3(x * v.x, y * v.y, z * v.z); }
    PxReal magnitudeSquared() const { return dot(*this); }
    PxReal magnitude() const { return std::sqrt(magnitudeSquared()); }
    bool isZero() const { return x == 0 && y == 0 && z == 0; }
    // PhysX's tolerance: unit length to within 1e-4.
    bool isNormalized() const { return std::fabs(magnitude() - 1.0f) < 1e-4f; }
    PxVec3 getNormalized() const {
        const PxReal m = magnitudeSquared();
        return m > 0 ? *this * (1.0f / std::sqrt(m)) : PxVec3(0);
    }
    PxReal normalize() {
        const PxReal m = magnitude();
        if (m > 0)
            *this *= 1.0f / m;
        return m;
    }
};

inline PxVec3 operator*(PxReal f, const PxVec3& v) {
    return v * f;
}

} // namespace physx
