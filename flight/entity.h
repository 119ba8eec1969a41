// Things the frame loop places in the scene as models.
#pragma once

#include "core/vector-math.h"

class IEntity {
  public:
    // Writes the entity's world matrix into m and returns it.
    virtual vm::Mat4& worldMatrix(vm::Mat4& m) const = 0;

  protected:
    ~IEntity() = default;
};
