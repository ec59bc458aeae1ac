// Panels of textured buttons on the 512 x 512 virtual screen, loaded from panel
// files, with hover and click queries, plus the pointer state all panels read.
#pragma once

#include "math/vector2f.h"
#include <GL/gl.h>
#include <list>

// Pointer and window state shared by every panel, written once per focused frame.
namespace GUILab_inf {
extern vector2f cursor; // window pixels, x from the left, y from the top
extern bool landscape;
extern int device_w;
extern int device_h;
extern bool s_touch; // the button went down since the previous update
extern bool touch;   // the button is down
} // namespace GUILab_inf

class GUILab {
public:
    class Button {
    public:
        Button(GLuint _icon, float x, float y, float w, float h);

        void Repos(float x, float y);
        void Reshape(float _w, float _h);
        void SetIcon(GLuint _icon);
        bool isSelected();
        bool isPressed();
        bool isClicked();
        void Display();

        GLuint pattern;
        vector2f position;
        float w;
        float h;
        bool flip_x;
        bool flip_y;
        bool hide;
    };

    GUILab();
    explicit GUILab(const char* filepath);
    ~GUILab();
    GUILab(const GUILab&) = delete;
    GUILab& operator=(const GUILab&) = delete;

    void Instance();
    bool Load(const char* filepath);
    void ReleaseGDI();
    GLuint GetTextureByIndex(int id);
    Button* GetButton(int id);
    void SetBackground(GLuint t_id);
    void SetRegionFullScreen();
    void SetRegion(float x_, float y_, float w_, float h_);
    int Event(int kind);
    void Display();

    // The four input updates of the frame.
    static void inputPortrait(bool device_portrait);
    static void inputCursor(int x, int y);
    static void inputTouch(bool event);
    static void inputCaption(int w, int h);

    std::list<GLuint> textures;
    std::list<Button> buttons;
    GLuint background;
    float x, y, w, h;
};
