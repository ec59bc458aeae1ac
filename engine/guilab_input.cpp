// The pointer state every panel reads, and the four updates that write it.
#include "engine/guilab.h"
#include "engine/startup_order.h"

namespace GUILab_inf {
vector2f cursor BM_INIT_ORDER(BM_ORDER_CURSOR);
bool landscape = false;
int device_w = 0;
int device_h = 0;
bool s_touch = false;
bool touch = false;
} // namespace GUILab_inf

void GUILab::inputPortrait(bool device_portrait) { GUILab_inf::landscape = !device_portrait; }

void GUILab::inputCursor(int x, int y) { GUILab_inf::cursor = vector2f(static_cast<float>(x), static_cast<float>(y)); }

void GUILab::inputTouch(bool event)
{
    GUILab_inf::s_touch = event && !GUILab_inf::touch;
    GUILab_inf::touch = event;
}

void GUILab::inputCaption(int w, int h)
{
    GUILab_inf::device_w = w;
    GUILab_inf::device_h = h;
}
