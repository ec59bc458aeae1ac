# Panels: the runtime against a real GL context.
bm_add_test(NAME panels_test SOURCES ${CMAKE_SOURCE_DIR}/tests/panels_test.cpp ${CMAKE_SOURCE_DIR}/tests/alloc_probe.cpp
            LIBS bm_engine bm_platform_fake LABELS panels)
# Pictures of the five panels for a person to check: <build>/panel_views/*.png.
add_test(NAME panel_views COMMAND panel_viewer ${CMAKE_BINARY_DIR}/panel_views WORKING_DIRECTORY ${CMAKE_BINARY_DIR})
set_tests_properties(panel_views PROPERTIES LABELS panels
  ENVIRONMENT "LSAN_OPTIONS=suppressions=${CMAKE_SOURCE_DIR}/tests/lsan.supp")
