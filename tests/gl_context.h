// A real OpenGL context for tests: one small GLUT window per test process.
#pragma once

#include "platform/keep_libraries.h"

#include <GL/freeglut.h>

namespace bm {

// Creates the window once; later calls only make sure it is current.
inline void EnsureGlContext(int width = 512, int height = 512)
{
    static int window = 0;
    if (window == 0) {
        int argc = 1;
        char name[] = "burrowmere-test";
        char* argv[] = {name, nullptr};
        glutInit(&argc, argv);
        glutInitDisplayMode(GLUT_DOUBLE | GLUT_RGBA | GLUT_DEPTH);
        glutInitWindowSize(width, height);
        glutInitWindowPosition(0, 0);
        window = glutCreateWindow("burrowmere-test");
        // Tests draw and swap themselves; freeglut still insists on a display callback.
        glutDisplayFunc([] {});
        Sys::KeepLoadedLibraries();
    }
    glutSetWindow(window);
}

} // namespace bm
