// The texture bound for drawing and the pictures' visible parts.
#include "engine/texture_binding.h"

#include <unordered_map>

namespace {
GLuint bound_texture = 0;
bool bound_texture_known = false;
std::unordered_map<GLuint, OpaqueBounds> opaque_bounds;
} // namespace

void BindTexture(GLuint tex)
{
    if (bound_texture_known && bound_texture == tex)
        return;
    glBindTexture(GL_TEXTURE_2D, tex);
    bound_texture = tex;
    bound_texture_known = true;
}

void ForgetBoundTexture() { bound_texture_known = false; }

void SetOpaqueBounds(GLuint tex, const OpaqueBounds* bounds)
{
    if (bounds)
        opaque_bounds[tex] = *bounds;
    else
        opaque_bounds.erase(tex);
}

const OpaqueBounds* BoundOpaqueBounds()
{
    if (!bound_texture_known)
        return nullptr;
    auto it = opaque_bounds.find(bound_texture);
    return it == opaque_bounds.end() ? nullptr : &it->second;
}
