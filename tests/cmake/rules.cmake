# The game's rules: holes, rabbits, carrots, eagles and the new game, on the real
# game loaded from Data/ with a real OpenGL context and the scriptable platform.
foreach(area holes rabbits carrots eagles new_game)
  bm_add_test(NAME ${area}_test SOURCES ${area}_test.cpp rules_support.cpp
              LIBS bm_game bm_engine bm_platform_fake LABELS rules)
endforeach()
