# The asset store, textures, the drawing kit, and the tools that build Data/.
bm_add_test(NAME database_test SOURCES database_test.cpp alloc_probe.cpp LIBS bm_engine bm_platform_fake LABELS assets)
bm_add_test(NAME draw_test SOURCES draw_test.cpp LIBS bm_engine bm_platform_fake LABELS assets)
bm_add_test(NAME data_test SOURCES data_test.cpp LIBS bm_engine bm_platform_fake bm_texture_manifest bm_image_io LABELS assets)
target_compile_definitions(data_test PRIVATE BM_PACK_TEXTURES="$<TARGET_FILE:pack_textures>")
add_dependencies(data_test pack_textures)
bm_add_test(NAME texture_hull_test SOURCES texture_hull_test.cpp LIBS bm_engine bm_platform_fake LABELS assets)
