// Particle effects: the ".lfx" loader, and the emitters that spawn, move, fade and draw particles.
#include "engine/lfx.h"

#include "engine/sprite_batch.h"
#include "engine/texture_binding.h"

#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <system_error>
#include <vector>

namespace LFX {
float* watcher_x = nullptr;
float* watcher_y = nullptr;
float* watcher_z = nullptr;

void SetWatcher(float* x, float* y, float* z)
{
    watcher_x = x;
    watcher_y = y;
    watcher_z = z;
}
} // namespace LFX

namespace {

// A positional reader over the whole file. The first token that is missing or
// does not match makes every later read fail too, so the values after it keep
// what they had, exactly as if the file had ended there.
class TokenReader {
public:
    TokenReader(const char* begin, const char* end) : p_(begin), end_(end) {}

    bool failed() const { return failed_; }
    size_t Left() const { return static_cast<size_t>(end_ - p_); }

    bool AtEnd()
    {
        SkipSpace();
        return p_ == end_;
    }

    // Compares the next bytes with `text`, without skipping anything first.
    bool Literal(const char* text)
    {
        if (failed_)
            return false;
        size_t n = strlen(text);
        if (static_cast<size_t>(end_ - p_) < n || memcmp(p_, text, n) != 0)
            return Fail();
        p_ += n;
        return true;
    }

    bool Key(const char* key)
    {
        SkipSpace();
        return Literal(key);
    }

    // A decimal integer with an optional sign; values beyond 32 bits saturate.
    bool Int(int& out)
    {
        if (failed_)
            return false;
        SkipSpace();
        const char* q = p_;
        bool negative = false;
        if (q != end_ && (*q == '+' || *q == '-')) {
            negative = *q == '-';
            ++q;
        }
        if (q == end_ || !IsDigit(*q))
            return Fail();
        int64_t magnitude = 0;
        for (; q != end_ && IsDigit(*q); ++q) {
            if (magnitude <= INT64_C(1) << 32)
                magnitude = magnitude * 10 + (*q - '0');
        }
        p_ = q;
        if (negative)
            out = magnitude > INT64_C(2147483648) ? INT32_MIN : static_cast<int>(-magnitude);
        else
            out = magnitude > INT32_MAX ? INT32_MAX : static_cast<int>(magnitude);
        return true;
    }

    // Sign, digits, an optional fraction and an optional exponent, read the same
    // way whatever the process locale says about decimal points.
    bool Real(float& out)
    {
        if (failed_)
            return false;
        SkipSpace();
        const char* q = p_;
        bool negative = false;
        if (q != end_ && (*q == '+' || *q == '-')) {
            negative = *q == '-';
            ++q;
        }
        const char* number = q;
        int int_digits = 0, leading_zeros = 0, frac_zeros_before_digit = 0;
        bool seen_nonzero = false;
        for (; q != end_ && IsDigit(*q); ++q) {
            if (*q != '0')
                seen_nonzero = true;
            if (seen_nonzero)
                ++int_digits;
            else
                ++leading_zeros;
        }
        int frac_digits = 0;
        if (q != end_ && *q == '.') {
            ++q;
            for (; q != end_ && IsDigit(*q); ++q) {
                ++frac_digits;
                if (!seen_nonzero && int_digits == 0) {
                    if (*q == '0')
                        ++frac_zeros_before_digit;
                    else
                        seen_nonzero = true;
                }
            }
        }
        if (int_digits + leading_zeros + frac_digits == 0)
            return Fail();
        long exponent = 0;
        if (q != end_ && (*q == 'e' || *q == 'E')) {
            const char* e = q + 1;
            bool exp_negative = false;
            if (e != end_ && (*e == '+' || *e == '-')) {
                exp_negative = *e == '-';
                ++e;
            }
            if (e != end_ && IsDigit(*e)) {
                for (; e != end_ && IsDigit(*e); ++e) {
                    if (exponent < 100000)
                        exponent = exponent * 10 + (*e - '0');
                }
                if (exp_negative)
                    exponent = -exponent;
                q = e;
            }
        }
        double value = 0.0;
        std::from_chars_result r = std::from_chars(number, q, value, std::chars_format::general);
        if (r.ec == std::errc::result_out_of_range) {
            // Only the order of magnitude matters here: overflow or underflow.
            long magnitude = int_digits > 0 ? int_digits - 1 : -(frac_zeros_before_digit + 1);
            value = seen_nonzero && magnitude + exponent > 0 ? HUGE_VAL : 0.0;
        } else if (r.ec != std::errc() || r.ptr != q) {
            return Fail();
        }
        p_ = q;
        if (value > FLT_MAX)
            out = INFINITY;
        else
            out = static_cast<float>(value);
        if (negative)
            out = -out;
        return true;
    }

