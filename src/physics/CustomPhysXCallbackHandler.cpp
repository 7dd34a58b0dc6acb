#include "physics/CustomPhysXCallbackHandler.h"

#include "physics/GameRules.h"
#include "physics/px/PxRigidActor.h"

#include <iostream>
#include <string>

using namespace physx;

void CustomPhysXCallbackHandler::onConstraintBreak(PxConstraintInfo*, PxU32) {}
void CustomPhysXCallbackHandler::onWake(PxActor**, PxU32) {}
void CustomPhysXCallbackHandler::onSleep(PxActor**, PxU32) {}
void CustomPhysXCallbackHandler::onTrigger(PxTriggerPair*, PxU32) {}
void CustomPhysXCallbackHandler::onAdvance(const PxRigidBody* const*, const PxTransform*, const PxU32) {}

void CustomPhysXCallbackHandler::onContact(const PxContactPairHeader& pairHeader, const PxContactPair* pairs,
                                           PxU32 nbPairs) {
    // An unnamed actor (a plane made without a name, say) matches no rule rather than crashing.
    const auto nameOf = [](const PxRigidActor* actor) {
        const char* name = actor ? actor->getName() : nullptr;
        return std::string(name ? name : "");
    };
    for (PxU32 i = 0; i < nbPairs; ++i) {
        if (!pairs[i].events.isSet(PxPairFlag::eNOTIFY_TOUCH_FOUND))
            continue;
        const gamerules::Outcome outcome =
            gamerules::decide(nameOf(pairHeader.actors[0]), nameOf(pairHeader.actors[1]));
        if (outcome == gamerules::Outcome::None)
            continue;
        const bool won = outcome == gamerules::Outcome::Won;
        std::cout << (won ? gamerules::wonLine : gamerules::lostLine) << std::endl;
        const char* newName = won ? gamerules::wonName : gamerules::lostName;
        pairHeader.actors[0]->setName(newName);
        pairHeader.actors[1]->setName(newName);
        return;
    }
}
