#include "physics/px/PxRigidBodyExt.h"

#include "physics/px/PxShape.h"

namespace physx {

namespace {

const PxReal pi = 3.14159265358979f;

struct MassProperties {
    PxReal mass = 0;
    PxVec3 inertia; // about the centre, along the shape's axes
};

// Solid of uniform density, centred at the shape's origin.
MassProperties massOf(const PxShape& shape, PxReal density) {
    MassProperties m;
    switch (shape.getGeometryType()) {
    case PxGeometryType::eSPHERE: {
        PxSphereGeometry g;
        shape.getSphereGeometry(g);
        const PxReal r = g.radius;
        m.mass = density * (4.0f / 3.0f) * pi * r * r * r;
        m.inertia = PxVec3(0.4f * m.mass * r * r);
        break;
    }
    case PxGeometryType::eBOX: {
        PxBoxGeometry g;
        shape.getBoxGeometry(g);
        const PxVec3 h = g.halfExtents;
        m.mass = 8.0f * density * h.x * h.y * h.z;
        m.inertia =
            PxVec3(h.y * h.y + h.z * h.z, h.x * h.x + h.z * h.z, h.x * h.x + h.y * h.y) * (m.mass / 3.0f);
        break;
    }
    case PxGeometryType::eCAPSULE: {
        // A cylinder of length 2h along x plus two hemispheres, each term with its parallel-axis shift.
        PxCapsuleGeometry g;
        shape.getCapsuleGeometry(g);
        const PxReal r = g.radius, h = g.halfHeight;
        const PxReal base = density * pi * r * r;
        m.mass = base * ((4.0f / 3.0f) * r + 2.0f * h);
        const PxReal ix = base * ((8.0f / 15.0f) * r * r * r + h * r * r);
        const PxReal iyz = base * ((8.0f / 15.0f) * r * r * r + 1.5f * h * r * r + (4.0f / 3.0f) * h * h * r +
                                   (2.0f / 3.0f) * h * h * h);
        m.inertia = PxVec3(ix, iyz, iyz);
        break;
    }
    default:
        break; // planes have no mass
    }
    return m;
}

} // namespace

bool PxRigidBodyExt::updateMassAndInertia(PxRigidBody& body, PxReal density) {
    // Every shape sits at the body's origin, so the parts share one centre and one set of axes and their
    // masses and inertias simply add up. A shared shape counts fully on each body it is attached to.
    MassProperties total;
    for (const PxShape* shape : body.shapes) {
        if (!shape->getFlags().isSet(PxShapeFlag::eSIMULATION_SHAPE))
            continue;
        const MassProperties part = massOf(*shape, density);
        total.mass += part.mass;
        total.inertia += part.inertia;
    }
    const bool found = total.mass > 0;
    body.mass = found ? total.mass : 1.0f;
    body.inertia = found ? total.inertia : PxVec3(1.0f);
    body.massChanged = true;
    return found;
}

} // namespace physx
