#pragma once

#include "physics/px/PxTransform.h"
#include "physics/px/PxVec4.h"

namespace physx {

// Column-major 4x4 matrix; front() gives the 16 floats in the order OpenGL and GLM expect.
class PxMat44 {
  public:
    PxVec4 column0, column1, column2, column3;

    PxMat44() : column0(1, 0, 0, 0), column1(0, 1, 0, 0), column2(0, 0, 1, 0), column3(0, 0, 0, 1) {}
    explicit PxMat44(PxIDENTITY) : PxMat44() {}
    PxMat44(const PxVec4& col0, const PxVec4& col1, const PxVec4& col2, const PxVec4& col3)
        : column0(col0), column1(col1), column2(col2), column3(col3) {}
    explicit PxMat44(const PxQuat& q) : PxMat44(PxTransform(q)) {}
    PxMat44(const PxTransform& t) {
        const PxQuat& q = t.q;
        const PxReal x2 = q.x + q.x, y2 = q.y + q.y, z2 = q.z + q.z;
        const PxReal xx = x2 * q.x, yy = y2 * q.y, zz = z2 * q.z;
        const PxReal xy = x2 * q.y, xz = x2 * q.z, xw = x2 * q.w;
        const PxReal yz = y2 * q.z, yw = y2 * q.w, zw = z2 * q.w;
        column0 = PxVec4(1.0f - yy - zz, xy + zw, xz - yw, 0.0f);
        column1 = PxVec4(xy - zw, 1.0f - xx - zz, yz + xw, 0.0f);
        column2 = PxVec4(xz + yw, yz - xw, 1.0f - xx - yy, 0.0f);
        column3 = PxVec4(t.p, 1.0f);
    }

    PxVec4& operator[](unsigned col) { return (&column0)[col]; }
    const PxVec4& operator[](unsigned col) const { return (&column0)[col]; }
    PxReal operator()(unsigned row, unsigned col) const { return (*this)[col][row]; }
    PxVec3 getPosition() const { return column3.getXYZ(); }
    PxVec3 transform(const PxVec3& v) const {
        return column0.getXYZ() * v.x + column1.getXYZ() * v.y + column2.getXYZ() * v.z + column3.getXYZ();
    }
    const PxReal* front() const { return &column0.x; }
};

} // namespace physx
