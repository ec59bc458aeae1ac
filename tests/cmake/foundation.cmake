# The numeric kit, input, the frame clock and the record file.
bm_add_test(NAME math_test SOURCES math_test.cpp LIBS bm_math LABELS unit)
bm_add_test(NAME record_test SOURCES record_test.cpp rules_support.cpp LIBS bm_game bm_engine bm_platform_fake LABELS unit)
bm_add_test(NAME input_test SOURCES input_test.cpp rules_support.cpp LIBS bm_game bm_engine bm_platform_fake LABELS gl)
bm_add_script_test(NAME foundation_window SCRIPT ${CMAKE_CURRENT_SOURCE_DIR}/e2e/foundation_window.sh LABELS e2e)
bm_add_script_test(NAME foundation_single_instance SCRIPT ${CMAKE_CURRENT_SOURCE_DIR}/e2e/foundation_single_instance.sh LABELS e2e)
bm_add_script_test(NAME foundation_fullscreen SCRIPT ${CMAKE_CURRENT_SOURCE_DIR}/e2e/foundation_fullscreen.sh LABELS e2e)
