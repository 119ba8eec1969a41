// The ship: the edited model is the shape that flies in flight mode.
#pragma once

#include "core/vector-math.h"
#include "flight/entity.h"
#include "model/model.h"

class Vaisseau : public IEntity, public Model {
  public:
    vm::Vec4 position{};
    vm::Quat orientation{0, 0, 0, 1}; // not renormalised
    vm::Vec4 velocity{};
    vm::Vec4 angularVelocity{}; // body rates: x pitch, y yaw, z roll

    // R(orientation) × T(position).
    vm::Mat4& worldMatrix(vm::Mat4& m) const override {
        m = vm::rotationQuaternion(orientation) * vm::translation(position);
        return m;
    }

    // position += velocity × dt.
    void drift(float dt) {
        position.x += velocity.x * dt;
        position.y += velocity.y * dt;
        position.z += velocity.z * dt;
    }
};
