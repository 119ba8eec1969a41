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

    // Where the head-up display sits: at the first locator, in the ship's frame.
    vm::Mat4 cockpitMatrix() const {
        vm::Mat4 world;
        worldMatrix(world);
        if (locators.empty()) return world;
        const Locator& l = locators.front();
        return vm::rotationQuaternion(l.orientation) *
               vm::translation(l.position.x, l.position.y, l.position.z) * world;
    }

    // Every view's camera in flight: at the ship, looking along its z axis, its y axis up.
    vm::Mat4 cockpitView() const {
        const vm::Mat4 r = vm::rotationQuaternion(orientation);
        return vm::lookToRH(position, {r[2][0], r[2][1], r[2][2], 0},
                            {r[1][0], r[1][1], r[1][2], 0});
    }

    // Back where it started: at the origin, unturned, at rest.
    void goHome() {
        position = {};
        orientation = {0, 0, 0, 1};
        velocity = {};
        angularVelocity = {};
    }
    bool atHome() const {
        return position.x == 0 && position.y == 0 && position.z == 0 && velocity.x == 0 &&
               velocity.y == 0 && velocity.z == 0 && orientation.x == 0 && orientation.y == 0 &&
               orientation.z == 0 && orientation.w == 1;
    }

    // position += velocity × dt.
    void drift(float dt) {
        position.x += velocity.x * dt;
        position.y += velocity.y * dt;
        position.z += velocity.z * dt;
    }
};
