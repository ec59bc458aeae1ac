# The game's rules: holes, rabbits, carrots, eagles and the new game, driven frame
# by frame on a real OpenGL context with the fake platform.
foreach(area holes rabbits carrots eagles new_game)
  bm_add_test(NAME ${area}_test
    SOURCES ${area}_test.cpp rules_support.cpp
    LIBS bm_game bm_engine bm_platform_fake
    LABELS rules)
endforeach()
