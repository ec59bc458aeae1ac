# The game's pictures: manifest, SVG sources, generator and the built store.
bm_add_test(NAME art_test SOURCES ${CMAKE_SOURCE_DIR}/tests/art_test.cpp LIBS bm_engine LABELS art)
target_compile_definitions(art_test PRIVATE ART_GEN_BIN="$<TARGET_FILE:art_gen>")
add_dependencies(art_test art_gen)
