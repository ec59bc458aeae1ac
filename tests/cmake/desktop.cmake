# The game window as the desktop sees it: the X layer's hints and focus test with
# a real window, and the game under a real window manager.
bm_add_test(NAME platform_test SOURCES platform_test.cpp LIBS bm_platform_x11 GLUT::GLUT LABELS gl)
bm_add_script_test(NAME e2e_window_manager SCRIPT ${CMAKE_CURRENT_SOURCE_DIR}/e2e/window_manager.sh LABELS e2e)
