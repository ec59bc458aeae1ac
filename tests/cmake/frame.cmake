# The loading step, the game frame and the screens against a real GL context,
# the real Data/ and the scriptable platform.
foreach(area loading game_frame screens)
  bm_add_test(NAME ${area}_test SOURCES ${CMAKE_SOURCE_DIR}/tests/${area}_test.cpp
              LIBS bm_game bm_engine bm_platform_fake LABELS frame)
endforeach()
