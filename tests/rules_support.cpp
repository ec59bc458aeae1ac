// The shared fixture of the rule, frame and screen tests (see rules_support.h).
#include "rules_support.h"

#include "engine/sound.h"
#include "game/frame.h"
#include "game/input.h"
#include "gl_context.h"
#include "platform/platform_fake.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace rules {

void Game::SetUp()
{
    static const std::string record = TempPath("dat.bin");
    if (record_path != record) { // once per process: the window, the sound and the loading step
        record_path = record.c_str();
        bm::EnsureGlContext(512, 512);
        bm::UseOffscreenCanvas();
        StartAudioOutput();
        init();
    }
    ASSERT_NE(gui.GetButton(121), nullptr) << "the tray file holds all its buttons";
    Sys::Fake::ReleaseAllKeys();
    Sys::Fake::SetFocus(true);
    show_menu = show_skills = show_credits = show_helps = developer_mode = false;
    mode = 0;
    NewGame();
    std::remove(record_path);
    user_record = 0;
    for (size_t i = 0; i < carrots.size(); ++i)
        carrots[i].position.x = 30.0f + 48.0f * static_cast<float>(i);
    for (bool& shown : show_hints)
        shown = true;
    PointAt(256.0f, 400.0f);
    Frames();
}

void Frames(int n)
{
    static uint32_t clock_ms = 1000;
    for (int i = 0; i < n; ++i) {
        Sys::Fake::SetMilliseconds(clock_ms += 50);
        display();
    }
}

bool FramesUntil(const std::function<bool()>& done, int limit)
{
    for (int i = 0; i < limit && !done(); ++i)
        Frames();
    return done();
}

// Every input the tests give goes through these four.
void PointAt(float x, float y) { mouse(static_cast<int>(x), static_cast<int>(512.0f - y)); }
void Press(bool down) { Sys::Fake::SetKey(Sys::Key::LeftButton, down); }
void ClickAt(float x, float y)
{
    PointAt(x, y);
    Press(true);
    Frames();
    Press(false);
    Frames();
}
void HoldKeys(const std::vector<Sys::Key>& keys)
{
    for (Sys::Key k : keys)
        Sys::Fake::SetKey(k, true);
    Frames();
    Sys::Fake::ReleaseAllKeys();
}

void PointAtButton(GUILab& panel, int id) { PointAt(panel.GetButton(id)->position.x, panel.GetButton(id)->position.y); }
void ClickButton(GUILab& panel, int id) { ClickAt(panel.GetButton(id)->position.x, panel.GetButton(id)->position.y); }

Rabbit& PutRabbit(float x, float target_x, Hole* hole)
{
    Rabbit& r = rabbits.emplace_back();
    r.position.x = x;
    r.target.x = target_x;
    r.hole = hole;
    return r;
}

float ButtonX(int tray_button) { return gui.GetButton(tray_button)->position.x; }
void ClearSlot(int slot) { AudioEngine.s[slot].Destroy(); }
bool SlotFired(int slot) { return AudioEngine.s[slot].alSource != 0; }

GLuint BoundTexture()
{
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    return static_cast<GLuint>(bound);
}

GLuint SolidTexture(unsigned char r, unsigned char g, unsigned char b)
{
    const unsigned char px[4] = {r, g, b, 255};
    GLuint t = 0;
    glGenTextures(1, &t);
    glBindTexture(GL_TEXTURE_2D, t);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, px);
    return t;
}

std::vector<int> Pixel(int x, int y)
{
    unsigned char p[4] = {0, 0, 0, 0};
    glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
    return {p[0], p[1], p[2]};
}

std::string TempPath(const char* name)
{
    static char folder[] = "/tmp/bm_rules_XXXXXX";
    static const bool made = mkdtemp(folder) && std::atexit([] { std::filesystem::remove_all(folder); }) == 0;
    if (!made)
        std::abort();
    return std::string(folder) + "/" + name;
}

std::vector<unsigned char> FileBytes(const std::string& path)
{
    char bytes[64]; // the files read here are records, and a device would never end
    std::ifstream in(path, std::ios::binary);
    in.read(bytes, sizeof bytes);
    return std::vector<unsigned char>(bytes, bytes + in.gcount());
}

void WriteFile(const std::string& path, const std::vector<unsigned char>& bytes)
{
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

} // namespace rules