    void SkipSpace()
    {
        while (p_ != end_ && (*p_ == ' ' || *p_ == '\t' || *p_ == '\n' || *p_ == '\r' || *p_ == '\v' || *p_ == '\f'))
            ++p_;
    }

private:
    static bool IsDigit(char c) { return c >= '0' && c <= '9'; }
    bool Fail()
    {
        failed_ = true;
        return false;
    }

    const char* p_;
    const char* end_;
    bool failed_ = false;
};

void ReadVector(TokenReader& in, LumenarParticlesFX::Vector3d& v)
{
    in.Real(v.x);
    in.Real(v.y);
    in.Real(v.z);
}

void ReadColor(TokenReader& in, LumenarParticlesFX::ColorRGB& c)
{
    in.Real(c.r);
    in.Real(c.g);
    in.Real(c.b);
}

// Reads at most LfxFormat::kMaxFileBytes of the file; false if it cannot be opened.
bool ReadWholeFile(const char* path, std::vector<char>& out)
{
    FILE* f = fopen(path, "rb");
    if (!f)
        return false;
    out.clear();
    char chunk[65536];
    size_t got;
    while (out.size() < static_cast<size_t>(LfxFormat::kMaxFileBytes) && (got = fread(chunk, 1, sizeof chunk, f)) > 0) {
        size_t room = static_cast<size_t>(LfxFormat::kMaxFileBytes) - out.size();
        out.insert(out.end(), chunk, chunk + (got < room ? got : room));
    }
    fclose(f);
    return true;
}

int MaxTextureSize()
{
    GLint size = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &size);
    return size > 0 ? size : 4096;
}

// A lifetime, size or speed is taken as read, sign and all; only a value that is
// not a number, or beyond any size a frame could show (infinities included), is
// brought back: to 0, or to kMaxValue with its sign.
float Sane(float v)
{
    if (!(v == v))
        return 0.0f;
    if (v > LfxFormat::kMaxValue)
        return LfxFormat::kMaxValue;
    if (v < -LfxFormat::kMaxValue)
        return -LfxFormat::kMaxValue;
    return v;
}

// Reads one emitter block into `e`, which starts default-constructed. Returns
// false when the block asks for a texture the file could not describe; the
// caller then drops it and reads no further.
bool ReadBlock(TokenReader& in, LumenarParticlesFX& e)
{
    in.Key(LfxFormat::kTexture);
    in.Int(e.sizeX);
    in.Int(e.sizeY);
    in.Int(e.black_alpha);

    // Every pixel value takes at least one character of what is left of the
    // file, so a texture with more bytes than that is a lie: refused before
    // anything is allocated for it.
    const int64_t max_side = MaxTextureSize();
    if (e.sizeX < 0 || e.sizeY < 0 || e.sizeX > max_side || e.sizeY > max_side)
        return false;
    const int64_t bytes = static_cast<int64_t>(e.sizeX) * e.sizeY * 4;
    if (bytes > static_cast<int64_t>(in.Left()))
        return false;

    std::vector<unsigned char> pixels(static_cast<size_t>(bytes), 0);
    for (unsigned char& px : pixels) {
        int value = 0;
        in.Int(value);
        px = static_cast<unsigned char>(static_cast<unsigned>(value) & 0xFFu);
    }
    glGenTextures(1, &e.p_texture);
    glBindTexture(GL_TEXTURE_2D, e.p_texture);
    ForgetBoundTexture();
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, e.sizeX, e.sizeY, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                 pixels.empty() ? nullptr : pixels.data());
    RememberTexture(e.p_texture);

    in.Key(LfxFormat::kParticlesLimit);
    in.Int(e.p_limit);
    in.Key(LfxFormat::kSpawnTime);
    in.Real(e.spawn_time_min);
    in.Real(e.spawn_time_max);
    in.Key(LfxFormat::kSpawnParticles);
    in.Int(e.spawn_p_min);
    in.Int(e.spawn_p_max);
    in.Key(LfxFormat::kSpawnPosition);
    ReadVector(in, e.spawn_pos_min);
    ReadVector(in, e.spawn_pos_max);
    in.Key(LfxFormat::kSpawnDirection);
    ReadVector(in, e.spawn_dir_min);
    ReadVector(in, e.spawn_dir_max);
    in.Key(LfxFormat::kParticlesAcceleration);
    ReadVector(in, e.p_acceleration);
    in.Key(LfxFormat::kParticlesRotation);
    in.Real(e.p_rotation_min);
    in.Real(e.p_rotation_max);
    in.Key(LfxFormat::kParticleRandomRot);
    in.Int(e.p_rand_rot);
    in.Key(LfxFormat::kParticlesSpeed);
    in.Real(e.p_speed_min);
    in.Real(e.p_speed_max);
    in.Key(LfxFormat::kParticlesTimelife);
    in.Real(e.p_timelife_min);
    in.Real(e.p_timelife_max);
    in.Key(LfxFormat::kParticlesScale);
    in.Real(e.p_scale_min);
    in.Real(e.p_scale_max);
    in.Key(LfxFormat::kParticlesColorStart);
    ReadColor(in, e.p_color_s_min);
    ReadColor(in, e.p_color_s_max);
    in.Key(LfxFormat::kParticlesColorEnd);
    ReadColor(in, e.p_color_e_min);
    ReadColor(in, e.p_color_e_max);
    in.Key(LfxFormat::kBillboarding);
    in.Int(e.billboarding);
    in.Key(LfxFormat::kTimeDelay);
    in.Real(e.time_delay);
    in.Key(LfxFormat::kTimeStep);
    in.Real(e.total_time_simulation);
    in.Key(LfxFormat::kLoop);
    in.Int(e.loop);

    for (float* v : {&e.p_timelife_min, &e.p_timelife_max, &e.p_scale_min, &e.p_scale_max, &e.p_speed_min,
                     &e.p_speed_max})
        *v = Sane(*v);
    e.store_total_time_simulation = e.total_time_simulation;
    e.instance = true;
    return true;
}

