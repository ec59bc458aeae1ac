// Panels: loading panel files into textures and buttons, hit tests and drawing.
#include "engine/guilab.h"

#include "engine/draw.h"
#include "engine/panel_format.h"
#include "engine/texture.h"
#include "engine/texture_binding.h"

#include <GL/gl.h>
#include <cstdio>
#include <sys/stat.h>
#include <vector>

namespace {

// The handle that names no texture: what an out-of-range picture index gives.
constexpr GLuint kNoTexture = static_cast<GLuint>(-1);

// A panel file is untrusted: every read is checked against what the file still
// holds, so no count or size in it can make us read past its end or allocate
// more than the file itself could fill.
class PanelFileReader {
public:
    explicit PanelFileReader(FILE* f) : file(f), remaining(0)
    {
        struct stat st;
        if (fstat(fileno(f), &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0)
            remaining = static_cast<int64_t>(st.st_size);
    }

    int64_t Remaining() const { return remaining; }

    bool Read(void* dst, int64_t n)
    {
        if (n < 0 || n > remaining)
            return false;
        if (n > 0 && std::fread(dst, 1, static_cast<size_t>(n), file) != static_cast<size_t>(n)) {
            remaining = 0;
            return false;
        }
        remaining -= n;
        return true;
    }

    bool Skip(int64_t n)
    {
        if (n < 0 || n > remaining || std::fseek(file, static_cast<long>(n), SEEK_CUR) != 0)
            return false;
        remaining -= n;
        return true;
    }

    bool ReadInt32(int32_t* v)
    {
        unsigned char b[PanelFile::kIntBytes];
        if (!Read(b, sizeof b))
            return false;
        *v = PanelFile::DecodeInt32(b);
        return true;
    }

private:
    FILE* file;
    int64_t remaining;
};

// The pointer on the 512 x 512 virtual screen. A window without width or height
// has no virtual screen, so the pointer is then over nothing.
bool VirtualPointer(int* tx, int* ty)
{
    using namespace GUILab_inf;
    if (device_w <= 0 || device_h <= 0)
        return false;
    float fx, fy;
    if (!landscape) {
        fx = cursor.x * 512.0f / static_cast<float>(device_w);
        fy = 512.0f - cursor.y * 512.0f / static_cast<float>(device_h);
    } else {
        fx = 512.0f - cursor.y * 512.0f / static_cast<float>(device_h);
        fy = 512.0f - cursor.x * 512.0f / static_cast<float>(device_w);
    }
    // Far outside the window is still outside; keep the truncation defined.
    if (!(fx > -1.0e9f && fx < 1.0e9f && fy > -1.0e9f && fy < 1.0e9f))
        return false;
    *tx = static_cast<int>(fx);
    *ty = static_cast<int>(fy);
    return true;
}

bool HitTest(const GUILab::Button& b)
{
    int tx = 0, ty = 0;
    if (!VirtualPointer(&tx, &ty))
        return false;
    float px = static_cast<float>(tx), py = static_cast<float>(ty);
    return b.position.x - b.w < px && px < b.position.x + b.w && b.position.y - b.h < py &&
           py < b.position.y + b.h;
}

bool HasRegion(const GUILab& panel) { return panel.x + panel.y + panel.w + panel.h > 0.0f; }

// Buttons share one drawing state: the virtual screen, texturing and blending
// are set once for all the buttons of a panel, not once per button.
void BeginButtons()
{
    PushVirtualScreen();
    glEnable(GL_BLEND);
    glEnable(GL_TEXTURE_2D);
    SpriteBatch::SetBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
}

void EndButtons()
{
    SpriteBatch::Flush();
    glDisable(GL_BLEND);
    PopVirtualScreen();
}

void DrawButton(const GUILab::Button& b)
{
    BindTexture(b.pattern);
    Transform2D at;
    if (!GUILab_inf::landscape)
        at = at.Translated(b.position.x, b.position.y);
    else
        at = at.Translated(512.0f - b.position.y, b.position.x).Rotated(90.0f);
    SpriteBatch::Sprite(at.Scaled(b.flip_x ? -b.w : b.w, b.flip_y ? -b.h : b.h), 1.0f, 1.0f, false);
}

} // namespace

GUILab::Button::Button(GLuint _icon, float x_, float y_, float w_, float h_)
    : pattern(0), position(0.0f, 0.0f), w(0.0f), h(0.0f), flip_x(false), flip_y(false), hide(false)
{
    pattern = _icon;
    Repos(x_, y_);
    Reshape(w_, h_);
}

void GUILab::Button::Repos(float x_, float y_) { position = vector2f(x_, y_); }

void GUILab::Button::Reshape(float _w, float _h)
{
    w = _w;
    h = _h;
}

void GUILab::Button::SetIcon(GLuint _icon) { pattern = _icon; }

bool GUILab::Button::isSelected() { return HitTest(*this); }

bool GUILab::Button::isPressed() { return GUILab_inf::touch && HitTest(*this); }

bool GUILab::Button::isClicked() { return GUILab_inf::s_touch && HitTest(*this); }

void GUILab::Button::Display()
{
    if (hide)
        return;
    BeginButtons();
    DrawButton(*this);
    EndButtons();
}

GUILab::GUILab() : background(0), x(0.0f), y(0.0f), w(0.0f), h(0.0f) { Instance(); }

GUILab::GUILab(const char* filepath) : GUILab() { Load(filepath); }

GUILab::~GUILab() { ReleaseGDI(); }

void GUILab::Instance()
{
    SetRegionFullScreen();
    background = 0;
}

bool GUILab::Load(const char* filepath)
{
    ReleaseGDI();
    if (filepath == nullptr)
        return false;
    FILE* f = std::fopen(filepath, "rb");
    if (f == nullptr)
        return false;

    PanelFileReader in(f);
    GLint max_size = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &max_size);

