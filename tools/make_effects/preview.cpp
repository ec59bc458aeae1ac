// fx_preview: plays an ".lfx" effect in a window and saves chosen frames as PPM
// pictures, so an effect can be looked at while it is being tuned.
#include "engine/lfx.h"

#include <GL/freeglut.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

// Writes the 128 x 128 block of the window around the effect's source, magnified 2x.
bool SaveFrame(const std::string& path, int cx, int cy)
{
    const int half = 64;
    std::vector<unsigned char> px(static_cast<size_t>(half) * 2 * half * 2 * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(cx - half, cy - half, half * 2, half * 2, GL_RGB, GL_UNSIGNED_BYTE, px.data());
    FILE* f = fopen(path.c_str(), "wb");
    if (!f)
        return false;
    const int side = half * 4;
    fprintf(f, "P6\n%d %d\n255\n", side, side);
    for (int y = side - 1; y >= 0; --y)
        for (int x = 0; x < side; ++x)
            fwrite(&px[((y / 2) * half * 2 + x / 2) * 3], 1, 3, f);
    return fclose(f) == 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 7) {
        fprintf(stderr, "usage: fx_preview <effect.lfx> <scale> <speed> <frames> <every> <out prefix>\n");
        return 2;
    }
    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_DOUBLE | GLUT_RGBA);
    glutInitWindowSize(512, 512);
    glutCreateWindow("fx_preview");

    LumenarFX fx;
    if (!fx.load(argv[1])) {
        fprintf(stderr, "fx_preview: cannot load %s\n", argv[1]);
        return 1;
    }
    const float scale = static_cast<float>(atof(argv[2]));
    const float speed = static_cast<float>(atof(argv[3]));
    const int frames = atoi(argv[4]);
    const int every = atoi(argv[5]) > 0 ? atoi(argv[5]) : 1;
    const float dt = 1.0f / 60.0f;

    glViewport(0, 0, 512, 512);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, 512, 0, 512, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glEnable(GL_TEXTURE_2D);
    glReadBuffer(GL_BACK);
    for (int i = 0; i < frames; ++i) {
        // A dark meadow green, close to what the effects play over in the game.
        glClearColor(0.18f, 0.32f, 0.16f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
        fx.render(256, 256, 0, scale, dt * speed);
        if (i % every == 0) {
            char name[32];
            snprintf(name, sizeof name, "_%03d.ppm", i);
            if (!SaveFrame(argv[6] + std::string(name), 256, 256))
                return 1;
        }
        glutSwapBuffers();
    }
    printf("%s: finished %s\n", argv[1], fx.dead_animation() ? "yes" : "no");
    return 0;
}