float Percentage() { return static_cast<float>(rand() % 101); }

// Truncates toward zero and keeps the low eight bits; values far outside a
// colour's range are pinned first so the conversion is always defined.
GLubyte ColorByte(float v)
{
    if (!(v == v))
        return 0;
    if (v > 32767.0f)
        v = 32767.0f;
    if (v < -32768.0f)
        v = -32768.0f;
    return static_cast<GLubyte>(static_cast<unsigned>(static_cast<int>(v)) & 0xFFu);
}

// The size of a burst: the drawn point of the range truncated toward zero, never
// less than one particle. Worked out in whole numbers: the float blend lands just
// under the integer for some draws, and a "5 to 5" burst would then give 4.
int BurstSize(int min, int max, float draw)
{
    int64_t hundredths = static_cast<int64_t>(min) * 100 + (static_cast<int64_t>(max) - min) * static_cast<int64_t>(draw);
    int64_t n = hundredths / 100;
    if (n <= 0)
        return 1;
    return n > INT32_MAX ? INT32_MAX : static_cast<int>(n);
}

const GLfloat kParticleTexCoords[12] = {0, 1, 0, 0, 1, 1, 1, 1, 1, 0, 0, 0};

} // namespace

float LumenarParticlesFX::Vector3d::length() const { return std::sqrt(x * x + y * y + z * z); }

void LumenarParticlesFX::Vector3d::normalize()
{
    float len = length();
    if (len == 0.0f)
        return;
    x /= len;
    y /= len;
    z /= len;
}

LumenarParticlesFX::LumenarParticlesFX()
    : source_x(0), source_y(0), source_z(0), sizeX(0), sizeY(0), p_texture(0), black_alpha(0), p_rand_rot(0), loop(1), p_limit(999), spawn_time(0.02f),
      spawn_time_min(0.02f), spawn_time_max(0.02f), spawn_p(1), spawn_p_min(1), spawn_p_max(1), source{0, 0, 0},
      spawn_pos_min{0, 0, 0}, spawn_pos_max{0, 0, 0}, spawn_dir_min{0, 0, 0}, spawn_dir_max{0, 0, 0},
      p_acceleration{0, 0, 0}, p_rotation_min(0), p_rotation_max(0), p_speed_min(0), p_speed_max(0),
      p_timelife_min(0), p_timelife_max(0), p_scale_min(1), p_scale_max(1), p_color_s_min{255, 255, 255},
      p_color_s_max{255, 255, 255}, p_color_e_min{255, 255, 255}, p_color_e_max{255, 255, 255}, billboarding(3),
      lost_particles(0), instance(false), time_delay(0), total_time_simulation(0), store_total_time_simulation(0),
      time_elapsed(0), time_delay_elapsed(0), global_time_elapsed(0), first_spawn(true)
{
}

float LumenarParticlesFX::rate_interpole(float start, float end, float rate)
{
    return end / 100.0f * rate + start - start / 100.0f * rate;
}