    // A damaged file keeps whatever came before the damage, whole, and reports false.
    bool whole = false;
    do {
        int32_t pictures = 0;
        if (!in.ReadInt32(&pictures) || pictures < 0)
            break;
        bool pictures_whole = true;
        for (int32_t i = 0; i < pictures; ++i) {
            int32_t size[2] = {0, 0};
            if (!in.ReadInt32(&size[0]) || !in.ReadInt32(&size[1])) {
                pictures_whole = false;
                break;
            }
            // The picture's bytes must be in the file before anything is made for them.
            int64_t bytes = PanelFile::PictureBytes(size[0], size[1]);
            if (bytes < 0 || bytes + static_cast<int64_t>(PanelFile::kNameBytes) > in.Remaining()) {
                pictures_whole = false;
                break;
            }
            // A picture the driver cannot hold is passed over, pixels unread: it
            // keeps its place in the list (as no texture), so the pictures and
            // buttons after it are still found by their indices.
            const bool fits = size[0] <= max_size && size[1] <= max_size;
            std::vector<unsigned char> pixels(fits ? static_cast<size_t>(bytes) : 0);
            unsigned char name[PanelFile::kNameBytes];
            if (!(fits ? in.Read(pixels.data(), bytes) : in.Skip(bytes)) || !in.Read(name, sizeof name)) {
                pictures_whole = false;
                break;
            }
            textures.push_back(fits ? CreatePictureTexture(size[0], size[1], bytes > 0 ? pixels.data() : nullptr) : 0);
        }
        if (!pictures_whole)
            break;

        int32_t background_index = 0;
        if (!in.ReadInt32(&background_index))
            break;
        background = GetTextureByIndex(background_index);

        int32_t count = 0;
        if (!in.ReadInt32(&count) || count < 0)
            break;
        int32_t read = 0;
        for (; read < count; ++read) {
            unsigned char record[PanelFile::kButtonRecordBytes];
            if (!in.Read(record, sizeof record))
                break;
            PanelFile::ButtonRecord r = PanelFile::DecodeButton(record);
            buttons.push_back(Button(0, 0.0f, 0.0f, 0.0f, 0.0f));
            Button& b = buttons.back();
            b.SetIcon(GetTextureByIndex(r.picture));
            b.Repos(r.x, r.y);
            b.Reshape(r.w, r.h);
            b.hide = r.hide;
        }
        whole = read == count;
    } while (false);

