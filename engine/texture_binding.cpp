// The texture bound for drawing and the pictures' visible parts and polygons.
#include "engine/texture_binding.h"

#include "engine/sprite_batch.h"

#include <algorithm>
#include <unordered_map>

namespace {
GLuint bound_texture = 0;
bool bound_texture_known = false;
std::unordered_map<GLuint, OpaqueBounds> opaque_bounds;
std::unordered_map<GLuint, VisibleHull> visible_hulls;
std::vector<GLuint> remembered;
// The shapes of the bound texture, looked up once per bind rather than once per sprite.
const OpaqueBounds* bound_bounds = nullptr;
const VisibleHull* bound_hull = nullptr;

void LookUpBoundShapes()
{
    auto b = opaque_bounds.find(bound_texture);
    bound_bounds = bound_texture_known && b != opaque_bounds.end() ? &b->second : nullptr;
    auto h = visible_hulls.find(bound_texture);
    bound_hull = bound_texture_known && h != visible_hulls.end() ? &h->second : nullptr;
}
} // namespace

void BindTexture(GLuint tex)
{
    if (bound_texture_known && bound_texture == tex)
        return;
    // What the batch holds was appended for the texture bound until now.
    SpriteBatch::Flush();
    glBindTexture(GL_TEXTURE_2D, tex);
    bound_texture = tex;
    bound_texture_known = true;
    LookUpBoundShapes();
}

void ForgetBoundTexture()
{
    bound_texture_known = false;
    LookUpBoundShapes();
}

GLuint BoundTexture() { return bound_texture_known ? bound_texture : 0; }

void SetOpaqueBounds(GLuint tex, const OpaqueBounds* bounds)
{
    if (bounds)
        opaque_bounds[tex] = *bounds;
    else
        opaque_bounds.erase(tex);
    LookUpBoundShapes();
}

const OpaqueBounds* BoundOpaqueBounds() { return bound_bounds; }

void SetVisibleHull(GLuint tex, const VisibleHull* hull)
{
    if (hull)
        visible_hulls[tex] = *hull;
    else
        visible_hulls.erase(tex);
    LookUpBoundShapes();
}

const VisibleHull* BoundVisibleHull() { return bound_hull; }

void ForgetPictureShape(GLuint tex)
{
    // The texture may be about to go: nothing held may still draw with it.
    SpriteBatch::Flush();
    opaque_bounds.erase(tex);
    visible_hulls.erase(tex);
    remembered.erase(std::remove(remembered.begin(), remembered.end(), tex), remembered.end());
    LookUpBoundShapes();
}

void RememberTexture(GLuint tex)
{
    if (tex != 0 && std::find(remembered.begin(), remembered.end(), tex) == remembered.end())
        remembered.push_back(tex);
}

const std::vector<GLuint>& RememberedTextures() { return remembered; }