float LumenarParticlesFX::get_rate(float val, float max)
{
    float rate = val * 100.0f / max;
    if (rate > 100.0f)
        rate = 100.0f;
    if (rate < 0.0f)
        rate = 0.0f;
    return rate;
}

void LumenarParticlesFX::render(float x, float y, float z, float simulation_scale, float simulation_time)
{
    if (!instance)
        return;
    source = {x, y, z};
    time_elapsed += simulation_time;
    time_delay_elapsed += simulation_time;
    if (time_delay_elapsed < time_delay)
        return;
    global_time_elapsed += simulation_time;

    bool may_spawn = total_time_simulation >= global_time_elapsed || loop != 0;
    if (may_spawn && (time_elapsed >= spawn_time || first_spawn)) {
        spawn_time = rate_interpole(spawn_time_min, spawn_time_max, Percentage());
        spawn_p = BurstSize(spawn_p_min, spawn_p_max, Percentage());
        time_elapsed = 0;
        first_spawn = false;
        spawn_particle(2.0f * simulation_scale);
    }

    glEnable(GL_BLEND);
    glDepthMask(GL_FALSE);
    // Opaque-looking textures blend over the scene; the others add their light to it.
    if (black_alpha != 0)
        SpriteBatch::SetBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    else
        SpriteBatch::SetBlendFunc(GL_SRC_ALPHA, GL_ONE);
    BindTexture(p_texture);

    particles.remove_if(dead_particle);

    for (Particle& p : particles) {
        p.dir.x += p_acceleration.x * simulation_time * simulation_scale;
        p.dir.y += p_acceleration.y * simulation_time * simulation_scale;
        p.dir.z += p_acceleration.z * simulation_time * simulation_scale;
        p.pos.x += p.dir.x * simulation_time;
        p.pos.y += p.dir.y * simulation_time;
        p.pos.z += p.dir.z * simulation_time;
        p.life -= simulation_time;

        float angle = p_rand_rot != 0 ? static_cast<float>(rand() % 360) : p.rot;
        float rate = get_rate(p.life, p.life_max);
        // Each component as the GL turns a colour byte into one.
        const GLfloat colour[4] = {ColorByte(rate_interpole(p.color_e.r, p.color_s.r, rate)) / 255.0f,
                                   ColorByte(rate_interpole(p.color_e.g, p.color_s.g, rate)) / 255.0f,
                                   ColorByte(rate_interpole(p.color_e.b, p.color_s.b, rate)) / 255.0f,
                                   ColorByte(rate_interpole(0, 255, rate)) / 255.0f};
        render_particle(Transform2D().Translated(p.pos.x, p.pos.y).Rotated(angle), p.pos.z, p.scale, colour);
    }
    // Every particle of the emitter is one draw; the colour is white after it.
    SpriteBatch::Flush();
    if (!particles.empty())
        DrawColor(1.0f, 1.0f, 1.0f, 1.0f);

    glDepthMask(GL_TRUE);
    glDisable(GL_BLEND);
}

void LumenarParticlesFX::spawn_particle(float scale)
{
    // A particle that finds the list full is dropped, but only after its draws:
    // the generator is shared with the whole game, so a skipped draw would change
    // every later carrot, eagle and effect. A hostile burst can ask for billions
    // of particles, though, so a burst is drawn for at most as many particles as
    // an emitter may hold: it never costs more than filling an empty list to the
    // brim, and every burst an ordinary effect asks for is drawn in full.
    const unsigned limit = static_cast<unsigned>(p_limit);
    const int count = spawn_p < LfxFormat::kMaxEmitterParticles ? spawn_p : LfxFormat::kMaxEmitterParticles;
    for (int i = 0; i < count; ++i) {
        Particle p;
        p.pos.x = 2.0f * scale * rate_interpole(spawn_pos_min.x, spawn_pos_max.x, Percentage()) + source.x;
        p.pos.y = 2.0f * scale * rate_interpole(spawn_pos_min.y, spawn_pos_max.y, Percentage()) + source.y;
        p.pos.z = 2.0f * scale * rate_interpole(spawn_pos_min.z, spawn_pos_max.z, Percentage()) + source.z;
        p.rot = rate_interpole(p_rotation_min, p_rotation_max, Percentage());
        p.dir.x = rate_interpole(spawn_dir_min.x, spawn_dir_max.x, Percentage());
        p.dir.y = rate_interpole(spawn_dir_min.y, spawn_dir_max.y, Percentage());
        p.dir.z = rate_interpole(spawn_dir_min.z, spawn_dir_max.z, Percentage());
        p.dir.normalize();
        p.speed = rate_interpole(p_speed_min, p_speed_max, Percentage()) * scale;
        p.dir.x *= p.speed;
        p.dir.y *= p.speed;
        p.dir.z *= p.speed;
        p.life = rate_interpole(p_timelife_min, p_timelife_max, Percentage());
        p.life_max = p.life;
        p.scale = rate_interpole(p_scale_min, p_scale_max, Percentage()) * scale;
        p.color_s.r = rate_interpole(p_color_s_min.r, p_color_s_max.r, Percentage());
        p.color_s.g = rate_interpole(p_color_s_min.g, p_color_s_max.g, Percentage());
        p.color_s.b = rate_interpole(p_color_s_min.b, p_color_s_max.b, Percentage());
        p.color_e.r = rate_interpole(p_color_e_min.r, p_color_e_max.r, Percentage());
        p.color_e.g = rate_interpole(p_color_e_min.g, p_color_e_max.g, Percentage());
        p.color_e.b = rate_interpole(p_color_e_min.b, p_color_e_max.b, Percentage());
        if (particles.size() < limit)
            particles.push_back(p);
    }
}

