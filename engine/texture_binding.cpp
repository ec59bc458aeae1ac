// The texture bound for drawing and the pictures' visible parts and polygons.
#include "engine/texture_binding.h"

#include <unordered_map>

namespace {
GLuint bound_texture = 0;
bool bound_texture_known = false;
std::unordered_map<GLuint, OpaqueBounds> opaque_bounds;
std::unordered_map<GLuint, VisibleHull> visible_hulls;
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

void SetVisibleHull(GLuint tex, const VisibleHull* hull)
{
    if (hull)
        visible_hulls[tex] = *hull;
    else
        visible_hulls.erase(tex);
}

const VisibleHull* BoundVisibleHull()
{
    if (!bound_texture_known)
        return nullptr;
    auto it = visible_hulls.find(bound_texture);
    return it == visible_hulls.end() ? nullptr : &it->second;
}

void ForgetPictureShape(GLuint tex)
{
    opaque_bounds.erase(tex);
    visible_hulls.erase(tex);
}
