// The order in which the game's global objects come into being before main():
// the panel cursor, the audio engine, the asset store, the panels, the effect
// lists and templates, then the world. Destruction runs in reverse. GCC orders
// objects across files by these priorities (lower first), so the order holds
// whichever file defines each object.
#pragma once

#define BM_INIT_ORDER(n) __attribute__((init_priority(n)))

#define BM_ORDER_WORKDIR 1001   // the executable moves to its own folder first
#define BM_ORDER_CURSOR 1002    // GUILab_inf::cursor
#define BM_ORDER_AUDIO 1003     // AudioEngine
#define BM_ORDER_DATABASE 1004  // Textures_db
#define BM_ORDER_PANELS 1005    // menu, skills, gui, credits, helps
#define BM_ORDER_CARROT_FX 1006 // __spawn_carrots_fx
#define BM_ORDER_FX 1007        // FX::point, FX::spawn, FX::cursor
#define BM_ORDER_SP_FX 1008     // SP_Fx
#define BM_ORDER_HOLES 1009     // holes[7]
#define BM_ORDER_WORLD 1010     // carrots, rabbits, eagles