void LumenarParticlesFX::reset()
{
    particles.clear();
    time_elapsed = 0;
    time_delay_elapsed = 0;
    global_time_elapsed = 0;
    lost_particles = 0;
    first_spawn = true;
}

void LumenarParticlesFX::render_particle(const Transform2D& at, float z, float l, const GLfloat* colour)
{
    const GLfloat corners[12] = {-l, l, -l, -l, l, l, l, l, l, -l, -l, -l};
    GLfloat placed[12];
    for (int i = 0; i < 12; i += 2)
        at.Apply(corners[i], corners[i + 1], placed + i);
    SpriteBatch::Triangles(placed, kParticleTexCoords, 6, z, colour);
}

int LumenarParticlesFX::get_active_particles()
{
    int n = 0;
    for (const Particle& p : particles)
        if (p.life > 0)
            ++n;
    return n;
}

int LumenarParticlesFX::get_inactive_particles()
{
    int n = 0;
    for (const Particle& p : particles)
        if (p.life <= 0)
            ++n;
    return n;
}

float LumenarParticlesFX::Get3dDistance(float x, float y, float z, float a, float b, float c)
{
    float dx = x - a, dy = y - b, dz = z - c;
    return std::sqrt(dx * dx + dy * dy + dz * dz);
}

bool dead_particle(const LumenarParticlesFX::Particle& particle) { return particle.life <= 0; }

LumenarFX::LumenarFX() : turned_off(false) {}

bool LumenarFX::load(const char* path)
{
    std::vector<char> text;
    if (!path || !ReadWholeFile(path, text))
        return false;
    TokenReader in(text.data(), text.data() + text.size());
    int version = 0;
    if (!in.Literal(LfxFormat::kMagic) || !in.Key(LfxFormat::kVersionKey) || !in.Int(version) ||
        version != LfxFormat::kVersion)
        return false;

    FX.clear();
    unsigned budget = LfxFormat::kMaxEffectParticles;
    while (FX.size() < static_cast<size_t>(LfxFormat::kMaxEmitters) && !in.AtEnd()) {
        // Anything but the start of another block ends the effect, so stray
        // text after the last block cannot conjure up empty emitters.
        TokenReader probe = in;
        if (!probe.Key(LfxFormat::kTexture))
            break;
        FX.emplace_back();
        LumenarParticlesFX& e = FX.back();
        if (!ReadBlock(in, e)) {
            FX.pop_back();
            break;
        }
        // Each emitter keeps its own limit (a negative one compares as unsigned,
        // so it asks for the most an emitter may hold). Only the memory of the
        // whole effect is bounded too: limits adding up beyond that, which no
        // ordinary effect comes near, leave the later emitters what is left.
        unsigned limit = static_cast<unsigned>(e.p_limit);
        if (limit > static_cast<unsigned>(LfxFormat::kMaxEmitterParticles))
            limit = LfxFormat::kMaxEmitterParticles;
        if (limit > budget)
            limit = budget;
        e.p_limit = static_cast<int>(limit);
        budget -= limit;
        if (in.failed())
            break;
    }
    return true;
}

void LumenarFX::render(float x, float y, float z, float scale, float global_time)
{
    for (LumenarParticlesFX& e : FX)
        e.render(x, y, z, scale * 0.5f, global_time);
}

void LumenarFX::reset()
{
    for (LumenarParticlesFX& e : FX)
        e.reset();
}

bool LumenarFX::dead_animation()
{
    for (const LumenarParticlesFX& e : FX)
        if (!(e.global_time_elapsed > e.total_time_simulation) || !e.particles.empty())
            return false;
    return true;
}
