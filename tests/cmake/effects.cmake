# Particle effects: the effect files and emitters, and the effects the game places.
bm_add_test(NAME lfx_test SOURCES ${CMAKE_SOURCE_DIR}/tests/lfx_test.cpp ${CMAKE_SOURCE_DIR}/tests/alloc_probe.cpp
            LIBS bm_game bm_engine bm_platform_fake LABELS effects)
bm_add_test(NAME fx_instances_test
  SOURCES ${CMAKE_SOURCE_DIR}/tests/fx_instances_test.cpp ${CMAKE_SOURCE_DIR}/tests/rules_support.cpp
  LIBS bm_game bm_engine bm_platform_fake LABELS effects)
