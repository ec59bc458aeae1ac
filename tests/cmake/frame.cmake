# The loading step, the game frame and the screens through the real frame callback.
foreach(area loading game_frame screens)
  bm_add_test(NAME ${area}_test SOURCES ${area}_test.cpp rules_support.cpp
              LIBS bm_game bm_engine bm_platform_fake LABELS frame)
endforeach()
