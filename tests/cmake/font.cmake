# The built bitmap font.
bm_add_test(NAME font_test SOURCES font_test.cpp alloc_probe.cpp LIBS bm_engine bm_platform_fake LABELS assets)
