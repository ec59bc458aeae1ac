// A real OpenGL context for tests: one small GLUT window per test process.
#pragma once

#include "platform/keep_libraries.h"

#include <GL/freeglut.h>
#include <GL/glext.h>

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

// Frames draw into an off-screen target, so what they drew can be read back
// whatever covers the test window.
inline void UseOffscreenCanvas()
{
#define BM_GL_EXT(name, type) reinterpret_cast<type>(glutGetProcAddress(#name))
    static GLuint fbo = 0;
    if (fbo == 0) {
        GLuint rb[2];
        const GLenum format[2] = {GL_RGBA8, GL_DEPTH_COMPONENT24};
        const GLenum point[2] = {GL_COLOR_ATTACHMENT0_EXT, GL_DEPTH_ATTACHMENT_EXT};
        BM_GL_EXT(glGenFramebuffersEXT, PFNGLGENFRAMEBUFFERSEXTPROC)(1, &fbo);
        BM_GL_EXT(glBindFramebufferEXT, PFNGLBINDFRAMEBUFFEREXTPROC)(GL_FRAMEBUFFER_EXT, fbo);
        BM_GL_EXT(glGenRenderbuffersEXT, PFNGLGENRENDERBUFFERSEXTPROC)(2, rb);
        for (int i = 0; i < 2; ++i) {
            BM_GL_EXT(glBindRenderbufferEXT, PFNGLBINDRENDERBUFFEREXTPROC)(GL_RENDERBUFFER_EXT, rb[i]);
            BM_GL_EXT(glRenderbufferStorageEXT, PFNGLRENDERBUFFERSTORAGEEXTPROC)(GL_RENDERBUFFER_EXT, format[i], 512,
                                                                               512);
            BM_GL_EXT(glFramebufferRenderbufferEXT, PFNGLFRAMEBUFFERRENDERBUFFEREXTPROC)(GL_FRAMEBUFFER_EXT, point[i],
                                                                                       GL_RENDERBUFFER_EXT, rb[i]);
        }
        glViewport(0, 0, 512, 512);
    }
    glReadBuffer(GL_COLOR_ATTACHMENT0_EXT);
#undef BM_GL_EXT
}

} // namespace bm