    std::fclose(f);
    return whole;
}

void GUILab::ReleaseGDI()
{
    for (GLuint& tex : textures) {
        if (glIsTexture(tex)) {
            // The name may be handed out again: neither the bind cache nor the
            // visible-bounds and polygon records may take the next texture for this one.
            ForgetPictureShape(tex);
            glDeleteTextures(1, &tex);
            ForgetBoundTexture();
            // A background taken from this panel's own pictures would otherwise
            // name a deleted texture, which a later texture may reuse.
            if (background == tex)
                background = 0;
        }
        tex = 0;
    }
    textures.clear();
    buttons.clear();
}

GLuint GUILab::GetTextureByIndex(int id)
{
    if (id < 0)
        return kNoTexture;
    int i = 0;
    for (GLuint tex : textures) {
        if (i == id)
            return tex;
        ++i;
    }
    return kNoTexture;
}

GUILab::Button* GUILab::GetButton(int id)
{
    if (id < 1)
        return nullptr;
    int i = 1;
    for (Button& b : buttons) {
        if (i == id)
            return &b;
        ++i;
    }
    return nullptr;
}

void GUILab::SetBackground(GLuint t_id) { background = t_id; }

void GUILab::SetRegionFullScreen() { x = y = w = h = 0.0f; }

void GUILab::SetRegion(float x_, float y_, float w_, float h_)
{
    x = x_;
    y = y_;
    w = w_;
    h = h_;
}

int GUILab::Event(int kind)
{
    using namespace GUILab_inf;
    const bool region = HasRegion(*this);
    const vector2f saved_cursor = cursor;
    const int saved_w = device_w;
    const int saved_h = device_h;
    if (region) {
        // The tests then see the region as the whole window; its origin is its
        // lower-left corner while the cursor's y runs downward.
        int dw = static_cast<int>(static_cast<float>(device_w) - w);
        int dh = static_cast<int>(static_cast<float>(device_h) - h);
        device_w -= dw;
        device_h -= dh;
        cursor.x -= x;
        cursor.y += y - static_cast<float>(dh);
    }

    int found = 0;
    int number = 1;
    for (Button& b : buttons) {
        bool hit = false;
        switch (kind) {
        case 1: hit = b.isSelected(); break;
        case 2: hit = b.isPressed(); break;
        case 3: hit = b.isClicked(); break;
        default: break;
        }
        if (hit)
            found = number;
        ++number;
    }

    if (region) {
        cursor = saved_cursor;
        device_w = saved_w;
        device_h = saved_h;
    }
    return found;
}

void GUILab::Display()
{
    const bool region = HasRegion(*this);
    if (region)
        glViewport(static_cast<GLint>(x), static_cast<GLint>(y), static_cast<GLsizei>(w), static_cast<GLsizei>(h));
    glDisable(GL_FOG);
    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);

    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0.0, 100.0, 0.0, 100.0, -1.0, 1.0);
    glMatrixMode(GL_MODELVIEW);
    glEnable(GL_TEXTURE_2D);
    glPushMatrix();
    glLoadIdentity();
    if (background != 0) {
        glPushMatrix();
        glTranslatef(50.0f, 50.0f, 0.0f);
        if (GUILab_inf::landscape)
            glRotatef(90.0f, 0.0f, 0.0f, 1.0f);
        BindTexture(background);
        glScalef(50.0f, 50.0f, 1.0f);
        DrawUnitQuad();
        glPopMatrix();
    }
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);

    BeginButtons();
    for (const Button& b : buttons)
        if (!b.hide)
            DrawButton(b);
    EndButtons();

    glEnable(GL_DEPTH_TEST);
    if (region)
        glViewport(0, 0, GUILab_inf::device_w, GUILab_inf::device_h);
}
